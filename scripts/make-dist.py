#!/usr/bin/env python3
"""Writes the release archives into OUTPUT_DIR, from the two programs of a Windows build:

calculate-checksums-VERSION-win64.zip holds one folder, calculate-checksums-VERSION/, with the two
programs stripped, README.md, LICENSE, THIRD-PARTY-NOTICES (the notices of the toolchain's
libraries linked into the programs), calculate-checksums-VERSION.spdx.json (the bill of
materials) and SHA256SUMS of all of these, written by our own checksums-cli.exe under Wine.

calculate-checksums-VERSION-win64-debug.zip holds the programs' debug information, the .debug
files their debug links name, in a folder of the same name: unpacked beside the programs, a
debugger or addr2line finds them.

Every byte follows from the commit: the one time used (PE time stamps, zip entries, the bill of
materials) is SOURCE_DATE_EPOCH, or else the commit's time; entries have a fixed order and fixed
attributes. The release checks (tests/release/release_files_test.py) run on the very files packed
before any archive is written.

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
import release_inventory  # noqa: E402

WINE_RUN = os.path.join(ROOT, "scripts", "wine-run.sh")
RELEASE_CHECKS = os.path.join(ROOT, "tests", "release", "release_files_test.py")
PROGRAMS = ["checksums.exe", "checksums-cli.exe"]
DOCUMENTS = ["README.md", "LICENSE"]
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


def write_sums(folder):
    # Named relative to the folder, so that a check runs where it is unpacked.
    names = sorted(name for name in os.listdir(folder) if name != SUMS)
    result = subprocess.run(
        [WINE_RUN, os.path.join(folder, "checksums-cli.exe"), "--format", "gnu", "-a", "sha256",
         *names], cwd=folder, stdin=subprocess.DEVNULL, capture_output=True, timeout=300)
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


def stage(version, build_dir, folder, debug_folder, epoch):
    tools = build_tools(build_dir)
    for program in PROGRAMS:
        split_off_debug_information(tools["objcopy"], os.path.join(build_dir, program),
                                    os.path.join(folder, program),
                                    os.path.join(debug_folder, program + DEBUG_SUFFIX), epoch)
    for document in DOCUMENTS:
        shutil.copyfile(os.path.join(ROOT, document), os.path.join(folder, document))
    inventory = release_inventory.Inventory(
        tools, {program: os.path.join(build_dir, program + ".map") for program in PROGRAMS})
    with open(os.path.join(folder, NOTICES), "w", encoding="utf-8", newline="\n") as out:
        out.write(release_inventory.notices_text(version, PROGRAMS, inventory))
    shipped = {program: os.path.join(folder, program) for program in PROGRAMS}
    with open(os.path.join(folder, bill_of_materials_name(version)), "w", encoding="utf-8",
              newline="\n") as out:
        out.write(release_inventory.spdx_document(version, shipped, inventory, epoch,
                                                  copyright_line(), release_commit()))
    write_sums(folder)


def main(version, build_dir, output_dir):
    epoch = release_time()
    with tempfile.TemporaryDirectory(prefix="calculate-checksums-dist-") as staging:
        folder = os.path.join(staging, "release", folder_name(version))
        debug_folder = os.path.join(staging, "debug", folder_name(version))
        os.makedirs(folder)
        os.makedirs(debug_folder)
        stage(version, build_dir, folder, debug_folder, epoch)
        checks = subprocess.run([sys.executable, RELEASE_CHECKS, version, folder, debug_folder,
                                 build_dir, WINE_RUN], stdin=subprocess.DEVNULL)
        if checks.returncode != 0:
            sys.exit("make-dist: the release checks failed; no archive written")
        os.makedirs(output_dir, exist_ok=True)
        targets = [os.path.join(output_dir, archive_name(version)),
                   os.path.join(output_dir, debug_archive_name(version))]
        write_zip(targets[0], folder, epoch)
        write_zip(targets[1], debug_folder, epoch)
    print("\n".join(targets))


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
