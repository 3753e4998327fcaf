"""The release's setup program and the user's guide it installs, shared by make-dist.py and the
installer tests: installer/calculate-checksums.nsi made into a 64-bit setup program by makensis
(Debian's nsis) from a folder holding the files it installs.

makensis writes the same bytes for the same files and script: the script stores no file times,
no configuration file of this machine is read, and the one time stamp, in the PE header, is the
one Debian built the setup stub with, fixed by the nsis package's version."""
import os
import re
import shutil
import subprocess

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SCRIPT = os.path.join(ROOT, "installer", "calculate-checksums.nsi")
ICON = os.path.join(ROOT, "app", "resources", "checksums.ico")
GUIDE = os.path.join(ROOT, "docs", "user-guide.txt")
GUIDE_NAME = "README.txt"
NSIS_DATA = "/usr/share/nsis"
# The stub of SetCompressor /SOLID lzma for Target amd64-unicode, as the script asks.
STUB = os.path.join(NSIS_DATA, "Stubs", "lzma_solid-amd64-unicode")


def installed_files():
    """The files the setup program takes from its folder: the script's one list of them."""
    with open(SCRIPT, encoding="utf-8") as script:
        text = script.read()
    listed = re.search(r"^!macro EACH_INSTALLED_FILE ACTION\n(.*?)^!macroend", text, re.M | re.S)
    return re.findall(r'^\s*!insertmacro \$\{ACTION\} "([^"]+)"$', listed.group(1), re.M)


def installer_tools():
    """Files of the packages that make the setup program: makensis and the stub it writes on."""
    return [shutil.which("makensis") or "makensis", STUB]


def setup_parts():
    """{package: [files]} of the setup tool's code that the setup program carries, for the
    notices."""
    package = subprocess.run(["dpkg-query", "-S", STUB], capture_output=True, text=True,
                             check=True).stdout.split(":", 1)[0]
    return {package: [os.path.relpath(STUB, NSIS_DATA), "Contrib/UIs/modern_smalldesc.exe"]}


def installer_name(version):
    return "calculate-checksums-%s-win64-setup.exe" % version


def write_user_guide(version, target):
    """The guide for Windows users, with the CRLF line ends Notepad and every editor there show."""
    with open(GUIDE, encoding="utf-8") as guide:
        text = guide.read().replace("@VERSION@", version)
    with open(target, "w", encoding="utf-8", newline="\r\n") as out:
        out.write(text)


def unpack(installer, folder):
    """Unpacks every file the setup program carries into folder with 7z, and those of each
    program among them that is a setup program too (the uninstaller): [path relative to folder],
    or None when it is no setup program."""
    if subprocess.run(["7z", "x", "-tNsis", "-y", "-o" + folder, installer],
                      stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                      stderr=subprocess.DEVNULL).returncode != 0:
        return None
    unpacked = []
    for base, _, names in sorted(os.walk(folder)):
        for name in sorted(names):
            path = os.path.join(base, name)
            unpacked.append(os.path.relpath(path, folder))
            inner = unpack(path, path + ".unpacked") if name.endswith(".exe") else None
            unpacked += [os.path.join(unpacked[-1] + ".unpacked", inner_name)
                         for inner_name in inner or []]
    return unpacked


def files_naming(installer, text, scratch):
    """The files the setup program carries whose bytes hold `text`, unpacked into scratch."""
    named = []
    unpacked = unpack(installer, scratch)
    if unpacked is None:
        raise SystemExit("release: 7z cannot unpack %s" % installer)
    for name in unpacked:
        with open(os.path.join(scratch, name), "rb") as unpacked:
            if text in unpacked.read():
                named.append(name)
    return named


def write_installer(version, folder, helper, target):
    """Makes the setup program of `version` from the installed files in `folder` and the setup
    helper it runs (setup-helper.exe)."""
    result = subprocess.run(
        ["makensis", "-NOCONFIG", "-V2", "-WX", "-DVERSION=" + version, "-DSOURCE=" + folder,
         "-DHELPER=" + helper, "-DICON=" + ICON, "-DOUTFILE=" + target, SCRIPT],
        stdin=subprocess.DEVNULL, capture_output=True, text=True)
    if result.returncode != 0:
        raise SystemExit("release: makensis failed (%d):\n%s%s"
                         % (result.returncode, result.stdout, result.stderr))
    return target
