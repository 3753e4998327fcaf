#!/usr/bin/env python3
"""The release archive as `make dist` makes it: unpacked, its SHA256SUMS checked by coreutils'
sha256sum and by the archive's own checksums-cli.exe under Wine, and the version resources of
both programs held to the project's version.

Usage: release_archive_test.py VERSION WIN64_BUILD_DIR EMULATOR
"""
import os
import struct
import subprocess
import sys
import tempfile
import unittest
import zipfile

VERSION, BUILD_DIR, EMULATOR = sys.argv[1], sys.argv[2], sys.argv[3]
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CONTENTS = ["checksums.exe", "checksums-cli.exe", "README.md", "LICENSE", "SHA256SUMS"]
FIXED_FILE_INFO_SIGNATURE = struct.pack("<I", 0xFEEF04BD)


def file_version(program):
    """FILEVERSION of the program's version resource, read from its fixed part."""
    with open(program, "rb") as image:
        data = image.read()
    start = data.find(FIXED_FILE_INFO_SIGNATURE)
    _, _, most, least = struct.unpack_from("<4I", data, start)
    return "%d.%d.%d.%d" % (most >> 16, most & 0xFFFF, least >> 16, least & 0xFFFF)


class ReleaseArchive(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory(prefix="release-archive-test-")
        subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "make-dist.py"), VERSION,
                        BUILD_DIR, cls.folder.name], check=True, stdout=subprocess.DEVNULL,
                       timeout=300)
        cls.unpacked = os.path.join(cls.folder.name, "unpacked")
        archive = os.path.join(cls.folder.name, "calculate-checksums-%s-win64.zip" % VERSION)
        with zipfile.ZipFile(archive) as release:
            cls.names = release.namelist()
            release.extractall(cls.unpacked)

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def check_sums(self, *command):
        result = subprocess.run([*command, "-c", "SHA256SUMS"], cwd=self.unpacked,
                                capture_output=True, timeout=120)
        return result.returncode, result.stdout.decode("utf-8").replace("\r\n", "\n")

    def test_archive_holds_the_programs_the_documents_and_their_sums(self):
        self.assertEqual(sorted(self.names), sorted(CONTENTS))
        for name, source in [("checksums-cli.exe", BUILD_DIR), ("LICENSE", ROOT)]:
            with open(os.path.join(self.unpacked, name), "rb") as packed, \
                 open(os.path.join(source, name), "rb") as original:
                self.assertEqual(packed.read(), original.read(), name)

    def test_sums_pass_coreutils_and_our_own_check(self):
        expected = "".join(name + ": OK\n" for name in CONTENTS[:-1])
        self.assertEqual(self.check_sums("sha256sum"), (0, expected))
        program = os.path.join(self.unpacked, "checksums-cli.exe")
        self.assertEqual(self.check_sums(EMULATOR, program, "-a", "sha256"), (0, expected))

    def test_both_programs_carry_the_project_version(self):
        for program in ["checksums.exe", "checksums-cli.exe"]:
            self.assertEqual(file_version(os.path.join(self.unpacked, program)), VERSION + ".0")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
