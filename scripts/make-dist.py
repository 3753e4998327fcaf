#!/usr/bin/env python3
"""Writes the release archive OUTPUT_DIR/calculate-checksums-VERSION-win64.zip: the two programs,
the README, the licence and a SHA256SUMS that our own checksums-cli.exe writes under Wine.

Usage: make-dist.py VERSION WIN64_BUILD_DIR OUTPUT_DIR
"""
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WINE_RUN = os.path.join(ROOT, "scripts", "wine-run.sh")
PROGRAMS = ["checksums.exe", "checksums-cli.exe"]
DOCUMENTS = ["README.md", "LICENSE"]
SUMS = "SHA256SUMS"


def archive_name(version):
    return "calculate-checksums-%s-win64.zip" % version


def write_sums(folder):
    # Named relative to the archive's root, so that a check runs where it is unpacked.
    result = subprocess.run(
        [WINE_RUN, os.path.join(folder, "checksums-cli.exe"), "--format", "gnu", "-a", "sha256",
         *PROGRAMS, *DOCUMENTS],
        cwd=folder, stdin=subprocess.DEVNULL, capture_output=True, timeout=300)
    if result.returncode != 0 or not result.stdout:
        sys.exit("make-dist: checksums-cli.exe failed (%d): %s"
                 % (result.returncode, result.stderr.decode("utf-8", "replace")))
    with open(os.path.join(folder, SUMS), "wb") as out:
        out.write(result.stdout)


def main(version, build_dir, output_dir):
    with tempfile.TemporaryDirectory(prefix="calculate-checksums-dist-") as staging:
        for program in PROGRAMS:
            shutil.copy2(os.path.join(build_dir, program), staging)
        for document in DOCUMENTS:
            shutil.copy2(os.path.join(ROOT, document), staging)
        write_sums(staging)
        os.makedirs(output_dir, exist_ok=True)
        target = os.path.join(output_dir, archive_name(version))
        partial = target + ".partial"
        with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED) as archive:
            for name in PROGRAMS + DOCUMENTS + [SUMS]:
                archive.write(os.path.join(staging, name), name)
        os.replace(partial, target)
    print(target)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
