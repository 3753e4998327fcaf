#!/usr/bin/env python3
"""Writes the release into OUTPUT_DIR, from the three programs of a Windows build:

calculate-checksums-VERSION-win64.zip holds one folder, calculate-checksums-VERSION/, with the three
programs stripped, README.txt (the guide for Windows users, docs/user-guide.txt), LICENSE,
THIRD-PARTY-NOTICES (the notices of the toolchain's libraries linked into the programs),
calculate-checksums-VERSION.spdx.json (the bill of materials) and SHA256SUMS of all of these,
written by our own checksums-cli.exe under Wine.

calculate-checksums-VERSION-win64-debug.zip holds the programs' debug information, the .debug
files their debug links name, in a folder of the same name: unpacked beside the programs, a
debugger or addr2line finds them.

calculate-checksums-VERSION-win64-setup.exe installs the programs, the guide, the licence and the
notices for the current user (installer/calculate-checksums.nsi), with the helper it runs
(setup-helper.exe, stripped, carried but not installed). The bill of materials names it
too, and a copy of it sits beside the archives, with SHA256SUMS of all four.

Every byte follows from the commit: the one time used (PE time stamps, zip entries, the bill of
materials) is SOURCE_DATE_EPOCH, or else the commit's time; entries have a fixed order and fixed
attributes; the setup program stores no time at all. The release checks
(tests/release/release_files_test.py) run on the very files packed before any archive is written.

Usage: make-dist.py VERSION WIN64_BUILD_DIR OUTPUT_DIR
"""
import json
import os
import shutil
import stat
import subprocess
import sys
import tempfile
import time
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import release_installer  # noqa: E402
import release_inventory  # noqa: E402

WINE_RUN = os.path.join(ROOT, "scripts", "wine-run.sh")
RELEASE_CHECKS = os.path.join(ROOT, "tests", "release", "release_files_test.py")
PROGRAMS = ["checksums.exe", "checksums-cli.exe", "checksums-verify.exe"]
# Carried by the setup program, not installed: it edits the user's PATH and finds running programs.
SETUP_HELPER = "setup-helper.exe"
NOTICES = "THIRD-PARTY-NOTICES"
SUMS = "SHA256SUMS"
DEBUG_SUFFIX = ".debug"
# Zip entry times cannot be older than 1980.
ZIP_EARLIEST = 315532800


def folder_name(version):
    return "calculate-checksums-%s" % version


def archive_name(version):
    return "calculate-checksums-%s-win64.zip" % version


def debug_archive_name(version):
    return "calculate-checksums-%s-win64-debug.zip" % version


def bill_of_materials_name(version):
    return "calculate-checksums-%s.spdx.json" % version


def release_time():
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    result = subprocess.run(["git", "-C", ROOT, "log", "-1", "--format=%ct"],
                            capture_output=True, text=True)
    if result.returncode != 0 or not result.stdout.strip():
        sys.exit("make-dist: no commit to take the release time from; set SOURCE_DATE_EPOCH")
    return int(result.stdout)


def release_commit():
    """The commit the release is built from, as the bill of materials names it."""
    head = subprocess.run(["git", "-C", ROOT, "rev-parse", "HEAD"], capture_output=True, text=True)
    if head.returncode != 0:
        return None
    changed = subprocess.run(["git", "-C", ROOT, "status", "--porcelain", "--untracked-files=no"],
                             capture_output=True, text=True).stdout.strip()
    return head.stdout.strip() + (" with uncommitted changes" if changed else "")


def build_tools(build_dir):
    with open(os.path.join(build_dir, "release-tools.json"), encoding="utf-8") as tools:
        return json.load(tools)


def split_off_debug_information(objcopy, built, shipped, debug, epoch):
    # objcopy stamps the PE images it writes with SOURCE_DATE_EPOCH, and with the clock without it.
    environment = dict(os.environ, SOURCE_DATE_EPOCH=str(epoch))
    subprocess.run([objcopy, "--only-keep-debug", built, debug], env=environment, check=True)
    subprocess.run([objcopy, "--strip-all", "--add-gnu-debuglink=" + debug, built, shipped],
                   env=environment, check=True)


def strip(objcopy, built, shipped, epoch):
    environment = dict(os.environ, SOURCE_DATE_EPOCH=str(epoch))
    subprocess.run([objcopy, "--strip-all", built, shipped], env=environment, check=True)


def write_sums(folder, names, companion=None):
    # Named relative to the folder, so that a check runs where it is unpacked.
    companion = companion or os.path.join(folder, "checksums-cli.exe")
    result = subprocess.run(
        [WINE_RUN, companion, "--format", "gnu", "-a", "sha256", *names], cwd=folder, stdin=subprocess.DEVNULL, capture_output=True, timeout=300)
    if result.returncode != 0 or not result.stdout:
        sys.exit("make-dist: checksums-cli.exe failed (%d): %s"
                 % (result.returncode, result.stderr.decode("utf-8", "replace")))
    with open(os.path.join(folder, SUMS), "wb") as out:
        out.write(result.stdout)


def copyright_line():
    with open(os.path.join(ROOT, "LICENSE"), encoding="utf-8") as licence:
        return next(line.strip() for line in licence if line.startswith("Copyright"))


def write_zip(target, folder, epoch):
    """The folder as the zip's one top-level entry: the folder first, then its files by name, each
    with the release time and fixed attributes, whatever the clock, time zone or umask."""
    top = os.path.basename(folder)
    date_time = time.gmtime(max(epoch, ZIP_EARLIEST))[:6]
    partial = target + ".partial"
    with zipfile.ZipFile(partial, "w") as archive:
        entry = zipfile.ZipInfo(top + "/", date_time)
        entry.create_system = 3  # the attributes below are Unix modes
        entry.external_attr = (stat.S_IFDIR | 0o755) << 16 | 0x10  # 0x10: MS-DOS directory
        archive.writestr(entry, b"")
        for name in sorted(os.listdir(folder)):
            entry = zipfile.ZipInfo(top + "/" + name, date_time)
            entry.create_system = 3
            mode = 0o755 if name.endswith(".exe") else 0o644
            entry.external_attr = (stat.S_IFREG | mode) << 16
            with open(os.path.join(folder, name), "rb") as data:
                archive.writestr(entry, data.read(), zipfile.ZIP_DEFLATED, 9)
    os.replace(partial, target)


def stage(version, build_dir, folder, debug_folder, installer, epoch):
    tools = build_tools(build_dir)
    for program in PROGRAMS:
        split_off_debug_information(tools["objcopy"], os.path.join(build_dir, program),
                                    os.path.join(folder, program),
                                    os.path.join(debug_folder, program + DEBUG_SUFFIX), epoch)
    shutil.copyfile(os.path.join(ROOT, "LICENSE"), os.path.join(folder, "LICENSE"))
    release_installer.write_user_guide(version, os.path.join(folder, release_installer.GUIDE_NAME))
    inventory = release_inventory.Inventory(
        tools, {program: os.path.join(build_dir, program + ".map") for program in PROGRAMS},
        release_installer.installer_tools())
    with open(os.path.join(folder, NOTICES), "w", encoding="utf-8", newline="\n") as out:
        out.write(release_inventory.notices_text(version, PROGRAMS, inventory,
                                                 release_installer.setup_parts()))
    helper = os.path.join(os.path.dirname(installer), SETUP_HELPER)
    strip(tools["objcopy"], os.path.join(build_dir, SETUP_HELPER), helper, epoch)
    release_installer.write_installer(version, folder, helper, installer)
    shipped = {program: os.path.join(folder, program) for program in PROGRAMS}
    with open(os.path.join(folder, bill_of_materials_name(version)), "w", encoding="utf-8",
              newline="\n") as out:
        out.write(release_inventory.spdx_document(
            version, shipped, inventory, epoch, copyright_line(), release_commit(),
            {os.path.basename(installer): installer}))
    write_sums(folder, sorted(name for name in os.listdir(folder) if name != SUMS))


def main(version, build_dir, output_dir):
    epoch = release_time()
    with tempfile.TemporaryDirectory(prefix="calculate-checksums-dist-") as staging:
        folder = os.path.join(staging, "release", folder_name(version))
        debug_folder = os.path.join(staging, "debug", folder_name(version))
        installer = os.path.join(staging, release_installer.installer_name(version))
        os.makedirs(folder)
        os.makedirs(debug_folder)
        stage(version, build_dir, folder, debug_folder, installer, epoch)
        checks = subprocess.run([sys.executable, RELEASE_CHECKS, version, folder, debug_folder,
                                 installer, build_dir, WINE_RUN], stdin=subprocess.DEVNULL)
        if checks.returncode != 0:
            sys.exit("make-dist: the release checks failed; no archive written")
        os.makedirs(output_dir, exist_ok=True)
        published = [archive_name(version), debug_archive_name(version),
                     os.path.basename(installer), bill_of_materials_name(version)]
        write_zip(os.path.join(output_dir, published[0]), folder, epoch)
        write_zip(os.path.join(output_dir, published[1]), debug_folder, epoch)
        shutil.copyfile(installer, os.path.join(output_dir, published[2]))
        shutil.copyfile(os.path.join(folder, published[3]), os.path.join(output_dir, published[3]))
        # The sums of the release's downloads, by the companion of the folder just checked.
        write_sums(output_dir, published, os.path.join(folder, "checksums-cli.exe"))
    print("\n".join(os.path.join(output_dir, name) for name in published + [SUMS]))


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
