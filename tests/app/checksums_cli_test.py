#!/usr/bin/env python3
"""checksums-cli against Python's hashlib and zlib, natively and under Wine.

Usage: checksums_cli_test.py PROGRAM [EMULATOR]

Both builds are held to the same expected text, so their outputs are identical apart from the
line ends: LF natively, CRLF on Windows. Files are named relative to the working folder, so the
"File Path: " lines read alike too.
"""
import errno
import hashlib
import os
import random
import subprocess
import sys
import tempfile
import unittest
import zlib

PROGRAM = os.path.abspath(sys.argv[1])
EMULATOR = sys.argv[2:3]
WINDOWS = PROGRAM.endswith(".exe")
LINE_END = "\r\n" if WINDOWS else "\n"

LABELS_AND_DIGESTS = [
    ("CRC32:", lambda data: "%08x" % zlib.crc32(data)),
    ("MD5:", lambda data: hashlib.md5(data).hexdigest()),
    ("SHA-1:", lambda data: hashlib.sha1(data).hexdigest()),
    ("SHA-2 (224):", lambda data: hashlib.sha224(data).hexdigest()),
    ("SHA-2 (256):", lambda data: hashlib.sha256(data).hexdigest()),
    ("SHA-2 (384):", lambda data: hashlib.sha384(data).hexdigest()),
    ("SHA-2 (512):", lambda data: hashlib.sha512(data).hexdigest()),
    ("SHA-3 (224):", lambda data: hashlib.sha3_224(data).hexdigest()),
    ("SHA-3 (256):", lambda data: hashlib.sha3_256(data).hexdigest()),
    ("SHA-3 (384):", lambda data: hashlib.sha3_384(data).hexdigest()),
    ("SHA-3 (512):", lambda data: hashlib.sha3_512(data).hexdigest()),
]

generator = random.Random(3)
FILES = {
    "digits.txt": b"123456789",
    "empty.bin": b"",
    "one mebibyte and more.bin": bytes(generator.getrandbits(8) for _ in range(1048576 + 4097)),
    "ünï cødé 文件.bin": b"abc",
}


def expected_report(names):
    blocks = []
    for name in names:
        data = FILES[name]
        lines = ["%s %s" % (label, digest(data).upper()) for label, digest in LABELS_AND_DIGESTS]
        lines.append("File Path: " + name)
        blocks.append("".join(line + LINE_END for line in lines))
    return LINE_END.join(blocks)


class ChecksumsCli(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory(prefix="checksums-cli-test-")
        for name, data in FILES.items():
            with open(os.path.join(cls.folder.name, name), "wb") as out:
                out.write(data)

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def run_program(self, *arguments, timeout=120):
        result = subprocess.run(EMULATOR + [PROGRAM, *arguments], cwd=self.folder.name,
                                capture_output=True, timeout=timeout)
        return result.returncode, result.stdout.decode("utf-8"), result.stderr.decode("utf-8")

    def error_lines(self, stderr):
        # Wine may add lines of its own; the program's start with its name.
        return [line for line in stderr.split(LINE_END) if line.startswith("checksums-cli")]

    def test_digests_equal_hashlib_and_zlib(self):
        names = list(FILES)
        status, stdout, stderr = self.run_program(*names)
        self.assertEqual(status, 0, stderr)
        self.assertEqual(stdout, expected_report(names))
        self.assertEqual(self.error_lines(stderr), [])

    def test_unreadable_file_is_reported_and_the_others_still_printed(self):
        status, stdout, stderr = self.run_program("digits.txt", "missing.bin", ".", "empty.bin")
        self.assertEqual(status, 1)
        self.assertEqual(stdout, expected_report(["digits.txt", "empty.bin"]))
        errors = self.error_lines(stderr)
        self.assertEqual(len(errors), 2, stderr)
        self.assertRegex(errors[0], r"^checksums-cli: cannot read missing\.bin: \S.*$")
        self.assertRegex(errors[1], r"^checksums-cli: cannot read \.: \S.*$")
        if not WINDOWS:
            prefix = "checksums-cli: cannot read "
            self.assertEqual(errors[0], prefix + "missing.bin: " + os.strerror(errno.ENOENT))
            self.assertEqual(errors[1], prefix + ".: " + os.strerror(errno.EISDIR))

    def test_devices_and_pipes_are_not_files_and_the_others_still_printed(self):
        # Read as files, the first would never end and the FIFO, having no writer, would never
        # open; the others would pass for empty files.
        fifo = os.path.join(self.folder.name, "fifo")
        if not os.path.exists(fifo):
            os.mkfifo(fifo)
        devices = (["Z:\\dev\\zero", "NUL", "fifo"] if WINDOWS
                   else ["/dev/zero", "/dev/null", "fifo"])
        status, stdout, stderr = self.run_program("digits.txt", *devices, "empty.bin", timeout=60)
        self.assertEqual(status, 1)
        self.assertEqual(stdout, expected_report(["digits.txt", "empty.bin"]))
        self.assertEqual(self.error_lines(stderr),
                         ["checksums-cli: cannot read %s: not a file" % path for path in devices])

    def test_no_arguments_or_an_unknown_option_print_usage_and_give_two(self):
        for arguments in [(), ("--bogus", "digits.txt")]:
            status, stdout, stderr = self.run_program(*arguments)
            self.assertEqual(status, 2, arguments)
            self.assertEqual(stdout, "", arguments)
            self.assertIn("Usage: checksums-cli", stderr, arguments)

    def test_help_prints_usage_and_gives_zero(self):
        status, stdout, _ = self.run_program("--help")
        self.assertEqual(status, 0)
        self.assertTrue(stdout.startswith("Usage: checksums-cli"))
        self.assertTrue(stdout.endswith(LINE_END))

    def test_double_dash_ends_the_options(self):
        with open(os.path.join(self.folder.name, "--help"), "wb") as out:
            out.write(FILES["digits.txt"])
        FILES["--help"] = FILES["digits.txt"]
        try:
            status, stdout, _ = self.run_program("--", "--help")
            self.assertEqual(status, 0)
            self.assertEqual(stdout, expected_report(["--help"]))
        finally:
            del FILES["--help"]
            os.remove(os.path.join(self.folder.name, "--help"))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
