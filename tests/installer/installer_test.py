#!/usr/bin/env python3
"""The setup program under Wine, as a user and a script meet it, each case in a fresh prefix of
its own (a copy of one prepared at the start): a silent install, then the files, keys, shortcuts
and PATH entry; the Explorer verb's command from the registry run on a file with a space and a
non-ASCII letter in its name, whose eleven fields must equal Python's hashlib and zlib;
checksums-cli from a new console; a newer version over the older, with the optional parts left
out, then repaired; a silent uninstall that leaves the prefix as it was, apart from what Wine
changes by itself. Then the user's PATH in every shape it comes in, kept byte for byte; an
upgrade and an uninstall refused while the program runs; and the check that the setup program
carries no build path, failing on one planted.

The steps of the first class share one prefix and run in order. The classes may be run apart,
in parallel, each selection working in a folder of its own.
Usage: installer_test.py VERSION WIN64_BUILD_DIR [CLASS...]
"""
import concurrent.futures
import hashlib
import json
import ntpath
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

VERSION, BUILD_DIR, CLASSES = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3:]
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
sys.path.insert(0, os.path.join(ROOT, "tests", "app"))
import release_installer  # noqa: E402
from make_window_fixture import digests  # noqa: E402  (hashlib and zlib, in the window's order)

WORK = os.path.join(BUILD_DIR, "-".join(["installer-test"] + CLASSES))
TEMPLATE = os.path.join(WORK, "template")
NEWER = "%s.%s.%d" % (*VERSION.split(".")[:2], int(VERSION.split(".")[2]) + 1)
USER = os.environ.get("USER") or "root"
WINDOWS_INSTALL_DIR = "C:\\users\\%s\\AppData\\Local\\Programs\\Calculate Checksums" % USER
UNINSTALL_KEY = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" \
                "CalculateChecksums"
VERB_KEY = "HKEY_CURRENT_USER\\Software\\Classes\\*\\shell\\CalculateChecksums"
ENVIRONMENT_KEY = "HKEY_CURRENT_USER\\Environment"
VERIFIER = "checksums-verify.exe"
VERIFY_FILE_KEY = "HKEY_CURRENT_USER\\Software\\Classes\\*\\shell\\VerifyChecksum"
FILE_TYPES = "HKEY_CURRENT_USER\\Software\\Classes\\SystemFileAssociations"
CREATE_FOLDER_KEY = "HKEY_CURRENT_USER\\Software\\Classes\\Directory\\shell\\CreateChecksums"
# The user's PATH before the install, of the type Windows gives it.
EARLIER_PATH = "C:\\existing;%USERPROFILE%\\bin"
SHOWN_FILE = "Prüfsumme Datei.bin"
WINESERVER = shutil.which("wineserver") or "/usr/lib/wine/wineserver"
# The exit code of a setup or uninstall that stopped before it changed anything.
STOPPED = 2
# The setup helper's answer when one of the programs runs from a folder.
PROGRAM_RUNNING = 14


class Prefix:
    """A fresh Wine prefix, copied from the template, with a persistent server of its own."""

    def __init__(self, name):
        self.folder = os.path.join(WORK, name)
        shutil.rmtree(self.folder, ignore_errors=True)
        subprocess.run(["cp", "-a", TEMPLATE, self.folder], check=True)
        self.environment = dict(os.environ, WINEPREFIX=self.folder, WINEARCH="win64",
                                WINEDEBUG="-all", WINEDLLOVERRIDES="winemenubuilder.exe=d",
                                LC_ALL="C.UTF-8")
        self.user_dir = os.path.join(self.folder, "drive_c", "users", USER)
        self.install_dir = os.path.join(self.user_dir, "AppData", "Local", "Programs",
                                        "Calculate Checksums")
        self.create_shortcuts = [
            os.path.join(self.user_dir, "AppData", "Roaming", "Microsoft", "Windows", folder,
                         "Create checksums file.lnk") for folder in ("SendTo", "Start Menu/Programs")]
        self.shortcuts, self.verifier_shortcuts = [
            [os.path.join(self.user_dir, "AppData", "Roaming", "Microsoft", "Windows", folder,
                          name) for folder in ("SendTo", "Start Menu/Programs")]
            for name in ("Calculate Checksums.lnk", "Verify Checksums.lnk")]
        self.start_server()

    def start_server(self):
        # One persistent server: each program then starts quickly. Wine's services, which the
        # first program starts, would hold a captured output open: they get none.
        subprocess.run([WINESERVER, "-p"], env=self.environment, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.start_wine("cmd", "/c", "exit 0")

    def stop(self):
        subprocess.run([WINESERVER, "-k"], env=self.environment)
        subprocess.run([WINESERVER, "-w"], env=self.environment)

    def remove(self):
        self.stop()
        shutil.rmtree(self.folder, ignore_errors=True)

    def wine(self, *arguments, stdin=b"", timeout=120):
        return subprocess.run(["wine", *arguments], env=self.environment, input=stdin,
                              capture_output=True, timeout=timeout)

    def start_wine(self, *arguments):
        """For programs that leave Wine's services running: they would hold captured output
        open."""
        return subprocess.run(["wine", *arguments], env=self.environment,
                              stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=120)

    def restart(self):
        """Wine's counterpart of a restart of the system, with a new persistent server."""
        self.stop()
        subprocess.run([WINESERVER, "-p"], env=self.environment, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.start_wine("wineboot", "-r")

    def finish_uninstall(self):
        """The uninstaller hands over to a copy of itself in the user's temporary folder and
        ends. The copy removes the installation, then asks for itself and its folder to be
        deleted at the next start of the system, which Wine's restart does."""
        pending = ("HKLM\\System\\CurrentControlSet\\Control\\Session Manager", "/v",
                   "PendingFileRenameOperations")
        for _ in range(600):
            if (not os.path.exists(self.install_dir) and
                    self.wine("reg", "query", *pending).returncode == 0):
                break
            time.sleep(0.1)
        else:
            raise AssertionError("the uninstaller did not finish")
        self.restart()

    def run_written_whole(self, program, arguments):
        """Runs a setup program or uninstaller with its command line as written, through a batch
        file: a folder after "/D=" or "_?=" goes unquoted, spaces and all, which no argument list
        passes. Its exit code."""
        batch = os.path.join(self.folder, "drive_c", "written-whole.cmd")
        with open(batch, "w", encoding="ascii", newline="\r\n") as out:
            out.write('@start "" /wait "%s" %s\nexit /b %%errorlevel%%\n' % (program, arguments))
        result = self.wine("cmd", "/c", "C:\\written-whole.cmd").returncode
        os.remove(batch)
        return result

    def uninstall_in_place(self, folder=WINDOWS_INSTALL_DIR):
        """The uninstaller run where it is, as a setup program runs an earlier one: it ends when
        it is done, with its exit code."""
        return self.run_written_whole(ntpath.join(folder, "uninstall.exe"), "/S _?=" + folder)

    def wait_until_running(self, program, seconds=120):
        """Whether `program` runs from the installation's folder within `seconds`. Wine's
        tasklist lists nothing: the helper's own answer tells."""
        helper = os.path.join(BUILD_DIR, "setup-helper.exe")
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            running = self.wine(helper, "running", WINDOWS_INSTALL_DIR, program)
            if running.returncode == PROGRAM_RUNNING:
                return True
            time.sleep(0.1)
        return False

    def show_window(self, program, file=""):
        """Title, fields and status as show-window.exe reads them from the live window."""
        result = self.wine(os.path.join(BUILD_DIR, "show-window.exe"), program, file, stdin=b"\n")
        lines = result.stdout.decode("utf-8").replace("\r\n", "\n").splitlines()
        assert result.returncode == 0, lines
        return lines

    def registry(self, roots=("HKCU", "HKLM")):
        """{key: {value name: text as exported}} of the given roots (or keys)."""
        keys = {}
        for root in roots:
            target = os.path.join(self.folder, "export.reg")
            result = self.wine("reg", "export", root, "Z:" + target.replace("/", "\\"), "/y")
            assert result.returncode == 0, result.stderr
            with open(target, encoding="utf-16") as export:
                text = re.sub(r"\\\n\s*", "", export.read())
            os.remove(target)
            current = None
            for line in text.splitlines():
                if line.startswith("[") and line.endswith("]"):
                    current = keys.setdefault(line[1:-1], {})
                elif current is not None and "=" in line:
                    name, value = re.match(r'^(@|"(?:[^"\\]|\\.)*")=(.*)$', line).groups()
                    current[name[1:-1] if name != "@" else name] = value
        return keys

    def environment_values(self):
        """{value name: as exported} of the user's environment."""
        return self.registry([ENVIRONMENT_KEY]).get(ENVIRONMENT_KEY, {})

    def import_values(self, key, values):
        """Writes {name: (type number, text)} under key, each exactly: a string of that type
        with its one NUL."""
        lines = ["Windows Registry Editor Version 5.00", "", "[%s]" % key]
        for name, (kind, text) in values.items():
            data = (text + "\0").encode("utf-16-le")
            lines.append('%s=hex(%d):%s' % ("@" if name == "@" else '"%s"' % name, kind,
                                           ",".join("%02x" % byte for byte in data)))
        target = os.path.join(self.folder, "import.reg")
        with open(target, "w", encoding="utf-16") as out:
            out.write("\r\n".join(lines) + "\r\n")
        result = self.wine("reg", "import", "Z:" + target.replace("/", "\\"))
        assert result.returncode == 0, result.stderr
        os.remove(target)

    def console_version(self):
        """What checksums-cli --version says in a new console, or None when it is not found."""
        result = self.wine("cmd", "/c", "checksums-cli --version")
        return result.stdout.decode().strip() if result.returncode == 0 else None


def make_template():
    """The prepared prefix every case copies: made once, with Wine's first-start work done."""
    os.makedirs(TEMPLATE)
    environment = dict(os.environ, WINEPREFIX=TEMPLATE, WINEARCH="win64", WINEDEBUG="-all",
                       WINEDLLOVERRIDES="winemenubuilder.exe=d", LC_ALL="C.UTF-8")
    subprocess.run(["wine", "wineboot", "-i"], env=environment, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True, timeout=300)
    # Wine draws its own caption when no window manager is asked to; without this every window
    # close stalls for two seconds on a bare display.
    subprocess.run(["wine", "reg", "add", "HKCU\\Software\\Wine\\X11 Driver", "/v", "Managed",
                    "/d", "N", "/f"], env=environment, capture_output=True, check=True)
    subprocess.run([WINESERVER, "-k"], env=environment)
    subprocess.run([WINESERVER, "-w"], env=environment)


def make_source(folder):
    """The files the setup program installs, from this build, the programs stripped as the
    release ships them (which also keeps the setup programs small and quick)."""
    os.makedirs(folder)
    with open(os.path.join(BUILD_DIR, "release-tools.json"), encoding="utf-8") as tools:
        objcopy = json.load(tools)["objcopy"]
    for program in ("checksums.exe", "checksums-cli.exe", VERIFIER):
        subprocess.run([objcopy, "--strip-all", os.path.join(BUILD_DIR, program),
                        os.path.join(folder, program)], check=True)
    shutil.copyfile(os.path.join(ROOT, "LICENSE"), os.path.join(folder, "LICENSE"))
    with open(os.path.join(folder, "THIRD-PARTY-NOTICES"), "w") as notices:
        notices.write("notices\n")
    release_installer.write_user_guide(VERSION, os.path.join(folder, "README.txt"))


def make_setup(version, source):
    return release_installer.write_installer(
        version, source, os.path.join(BUILD_DIR, "setup-helper.exe"),
        os.path.join(WORK, "setup-%s-%s.exe" % (os.path.basename(source), version)))


SOURCE = os.path.join(WORK, "source")
SETUP = {}


def setUpModule():
    if not os.environ.get("DISPLAY"):
        raise RuntimeError("run under scripts/wine-session.sh: the window needs a display")
    shutil.rmtree(WORK, ignore_errors=True)
    make_source(SOURCE)
    # The two setup programs are made while Wine makes the template.
    with concurrent.futures.ThreadPoolExecutor() as pool:
        made = {version: pool.submit(make_setup, version, SOURCE) for version in (VERSION, NEWER)}
        make_template()
        SETUP.update({version: future.result() for version, future in made.items()})


def tearDownModule():
    shutil.rmtree(WORK, ignore_errors=True)


def exported_text(value):
    """A REG_SZ or REG_EXPAND_SZ value of an export as text."""
    if value.startswith('"'):
        return value[1:-1].replace('\\"', '"').replace("\\\\", "\\")
    data = bytes.fromhex(value.split(":", 1)[1].replace(",", ""))
    return data.decode("utf-16-le").rstrip("\0")


def exported_type(value):
    return "REG_SZ" if value.startswith('"') or value.startswith("hex(1):") else \
        "REG_EXPAND_SZ" if value.startswith("hex(2):") else value.split(":", 1)[0]


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
        cls.prefix = prefix = Prefix("installer")
        prefix.import_values(ENVIRONMENT_KEY, {"Path": (2, EARLIER_PATH)})
        # Wine changes its registry by itself when it shows a window and when it restarts, and more
        # the first time: that is done before the snapshot, then measured, as the steps below
        # show windows and the uninstall ends with a restart.
        cls.show_a_window_and_restart()
        cls.files_before = files_below(os.path.join(prefix.folder, "drive_c"))
        cls.registry_before = prefix.registry()
        cls.show_a_window_and_restart()
        cls.wine_changes = registry_changes(cls.registry_before, prefix.registry())
        cls.console_before = prefix.console_version()
        result = prefix.wine(SETUP[VERSION], "/S")
        assert result.returncode == 0, result
        cls.installed = prefix.registry()

    @classmethod
    def show_a_window_and_restart(cls):
        cls.prefix.start_wine(os.path.join(BUILD_DIR, "show-window.exe"),
                              os.path.join(BUILD_DIR, "checksums.exe"))
        cls.prefix.restart()

    @classmethod
    def tearDownClass(cls):
        cls.prefix.remove()

    def test_1_silent_install_places_files_keys_shortcuts_and_path_entry(self):
        installed = sorted(os.listdir(self.prefix.install_dir))
        self.assertEqual(installed, sorted(release_installer.installed_files() +
                                           [VERIFIER, "uninstall.exe"]))
        for name in release_installer.installed_files():
            with open(os.path.join(self.prefix.install_dir, name), "rb") as a, \
                 open(os.path.join(SOURCE, name), "rb") as b:
                self.assertEqual(a.read(), b.read(), name)
        for shortcut in self.prefix.shortcuts + self.prefix.verifier_shortcuts:
            self.assertTrue(os.path.isfile(shortcut), shortcut)
        for shortcut in self.prefix.create_shortcuts:
            with open(shortcut, "rb") as link:
                self.assertIn("--create".encode("utf-16-le"), link.read(), shortcut)
        create = self.installed[CREATE_FOLDER_KEY]
        self.assertEqual(exported_text(create["@"]), "Create checksums file...")
        self.assertEqual(exported_text(self.installed[CREATE_FOLDER_KEY + "\\command"]["@"]),
                         '"%s\\%s" --create "%%1"' % (WINDOWS_INSTALL_DIR, VERIFIER))
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
        size = sum(os.path.getsize(os.path.join(self.prefix.install_dir, name)) for name in installed)
        estimated = int(self.installed[UNINSTALL_KEY]["EstimatedSize"].split(":")[1], 16)
        self.assertAlmostEqual(estimated, size / 1024, delta=len(installed))
        self.assertEqual(our_entries(self.installed), [UNINSTALL_KEY])

    def test_2_the_verb_shows_the_digests_of_a_file_named_with_a_space_and_an_umlaut(self):
        command = exported_text(self.installed[VERB_KEY + "\\command"]["@"])
        # Explorer puts the file's path for %1; the driver quotes it as the command does.
        program = re.fullmatch(r'"([^"]+)" "%1"', command).group(1)
        data = random.Random(7).randbytes(300001)
        shown = os.path.join(self.prefix.folder, SHOWN_FILE)
        with open(shown, "wb") as out:
            out.write(data)
        lines = self.prefix.show_window(program, "Z:" + shown.replace("/", "\\"))
        self.assertTrue(lines[0].endswith("Filename: " + SHOWN_FILE), lines[0])
        fields = [line.split()[-1] for line in lines[1:12]]
        self.assertEqual(fields, [digest.upper() for digest in digests(data)])

    def test_3_a_new_console_finds_the_companion_on_the_path(self):
        self.assertIsNone(self.console_before)
        self.assertEqual(self.prefix.console_version(),
                         "checksums-cli (Calculate Checksums) %s" % VERSION)

    def test_3_the_verify_verbs_open_verify_checksums_on_a_sums_file(self):
        keys = self.installed
        sums_verbs = [key for key in keys if key.startswith(FILE_TYPES + "\\.") and
                      key.endswith("\\shell\\VerifyChecksums\\command")]
        self.assertIn(FILE_TYPES + "\\.sha256\\shell\\VerifyChecksums\\command", sums_verbs)
        self.assertIn(FILE_TYPES + "\\.sha3-256\\shell\\VerifyChecksums\\command", sums_verbs)
        commands = {exported_text(keys[key]["@"]) for key in sums_verbs + [VERIFY_FILE_KEY +
                                                                           "\\command"]}
        self.assertEqual(commands, {'"%s\\%s" "%%1"' % (WINDOWS_INSTALL_DIR, VERIFIER)})
        # The file type's own default program is not taken.
        self.assertNotIn("HKEY_CURRENT_USER\\Software\\Classes\\.sha256", keys)
        self.assertNotIn("@", keys[FILE_TYPES + "\\.sha256"])
        data = random.Random(8).randbytes(5000)
        # Beside the prefix's drive: the uninstall below compares the drive with its first state.
        with open(os.path.join(self.prefix.folder, "setup.iso"), "wb") as out:
            out.write(data)
        sums = os.path.join(self.prefix.folder, "setup.iso.sha256")
        with open(sums, "w") as out:
            out.write(hashlib.sha256(data).hexdigest() + "  setup.iso\n")
        program = re.fullmatch(r'"([^"]+)" "%1"', commands.pop()).group(1)
        window = subprocess.Popen(["wine", program, "Z:" + sums.replace("/", "\\")],
                                  env=self.prefix.environment, stdin=subprocess.DEVNULL,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        helper = os.path.join(BUILD_DIR, "setup-helper.exe")
        # Started from the installation's folder and still up a second later: a window program
        # that did not stop on its argument. It is then asked to close, as taskkill without /f
        # asks, so that the upgrade below finds nothing running.
        try:
            self.assertTrue(self.prefix.wait_until_running(VERIFIER))
            time.sleep(1)
            self.assertIsNone(window.poll())
            self.assertEqual(self.prefix.wine(helper, "running", WINDOWS_INSTALL_DIR,
                                              VERIFIER).returncode, PROGRAM_RUNNING)
        finally:
            self.prefix.wine("taskkill", "/im", VERIFIER)
            self.assertEqual(window.wait(timeout=30), 0)

    def test_4_a_newer_version_replaces_the_older_and_the_same_again_repairs_it(self):
        self.prefix.wine(SETUP[NEWER], "/S", "/NOVERB", "/NOSENDTO", "/NOPATH")
        upgraded = self.prefix.registry()
        self.assertEqual(our_entries(upgraded), [UNINSTALL_KEY])
        self.assertEqual(exported_text(upgraded[UNINSTALL_KEY]["DisplayVersion"]), NEWER)
        self.assertNotIn(VERB_KEY, shell_keys(upgraded))
        self.assertEqual(exported_text(upgraded[ENVIRONMENT_KEY]["Path"]), EARLIER_PATH)
        self.assertEqual([os.path.isfile(shortcut) for shortcut in self.prefix.shortcuts], [False, True])
        os.remove(os.path.join(self.prefix.install_dir, "checksums-cli.exe"))
        self.prefix.wine(SETUP[NEWER], "/S")
        repaired = self.prefix.registry()
        self.assertEqual(our_entries(repaired), [UNINSTALL_KEY])
        self.assertIn(VERB_KEY, shell_keys(repaired))
        self.assertEqual(exported_text(repaired[ENVIRONMENT_KEY]["Path"]),
                         EARLIER_PATH + ";" + WINDOWS_INSTALL_DIR)
        self.assertTrue(all(os.path.isfile(shortcut) for shortcut in self.prefix.shortcuts))
        self.assertEqual(len(os.listdir(self.prefix.install_dir)),
                         len(release_installer.installed_files()) + 2)

    def test_5_a_silent_uninstall_leaves_the_prefix_as_it_was(self):
        quiet = exported_text(self.prefix.registry()[UNINSTALL_KEY]["QuietUninstallString"])
        program, switch = re.fullmatch(r'"([^"]+)" (/S)', quiet).groups()
        self.prefix.wine(program, switch)
        self.prefix.finish_uninstall()
        changed = registry_changes(self.registry_before, self.prefix.registry()) - self.wine_changes
        self.assertEqual(sorted(changed, key=str), [])
        files = files_below(os.path.join(self.prefix.folder, "drive_c"))
        # The system deletes the folder the uninstaller's copy ran in before the copy in it, so the
        # empty folder stays.
        left = {path: kind for path, kind in files.items() if self.files_before.get(path) != kind}
        self.assertTrue(all(re.fullmatch(r"users/[^/]+/Temp/~nsu\d*\.tmp", path) and
                            kind == "folder" for path, kind in left.items()), left)
        self.assertEqual([path for path in self.files_before if path not in files], [])


def long_path(length):
    """A PATH of `length` characters of plausible entries, spaces and variables among them."""
    text, number = "", 0
    while len(text) < length:
        text += ("C:\\Program Files\\Tool %d\\bin;" if number % 3 else "%%USERPROFILE%%\\t%d;") \
            % number
        number += 1
    return text[:length - 1] + "x"


REG_SZ, REG_EXPAND_SZ = 1, 2
# Wine 8 gives a new process only about the first 1,020 characters of a variable in the registry
# (measured), so a new console can find the companion only through a PATH shorter than that;
# Windows takes 32,767. Longer values are checked in the registry alone.
WINE_LONGEST_VARIABLE = 1000
# The user's PATH before the install: (type, text), or None for no Path at all.
PATH_CASES = {
    "absent": None,
    "short": (REG_EXPAND_SZ, EARLIER_PATH),
    "short_reg_sz": (REG_SZ, "C:\\existing;C:\\tools"),
    "1000_characters": (REG_EXPAND_SZ, long_path(1000)),
    "1023_characters": (REG_EXPAND_SZ, long_path(1023)),
    "2000_characters_reg_sz": (REG_SZ, long_path(2000)),
    "8000_characters": (REG_EXPAND_SZ, long_path(8000)),
    # Already there, in other spellings: nothing is added, and nothing taken away.
    "holding_the_entry": (REG_EXPAND_SZ, "C:\\a;" + WINDOWS_INSTALL_DIR.upper() + ";C:\\b"),
    "holding_the_entry_with_a_backslash": (REG_SZ, WINDOWS_INSTALL_DIR + "\\;C:\\b"),
}
TYPE_NAMES = {REG_SZ: "REG_SZ", REG_EXPAND_SZ: "REG_EXPAND_SZ"}


class UsersPath(unittest.TestCase):
    """The user's PATH in each shape: after the install it is the value before with the folder
    appended (or the folder alone, or unchanged when it holds the folder), of the same type; a
    new console then finds checksums-cli; after the uninstall the value is the same bytes as
    before, or gone when there was none. The shapes share one prefix, whose environment each
    case sets anew from the fresh prefix's: a copy of a prefix for each took most of the time."""
    maxDiff = None

    @classmethod
    def setUpClass(cls):
        cls.prefix = Prefix("path")
        type_numbers = {name: number for number, name in TYPE_NAMES.items()}
        cls.fresh = {name: (type_numbers[exported_type(value)], exported_text(value))
                     for name, value in cls.prefix.environment_values().items()}

    @classmethod
    def tearDownClass(cls):
        cls.prefix.remove()

    def set_environment(self, values):
        prefix = self.prefix
        self.assertEqual(prefix.wine("reg", "delete", ENVIRONMENT_KEY, "/f").returncode, 0)
        prefix.import_values(ENVIRONMENT_KEY, dict(self.fresh, **values))

    def check_install_and_uninstall(self, case, before, others=None):
        prefix = self.prefix
        values = dict(others or {})
        if before:
            values["Path"] = before
        self.set_environment(values)
        exported = prefix.environment_values()
        self.assertEqual(prefix.wine(SETUP[VERSION], "/S", "/NOVERB", "/NOSENDTO").returncode,
                         0)
        kind, text = before or (REG_EXPAND_SZ, "")
        holding = "holding" in case
        expected = text if holding else (text + ";" if text else "") + WINDOWS_INSTALL_DIR
        installed = prefix.environment_values()
        path = installed.get("Path", '""')
        self.assertEqual((exported_type(path), len(exported_text(path))),
                         (TYPE_NAMES[kind], len(expected)))
        self.assertEqual(exported_text(path), expected)
        self.assertEqual({name: value for name, value in installed.items() if name != "Path"},
                         {name: value for name, value in exported.items() if name != "Path"})
        if len(expected) < WINE_LONGEST_VARIABLE:
            self.assertEqual(prefix.console_version(),
                             "checksums-cli (Calculate Checksums) %s" % VERSION)
        self.assertEqual(prefix.uninstall_in_place(), 0)
        self.assertEqual(prefix.environment_values(), exported)

    def test_next_to_a_default_value(self):
        self.check_install_and_uninstall("default_value", (REG_EXPAND_SZ, EARLIER_PATH),
                                         {"@": (REG_SZ, "a default value"),
                                          "TEMP": (REG_EXPAND_SZ, "%USERPROFILE%\\Temp")})

    def test_a_folder_holding_the_separator_goes_on_in_quotes_and_comes_off_again(self):
        prefix = self.prefix
        self.set_environment({"Path": (REG_EXPAND_SZ, EARLIER_PATH)})
        exported = prefix.environment_values()
        folder = "C:\\users\\%s\\a;b\\Calculate Checksums" % USER
        setup = "Z:" + SETUP[VERSION].replace("/", "\\")
        self.assertEqual(prefix.run_written_whole(setup, "/S /NOVERB /NOSENDTO /D=" + folder),
                         0)
        self.assertEqual(exported_text(prefix.environment_values()["Path"]),
                         '%s;"%s"' % (EARLIER_PATH, folder))
        self.assertEqual(prefix.uninstall_in_place(folder), 0)
        self.assertEqual(prefix.environment_values(), exported)


def path_case(case, before):
    return lambda self: self.check_install_and_uninstall(case, before)


for case_name, case_before in PATH_CASES.items():
    setattr(UsersPath, "test_" + case_name, path_case(case_name, case_before))


class RunningProgram(unittest.TestCase):
    """While checksums.exe runs from the installation, a silent upgrade and a silent uninstall
    end with STOPPED and change nothing; once it is closed, both succeed."""

    def snapshot(self):
        return (files_below(os.path.join(self.prefix.folder, "drive_c", "users")),
                self.prefix.registry(["HKCU"]))

    def test_upgrade_and_uninstall_wait_for_the_program_to_close(self):
        self.prefix = prefix = Prefix("running")
        try:
            self.assertEqual(prefix.wine(SETUP[VERSION], "/S").returncode, 0)
            program = subprocess.Popen(
                ["wine", os.path.join(prefix.install_dir, "checksums.exe")], env=prefix.environment,
                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            self.assertTrue(prefix.wait_until_running("checksums.exe"))
            before = self.snapshot()
            self.assertEqual(prefix.wine(SETUP[NEWER], "/S").returncode, STOPPED)
            self.assertEqual(prefix.uninstall_in_place(), STOPPED)
            self.assertEqual(self.snapshot(), before)
            prefix.wine("taskkill", "/im", "checksums.exe")
            program.wait(timeout=30)
            self.assertEqual(prefix.wine(SETUP[NEWER], "/S").returncode, 0)
            self.assertEqual(exported_text(prefix.registry(["HKCU"])[UNINSTALL_KEY]
                                           ["DisplayVersion"]), NEWER)
            self.assertEqual(prefix.uninstall_in_place(), 0)
            self.assertEqual(os.listdir(prefix.install_dir), ["uninstall.exe"])
        finally:
            prefix.remove()


class BuildPath(unittest.TestCase):
    """The release check that no file the setup program carries names the folder it was built
    in reads the unpacked files: it finds a build path planted in one of them."""

    def test_a_planted_build_path_is_found_in_the_unpacked_setup_program(self):
        planted = os.path.join(WORK, "planted")
        make_source(planted)
        with open(os.path.join(planted, "README.txt"), "a", encoding="utf-8") as guide:
            guide.write("Built in %s\n" % ROOT)
        with tempfile.TemporaryDirectory() as scratch:
            self.assertEqual(release_installer.files_naming(make_setup(VERSION, planted),
                                                            ROOT.encode(), scratch),
                             ["README.txt"])
        with tempfile.TemporaryDirectory() as scratch:
            self.assertEqual(release_installer.files_naming(SETUP[VERSION], ROOT.encode(),
                                                            scratch), [])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1] + CLASSES, verbosity=2)
