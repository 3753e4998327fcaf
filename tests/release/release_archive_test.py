#!/usr/bin/env python3
"""The release as `make dist` writes it from this build (the script checks the files themselves
before it packs them): archives with one top folder, their entries in name order with the
release time and fixed attributes; made twice, in two time zones and under two umasks, the same
bytes, the setup program's too; the release's sums check; unpacked, the archive's sums check and
the programs carry the release time.

Usage: release_archive_test.py VERSION WIN64_BUILD_DIR
"""
import os
import stat
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile

VERSION, BUILD_DIR = sys.argv[1], sys.argv[2]
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TOP = "calculate-checksums-%s/" % VERSION
ARCHIVES = ["calculate-checksums-%s-win64.zip" % VERSION,
            "calculate-checksums-%s-win64-debug.zip" % VERSION]
RELEASED = ARCHIVES + ["calculate-checksums-%s-win64-setup.exe" % VERSION,
                       "calculate-checksums-%s.spdx.json" % VERSION, "SHA256SUMS"]
# Where and how each of the two runs makes the archives.
RUNS = [("first", "UTC", 0o022), ("second", "Pacific/Kiritimati", 0o077)]


def release_time():
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    return int(subprocess.run(["git", "-C", ROOT, "log", "-1", "--format=%ct"],
                              capture_output=True, text=True, check=True).stdout)


def make_dist(output, zone, umask):
    subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "make-dist.py"), VERSION,
                    BUILD_DIR, output], check=True, stdout=subprocess.DEVNULL, timeout=600,
                   env=dict(os.environ, TZ=zone), preexec_fn=lambda: os.umask(umask))


class ReleaseArchives(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory(prefix="release-archive-test-")
        for run, zone, umask in RUNS:
            make_dist(os.path.join(cls.folder.name, run), zone, umask)

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def made(self, run, archive):
        return os.path.join(self.folder.name, run, archive)

    def test_two_runs_in_other_time_zones_and_umasks_give_the_same_bytes(self):
        self.assertEqual(sorted(os.listdir(os.path.join(self.folder.name, "first"))),
                         sorted(RELEASED))
        for archive in RELEASED:
            with open(self.made("first", archive), "rb") as a, \
                 open(self.made("second", archive), "rb") as b:
                self.assertEqual(a.read(), b.read(), archive)

    def test_entries_sit_in_one_folder_in_name_order_with_the_release_time(self):
        # Zip times are kept to two seconds.
        expected_time = time.gmtime(release_time() // 2 * 2)[:6]
        for archive in ARCHIVES:
            with zipfile.ZipFile(self.made("first", archive)) as release:
                entries = release.infolist()
            names = [entry.filename for entry in entries]
            self.assertEqual(names[0], TOP)
            self.assertEqual(names[1:], sorted(names[1:]))
            self.assertTrue(all(name.startswith(TOP) for name in names), names)
            for entry in entries:
                self.assertEqual(entry.date_time, expected_time, entry.filename)
                mode = entry.external_attr >> 16
                expected_mode = (stat.S_IFDIR | 0o755 if entry.is_dir() else
                                 stat.S_IFREG | (0o755 if entry.filename.endswith(".exe")
                                                 else 0o644))
                self.assertEqual((entry.create_system, mode), (3, expected_mode), entry.filename)

    def test_the_release_sums_name_and_check_every_download(self):
        result = subprocess.run(["sha256sum", "--strict", "-c", "SHA256SUMS"],
                                cwd=os.path.join(self.folder.name, "first"), capture_output=True,
                                text=True, timeout=120)
        self.assertEqual(result.stdout, "".join(name + ": OK\n" for name in RELEASED[:-1]))

    def test_unpacked_together_the_sums_check_and_the_debug_files_sit_beside_the_programs(self):
        unpacked = os.path.join(self.folder.name, "unpacked")
        for archive in ARCHIVES:
            with zipfile.ZipFile(self.made("first", archive)) as release:
                release.extractall(unpacked)
        folder = os.path.join(unpacked, TOP)
        result = subprocess.run(["sha256sum", "--strict", "-c", "SHA256SUMS"], cwd=folder,
                                capture_output=True, text=True, timeout=120)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        for program in ["checksums.exe", "checksums-cli.exe", "checksums-verify.exe"]:
            self.assertTrue(os.path.isfile(os.path.join(folder, program + ".debug")), program)
            # The PE header's time stamp, behind the header's offset at 0x3C and its signature.
            with open(os.path.join(folder, program), "rb") as image:
                data = image.read()
            header = struct.unpack_from("<I", data, 0x3C)[0]
            self.assertEqual(struct.unpack_from("<I", data, header + 8)[0], release_time(), program)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
