#!/usr/bin/env python3
"""The setup program under Wine, in a fresh prefix of this test's own, as a user and a script
meet it: a silent install, then the files, keys, shortcuts and PATH entry; the Explorer verb's
command from the registry run on a file with a space and a non-ASCII letter in its name, whose
eleven fields must equal Python's hashlib and zlib; checksums-cli from a new console; a newer
version over the older, with the optional parts left out, then repaired; and a silent uninstall
that leaves the prefix as it was, apart from what Wine changes by itself.

The steps share one prefix and run in order. Usage: installer_test.py VERSION WIN64_BUILD_DIR
"""
import concurrent.futures
import hashlib
import os
import random
import re
import shutil
import subprocess
import sys
import time
import unittest

VERSION, BUILD_DIR = sys.argv[1], os.path.abspath(sys.argv[2])
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
sys.path.insert(0, os.path.join(ROOT, "tests", "app"))
import release_installer  # noqa: E402
from make_window_fixture import digests  # noqa: E402  (hashlib and zlib, in the window's order)

WORK = os.path.join(BUILD_DIR, "installer-test")
PREFIX = os.path.join(WORK, "prefix")
NEWER = "%s.%s.%d" % (*VERSION.split(".")[:2], int(VERSION.split(".")[2]) + 1)
USER = os.environ.get("USER") or "root"
USER_DIR = os.path.join(PREFIX, "drive_c", "users", USER)
INSTALL_DIR = os.path.join(USER_DIR, "AppData", "Local", "Programs", "Calculate Checksums")
WINDOWS_INSTALL_DIR = "C:\\users\\%s\\AppData\\Local\\Programs\\Calculate Checksums" % USER
SHORTCUTS = [os.path.join(USER_DIR, "AppData", "Roaming", "Microsoft", "Windows", folder,
                          "Calculate Checksums.lnk") for folder in ("SendTo", "Start Menu/Programs")]
UNINSTALL_KEY = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" \
                "CalculateChecksums"
VERB_KEY = "HKEY_CURRENT_USER\\Software\\Classes\\*\\shell\\CalculateChecksums"
ENVIRONMENT_KEY = "HKEY_CURRENT_USER\\Environment"
# The user's PATH before the install, of the type Windows gives it.
EARLIER_PATH = "C:\\existing;%USERPROFILE%\\bin"
SHOWN_FILE = "Prüfsumme Datei.bin"
ENVIRONMENT = dict(os.environ, WINEPREFIX=PREFIX, WINEARCH="win64", WINEDEBUG="-all",
                   WINEDLLOVERRIDES="winemenubuilder.exe=d", LC_ALL="C.UTF-8")
WINESERVER = shutil.which("wineserver") or "/usr/lib/wine/wineserver"


def wine(*arguments, stdin=b"", timeout=120):
    return subprocess.run(["wine", *arguments], env=ENVIRONMENT, input=stdin,
                          capture_output=True, timeout=timeout)


def start_wine(*arguments):
    """For programs that leave Wine's services running: they would hold captured output open."""
    return subprocess.run(["wine", *arguments], env=ENVIRONMENT, stdin=subprocess.DEVNULL,
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)


def finish_uninstall():
    """The uninstaller hands over to a copy of itself in the user's temporary folder and ends.
    The copy removes the installation, then asks for itself and its folder to be deleted at the
    next start of the system, which Wine's restart does."""
    pending = ("HKLM\\System\\CurrentControlSet\\Control\\Session Manager", "/v",
               "PendingFileRenameOperations")
    for _ in range(600):
        if not os.path.exists(INSTALL_DIR) and wine("reg", "query", *pending).returncode == 0:
            break
        time.sleep(0.1)
    else:
        raise AssertionError("the uninstaller did not finish")
    restart_wine()


def restart_wine():
    """Wine's counterpart of a restart of the system, with a new persistent server."""
    subprocess.run([WINESERVER, "-k"], env=ENVIRONMENT)
    subprocess.run([WINESERVER, "-w"], env=ENVIRONMENT)
    subprocess.run([WINESERVER, "-p"], env=ENVIRONMENT, check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    start_wine("wineboot", "-r")


def show_window(program, file=""):
    """Title, fields and status as show-window.exe reads them from the live window."""
    result = wine(os.path.join(BUILD_DIR, "show-window.exe"), program, file, stdin=b"\n")
    lines = result.stdout.decode("utf-8").replace("\r\n", "\n").splitlines()
    assert result.returncode == 0, lines
    return lines


def registry():
    """{key: {value name: text as exported}} of HKCU and HKLM."""
    keys = {}
    for root in ("HKCU", "HKLM"):
        target = os.path.join(WORK, "export.reg")
        result = wine("reg", "export", root, "Z:" + target.replace("/", "\\"), "/y")
        assert result.returncode == 0, result.stderr
        with open(target, encoding="utf-16") as export:
            text = re.sub(r"\\\n\s*", "", export.read())
        current = None
        for line in text.splitlines():
            if line.startswith("[") and line.endswith("]"):
                current = keys.setdefault(line[1:-1], {})
            elif current is not None and "=" in line:
                name, value = re.match(r'^(@|"(?:[^"\\]|\\.)*")=(.*)$', line).groups()
                current[name[1:-1] if name != "@" else name] = value
    return keys


def exported_text(value):
    """A REG_SZ or REG_EXPAND_SZ value of an export as text."""
    if value.startswith('"'):
        return value[1:-1].replace('\\"', '"').replace("\\\\", "\\")
    data = bytes.fromhex(value.split(":", 1)[1].replace(",", ""))
    return data.decode("utf-16-le").rstrip("\0")


def files_below(folder):
    """Every path below folder, with the SHA-256 of each file below users/ and the size of the
    others (Wine's own)."""
    listing = {}
    for base, folders, names in os.walk(folder):
        for name in folders:
            listing[os.path.relpath(os.path.join(base, name), folder)] = "folder"
        for name in names:
            path = os.path.join(base, name)
            if os.path.islink(path) or not os.path.isfile(path):
                listing[os.path.relpath(path, folder)] = "other"
                continue
            relative = os.path.relpath(path, folder)
            if not relative.startswith("users" + os.sep):
                listing[relative] = os.path.getsize(path)
                continue
            with open(path, "rb") as data:
                listing[relative] = hashlib.sha256(data.read()).hexdigest()
    return listing


def registry_changes(before, after):
    """(key, value name) of every value that differs, (key, None) of every key only in one."""
    changes = {(key, None) for key in set(before) ^ set(after)}
    for key in set(before) & set(after):
        changes |= {(key, name) for name in set(before[key]) | set(after[key])
                    if before[key].get(name) != after[key].get(name)}
    return changes


def shell_keys(keys):
    return [key for key in keys if "\\shell\\" in key]


def our_entries(keys):
    """The uninstall entries of Calculate Checksums, wherever Wine keeps them."""
    return [key for key, values in keys.items() if "\\Uninstall\\" in key and
            exported_text(values.get("DisplayName", '""')) == "Calculate Checksums"]


class Installer(unittest.TestCase):
    maxDiff = None
    @classmethod
    def setUpClass(cls):
        if not os.environ.get("DISPLAY"):
            raise RuntimeError("run under scripts/wine-session.sh: the window needs a display")
        shutil.rmtree(WORK, ignore_errors=True)
        source = os.path.join(WORK, "source")
        os.makedirs(source)
        for program in ("checksums.exe", "checksums-cli.exe"):
            shutil.copyfile(os.path.join(BUILD_DIR, program), os.path.join(source, program))
        shutil.copyfile(os.path.join(ROOT, "LICENSE"), os.path.join(source, "LICENSE"))
        with open(os.path.join(source, "THIRD-PARTY-NOTICES"), "w") as notices:
            notices.write("notices\n")
        release_installer.write_user_guide(VERSION, os.path.join(source, "README.txt"))
        cls.source = source
        # The two setup programs are made while Wine makes the prefix.
        with concurrent.futures.ThreadPoolExecutor() as pool:
            made = {version: pool.submit(release_installer.write_installer, version, source,
                                         os.path.join(WORK, "setup-%s.exe" % version))
                    for version in (VERSION, NEWER)}
            os.makedirs(PREFIX)
            # One persistent server for the whole test: each program then starts quickly.
            subprocess.run([WINESERVER, "-p"], env=ENVIRONMENT, check=True,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            assert start_wine("wineboot", "-i").returncode == 0
            cls.setup = {version: future.result() for version, future in made.items()}
        wine("reg", "add", "HKCU\\Environment", "/v", "Path", "/t", "REG_EXPAND_SZ", "/d",
             EARLIER_PATH, "/f")
        # Wine changes its registry by itself when it shows a window and when it restarts, and more
        # the first time: that is done before the snapshot, then measured, as the steps below
        # show windows and the uninstall ends with a restart.
        cls.show_a_window_and_restart()
        cls.files_before = files_below(os.path.join(PREFIX, "drive_c"))
        cls.registry_before = registry()
        cls.show_a_window_and_restart()
        cls.wine_changes = registry_changes(cls.registry_before, registry())
        cls.console_before = wine("cmd", "/c", "checksums-cli --version")
        result = wine(cls.setup[VERSION], "/S")
        assert result.returncode == 0, result
        cls.installed = registry()

    @staticmethod
    def show_a_window_and_restart():
        start_wine(os.path.join(BUILD_DIR, "show-window.exe"),
                   os.path.join(BUILD_DIR, "checksums.exe"))
        restart_wine()

    @classmethod
    def tearDownClass(cls):
        subprocess.run([WINESERVER, "-k"], env=ENVIRONMENT)
        subprocess.run([WINESERVER, "-w"], env=ENVIRONMENT)

    def test_1_silent_install_places_files_keys_shortcuts_and_path_entry(self):
        installed = sorted(os.listdir(INSTALL_DIR))
        self.assertEqual(installed, sorted(release_installer.installed_files() + ["uninstall.exe"]))
        for name in release_installer.installed_files():
            with open(os.path.join(INSTALL_DIR, name), "rb") as a, \
                 open(os.path.join(self.source, name), "rb") as b:
                self.assertEqual(a.read(), b.read(), name)
        for shortcut in SHORTCUTS:
            self.assertTrue(os.path.isfile(shortcut), shortcut)
        program = WINDOWS_INSTALL_DIR + "\\checksums.exe"
        verb = self.installed[VERB_KEY]
        self.assertEqual(exported_text(verb["@"]), "Calculate Checksums")
        self.assertEqual(exported_text(verb["Icon"]), program + ",0")
        path = exported_text(self.installed[ENVIRONMENT_KEY]["Path"])
        self.assertEqual(path, EARLIER_PATH + ";" + WINDOWS_INSTALL_DIR)
        self.assertTrue(self.installed[ENVIRONMENT_KEY]["Path"].startswith("hex(2):"))
        entry = {name: exported_text(value) for name, value in
                 self.installed[UNINSTALL_KEY].items() if value.startswith('"')}
        self.assertEqual((entry["DisplayVersion"], entry["Publisher"], entry["DisplayIcon"]),
                         (VERSION, "Calculate Checksums developers", program + ",0"))
        self.assertEqual(entry["QuietUninstallString"],
                         '"%s\\uninstall.exe" /S' % WINDOWS_INSTALL_DIR)
        size = sum(os.path.getsize(os.path.join(INSTALL_DIR, name)) for name in installed)
        estimated = int(self.installed[UNINSTALL_KEY]["EstimatedSize"].split(":")[1], 16)
        self.assertAlmostEqual(estimated, size / 1024, delta=len(installed))
        self.assertEqual(our_entries(self.installed), [UNINSTALL_KEY])

    def test_2_the_verb_shows_the_digests_of_a_file_named_with_a_space_and_an_umlaut(self):
        command = exported_text(self.installed[VERB_KEY + "\\command"]["@"])
        # Explorer puts the file's path for %1; the driver quotes it as the command does.
        program = re.fullmatch(r'"([^"]+)" "%1"', command).group(1)
        data = random.Random(7).randbytes(300001)
        shown = os.path.join(WORK, SHOWN_FILE)
        with open(shown, "wb") as out:
            out.write(data)
        lines = show_window(program, "Z:" + shown.replace("/", "\\"))
        self.assertTrue(lines[0].endswith("Filename: " + SHOWN_FILE), lines[0])
        fields = [line.split()[-1] for line in lines[1:12]]
        self.assertEqual(fields, [digest.upper() for digest in digests(data)])

    def test_3_a_new_console_finds_the_companion_on_the_path(self):
        self.assertNotEqual(self.console_before.returncode, 0)
        result = wine("cmd", "/c", "checksums-cli --version")
        self.assertEqual(result.stdout.decode().strip(),
                         "checksums-cli (Calculate Checksums) %s" % VERSION)

    def test_4_a_newer_version_replaces_the_older_and_the_same_again_repairs_it(self):
        wine(self.setup[NEWER], "/S", "/NOVERB", "/NOSENDTO", "/NOPATH")
        upgraded = registry()
        self.assertEqual(our_entries(upgraded), [UNINSTALL_KEY])
        self.assertEqual(exported_text(upgraded[UNINSTALL_KEY]["DisplayVersion"]), NEWER)
        self.assertNotIn(VERB_KEY, shell_keys(upgraded))
        self.assertEqual(exported_text(upgraded[ENVIRONMENT_KEY]["Path"]), EARLIER_PATH)
        self.assertEqual([os.path.isfile(shortcut) for shortcut in SHORTCUTS], [False, True])
        os.remove(os.path.join(INSTALL_DIR, "checksums-cli.exe"))
        wine(self.setup[NEWER], "/S")
        repaired = registry()
        self.assertEqual(our_entries(repaired), [UNINSTALL_KEY])
        self.assertIn(VERB_KEY, shell_keys(repaired))
        self.assertEqual(exported_text(repaired[ENVIRONMENT_KEY]["Path"]),
                         EARLIER_PATH + ";" + WINDOWS_INSTALL_DIR)
        self.assertTrue(all(os.path.isfile(shortcut) for shortcut in SHORTCUTS))
        self.assertEqual(len(os.listdir(INSTALL_DIR)), len(release_installer.installed_files()) + 1)

    def test_5_a_silent_uninstall_leaves_the_prefix_as_it_was(self):
        quiet = exported_text(registry()[UNINSTALL_KEY]["QuietUninstallString"])
        program, switch = re.fullmatch(r'"([^"]+)" (/S)', quiet).groups()
        wine(program, switch)
        finish_uninstall()
        changed = registry_changes(self.registry_before, registry()) - self.wine_changes
        self.assertEqual(sorted(changed, key=str), [])
        files = files_below(os.path.join(PREFIX, "drive_c"))
        # The system deletes the folder the uninstaller's copy ran in before the copy in it, so the
        # empty folder stays.
        left = {path: kind for path, kind in files.items() if self.files_before.get(path) != kind}
        self.assertTrue(all(re.fullmatch(r"users/[^/]+/Temp/~nsu\d*\.tmp", path) and
                            kind == "folder" for path, kind in left.items()), left)
        self.assertEqual([path for path in self.files_before if path not in files], [])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
