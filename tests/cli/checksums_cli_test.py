#!/usr/bin/env python3
"""checksums-cli against Python's hashlib and zlib and against coreutils' *sum tools, natively and
under Wine.

Usage: checksums_cli_test.py [--case TEST_NAME] PROGRAM VERSION [EMULATOR]

With --case only that test function runs (ctest has an entry for each).

Both builds are held to the same expected text, so their outputs are identical apart from the
line ends: LF natively, CRLF on Windows. Files are named relative to the working folder, so the
names in the output read alike too. Names that Windows cannot hold (a line feed, a backslash, a
star) are tried natively only.
"""
import errno
import hashlib
import os
import pty
import random
import re
import select
import signal
import subprocess
import sys
import tempfile
import threading
import time
import unittest
import zlib

ARGUMENTS = sys.argv[1:]
CASE = None
if ARGUMENTS[:1] == ["--case"]:
    CASE, ARGUMENTS = ARGUMENTS[1], ARGUMENTS[2:]
PROGRAM = os.path.abspath(ARGUMENTS[0])
VERSION = ARGUMENTS[1]
EMULATOR = ARGUMENTS[2:3]
WINDOWS = PROGRAM.endswith(".exe")
LINE_END = "\r\n" if WINDOWS else "\n"

# name for -a, BSD tag, report label, digest; in the report's order.
ALGORITHMS = [
    ("crc32", "CRC32", "CRC32:", lambda data: "%08x" % zlib.crc32(data)),
    ("md5", "MD5", "MD5:", lambda data: hashlib.md5(data).hexdigest()),
    ("sha1", "SHA1", "SHA-1:", lambda data: hashlib.sha1(data).hexdigest()),
    ("sha224", "SHA224", "SHA-2 (224):", lambda data: hashlib.sha224(data).hexdigest()),
    ("sha256", "SHA256", "SHA-2 (256):", lambda data: hashlib.sha256(data).hexdigest()),
    ("sha384", "SHA384", "SHA-2 (384):", lambda data: hashlib.sha384(data).hexdigest()),
    ("sha512", "SHA512", "SHA-2 (512):", lambda data: hashlib.sha512(data).hexdigest()),
    ("sha3-224", "SHA3-224", "SHA-3 (224):", lambda data: hashlib.sha3_224(data).hexdigest()),
    ("sha3-256", "SHA3-256", "SHA-3 (256):", lambda data: hashlib.sha3_256(data).hexdigest()),
    ("sha3-384", "SHA3-384", "SHA-3 (384):", lambda data: hashlib.sha3_384(data).hexdigest()),
    ("sha3-512", "SHA3-512", "SHA-3 (512):", lambda data: hashlib.sha3_512(data).hexdigest()),
]
DIGEST = {name: digest for name, _, _, digest in ALGORITHMS}
STANDARD_NAMES = {"crc32": "CRC32", "md5": "MD5", "sha1": "SHA-1", "sha224": "SHA-224",
                  "sha256": "SHA-256", "sha384": "SHA-384", "sha512": "SHA-512",
                  "sha3-224": "SHA3-224", "sha3-256": "SHA3-256", "sha3-384": "SHA3-384",
                  "sha3-512": "SHA3-512"}
COREUTILS_TOOLS = ["md5", "sha1", "sha224", "sha256", "sha384", "sha512"]
# The algorithms beyond the window's eleven, as their authors' tools write them: b3sum's and
# xxhsum's lines, the digest's length and the line form each uses.
BEYOND = [("blake3", ["b3sum"], 64, "gnu"), ("xxh3", ["xxhsum", "-H3"], 16, "bsd"),
          ("xxh128", ["xxhsum", "-H2"], 32, "gnu")]

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# The list of block functions each algorithm's plugin chooses from, as the engine declares it.
BACKEND_LIST = {"crc32": "CRC32", "md5": "MD5", "sha1": "SHA1", "sha224": "SHA256",
                "sha256": "SHA256", "sha384": "SHA512", "sha512": "SHA512", "sha3-224": "KECCAK",
                "sha3-256": "KECCAK", "sha3-384": "KECCAK", "sha3-512": "KECCAK"}


def algorithm_table():
    """(name, tag, label) of each row of the engine's one table of algorithms, in its order."""
    with open(os.path.join(SOURCE, "report", "algorithm_table.h")) as source:
        return re.findall(r'^ +\{L"([^"]+)", L"([^"]+)", (?:L"[^"]*"|nullptr), (?:L"[^"]*"|nullptr), '
                          r'L"[^"]+", \{L"([^"]+)"', source.read(), re.M)


# Lengths across BLAKE3's 64-byte blocks and 1 KiB chunks and XXH3's 64-byte stripes and 1 KiB
# blocks, then the sizes where their trees and buffers fill.
DIFFERENTIAL_LENGTHS = list(range(2101)) + [4095, 4096, 4097, 8191, 8193, 16385, 65537, 1048577]


def engine_backends():
    """Each list's backends in order, and those every processor runs, read from the headers."""
    lists, everywhere = {}, set()
    for folder in ["crc32", "md5", "sha1", "sha2", "sha3"]:
        path = os.path.join(SOURCE, "digest", folder)
        for header in [name for name in os.listdir(path) if name.endswith("_backend.h")]:
            with open(os.path.join(path, header)) as source:
                declarations = re.findall(r"DigestBackend<\w+> (\w+)_BACKENDS\[\] = \{(.*?)\n\};",
                                          source.read(), re.S)
            for name, body in declarations:
                rows = re.findall(r'\{"(\w+)", \w+, (\w+)\}', body)
                lists[name] = [backend for backend, _ in rows]
                everywhere |= {(name, backend) for backend, test in rows if test == "nullptr"}
    return lists, everywhere


generator = random.Random(3)
FILES = {
    "digits.txt": b"123456789",
    "empty.bin": b"",
    "one mebibyte and more.bin": bytes(generator.getrandbits(8) for _ in range(1048576 + 4097)),
    "ünï cødé 文件.bin": b"abc",
    " spaced (name) = x": b"parentheses and an equals sign",
}
if not WINDOWS:
    FILES.update({"*starred": b"a leading star", "back\\slash": b"\\", "line\nfeed": b"\n",
                  "carriage\rreturn": b"\r"})
NAMES = list(FILES)


def expected_report(names):
    blocks = []
    for name in names:
        data = FILES[name]
        lines = ["%s %s" % (label, digest(data).upper()) for _, _, label, digest in ALGORITHMS]
        lines.append("File Path: " + name)
        blocks.append("".join(line + LINE_END for line in lines))
    return LINE_END.join(blocks)


def escaped(name):
    """The usual tools' escaping of a name in a sums line: prefix and escaped text."""
    if not any(c in name for c in "\\\n\r"):
        return "", name
    return "\\", name.replace("\\", "\\\\").replace("\n", "\\n").replace("\r", "\\r")


def gnu_line(algorithm, name):
    prefix, text = escaped(name)
    return "%s%s  %s" % (prefix, DIGEST[algorithm](FILES[name]), text)


def bsd_line(algorithm, name):
    tag = next(tag for a, tag, _, _ in ALGORITHMS if a == algorithm)
    prefix, text = escaped(name)
    return "%s%s (%s) = %s" % (prefix, tag, text, DIGEST[algorithm](FILES[name]))


def ok_line(name):
    # Check results escape a name only for a line feed.
    return ("\\" + escaped(name)[1] if "\n" in name else name) + ": OK"


def terminal_text_until(terminal, wanted, seconds=60):
    """What a pseudo-terminal shows until it shows `wanted`, or until `seconds` have passed."""
    shown = b""
    deadline = time.monotonic() + seconds
    while wanted not in shown and time.monotonic() < deadline:
        if select.select([terminal], [], [], 0.1)[0]:
            shown += os.read(terminal, 65536)
    return shown


def text(lines):
    return "".join(line + LINE_END for line in lines)


def sums_text(lines):
    """Sums lines (--format gnu or bsd) end in LF on every system, so that they verify anywhere."""
    return "".join(line + "\n" for line in lines)


class ChecksumsCli(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory(prefix="checksums-cli-test-")
        for name, data in FILES.items():
            cls.write(name, data)

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    @classmethod
    def write(cls, name, data):
        with open(os.path.join(cls.folder.name, name), "wb") as out:
            out.write(data if isinstance(data, bytes) else data.encode("utf-8"))

    def run_program(self, *arguments, input=b"", timeout=120):
        result = subprocess.run(EMULATOR + [PROGRAM, *arguments], cwd=self.folder.name,
                                input=input, capture_output=True, timeout=timeout)
        return result.returncode, result.stdout.decode("utf-8"), result.stderr.decode("utf-8")

    def run_tool(self, *command):
        result = subprocess.run(command, cwd=self.folder.name, capture_output=True, timeout=60)
        return result.returncode, result.stdout.decode("utf-8"), result.stderr.decode("utf-8")

    def error_lines(self, stderr):
        # Wine may add lines of its own; the program's start with its name.
        return [line for line in stderr.split(LINE_END) if line.startswith("checksums-cli")]

    def check(self, sums, *options, input=b""):
        """Checks `sums` (text, or bytes as they are) written to a sums file."""
        self.write("sums", sums if isinstance(sums, bytes) else sums.replace("\n", LINE_END))
        status, stdout, stderr = self.run_program("-c", *options, "sums", input=input)
        return status, stdout, self.error_lines(stderr)

    # Printing

    def test_report_and_bsd_lines_equal_hashlib_and_zlib_for_every_algorithm(self):
        status, stdout, stderr = self.run_program(*NAMES)
        self.assertEqual((status, stdout, self.error_lines(stderr)), (0, expected_report(NAMES), []))
        status, stdout, _ = self.run_program("--format", "bsd", *NAMES)
        expected = [bsd_line(algorithm, name) for name in NAMES for algorithm, *_ in ALGORITHMS]
        self.assertEqual((status, stdout), (0, sums_text(expected)))

    def test_chosen_algorithms_keep_their_order_in_every_format(self):
        status, stdout, _ = self.run_program("-a", "sha3-256,crc32,sha3-256", "digits.txt")
        data = FILES["digits.txt"]
        self.assertEqual((status, stdout), (0, text([
            "SHA-3 (256): " + DIGEST["sha3-256"](data).upper(),
            "CRC32: " + DIGEST["crc32"](data).upper(), "File Path: digits.txt"])))
        status, stdout, _ = self.run_program("--format=bsd", "-amd5,sha1", "digits.txt")
        self.assertEqual(stdout, sums_text([bsd_line("md5", "digits.txt"),
                                            bsd_line("sha1", "digits.txt")]))
        for algorithm, *_ in ALGORITHMS:
            status, stdout, _ = self.run_program("--format", "gnu", "--algorithm", algorithm, *NAMES)
            self.assertEqual((status, stdout), (0, sums_text(gnu_line(algorithm, n) for n in NAMES)))

    def test_standard_input_is_read_for_a_dash(self):
        data = FILES["one mebibyte and more.bin"]
        status, stdout, _ = self.run_program("--format", "gnu", "-a", "sha512", "-", input=data)
        self.assertEqual((status, stdout), (0, sums_text([DIGEST["sha512"](data) + "  -"])))
        status, stdout, _ = self.run_program("-a", "md5", "-", input=data)
        self.assertEqual(stdout, text(["MD5: " + DIGEST["md5"](data).upper(), "File Path: -"]))

    def test_options_as_users_type_them(self):
        data = FILES["digits.txt"]
        _, bsd, _ = self.run_program("--format", "bsd", "-a", "md5,sha3-256", "digits.txt")
        for spelled in (["--tag", "-a", "MD5,SHA3-256"], ["--tag", "-b", "-a", "Md5,sha3-256"],
                        ["-t", "--binary", "--text", "--tag", "-a", "md5,SHA3-256"]):
            self.assertEqual(self.run_program(*spelled, "digits.txt")[:2], (0, bsd), spelled)
        # No FILE: standard input, when it is not a terminal.
        self.assertEqual(self.run_program("-a", "sha256", input=data)[:2], (0, text([
            "SHA-2 (256): " + DIGEST["sha256"](data).upper(), "File Path: -"])))
        if not WINDOWS:
            names = ["digits.txt", "line\nfeed", "back\\slash"]
            status, stdout, _ = self.run_program("-z", "--format", "gnu", "-a", "sha1", *names)
            self.assertEqual(stdout, "".join("%s  %s\0" % (DIGEST["sha1"](FILES[name]), name)
                                             for name in names))
            self.assertEqual(subprocess.run(["sha1sum", "-z", *names], cwd=self.folder.name,
                                            capture_output=True).stdout.decode(), stdout)
            terminal, other_end = pty.openpty()
            result = subprocess.run([PROGRAM, "-a", "md5"], stdin=terminal, capture_output=True,
                                    timeout=60)
            os.close(terminal)
            os.close(other_end)
            self.assertEqual(result.returncode, 2)
            self.assertTrue(result.stderr.decode().startswith("checksums-cli: no FILE given"))

    def test_unreadable_file_is_reported_and_the_others_still_printed(self):
        status, stdout, stderr = self.run_program("digits.txt", "missing.bin", ".", "empty.bin")
        self.assertEqual(status, 1)
        self.assertEqual(stdout, expected_report(["digits.txt", "empty.bin"]))
        errors = self.error_lines(stderr)
        self.assertEqual(len(errors), 2, stderr)
        self.assertRegex(errors[0], r"^checksums-cli: cannot read missing\.bin: \S.*$")
        self.assertRegex(errors[1], r"^checksums-cli: cannot read \.: %s$" % (
            "Is a folder" if WINDOWS else os.strerror(errno.EISDIR)))
        if not WINDOWS:
            prefix = "checksums-cli: cannot read "
            self.assertEqual(errors[0], prefix + "missing.bin: " + os.strerror(errno.ENOENT))
            self.assertEqual(errors[1], prefix + ".: " + os.strerror(errno.EISDIR))

    def test_devices_fifos_and_process_substitution_are_read_as_the_usual_tools_read_them(self):
        empty = DIGEST["sha256"](b"")
        if WINDOWS:
            status, stdout, _ = self.run_program("--format", "gnu", "-a", "sha256", "NUL")
            self.assertEqual((status, stdout), (0, sums_text([empty + "  NUL"])))
            return
        fifo = os.path.join(self.folder.name, "fifo")
        if not os.path.exists(fifo):
            os.mkfifo(fifo)
        data = FILES["one mebibyte and more.bin"]
        writer = threading.Thread(target=lambda: open(fifo, "wb").write(data))
        writer.start()
        status, stdout, _ = self.run_program("--format", "gnu", "-a", "sha256", "/dev/null", "fifo")
        writer.join()
        self.assertEqual((status, stdout), (0, sums_text([empty + "  /dev/null",
                                                     DIGEST["sha256"](data) + "  fifo"])))
        result = subprocess.run(["bash", "-c", '"$0" -a md5 --format bsd <(cat digits.txt)',
                                 PROGRAM], cwd=self.folder.name, capture_output=True, timeout=60)
        self.assertRegex(result.stdout.decode(),
                         r"^MD5 \(/dev/fd/\d+\) = %s\n$" % DIGEST["md5"](FILES["digits.txt"]))

    def test_wrong_command_lines_say_what_in_one_line_and_give_two(self):
        cases = [
            (("--bogus", "digits.txt"), "unknown option --bogus"),
            (("-a", "sha3", "digits.txt"), "unknown algorithm 'sha3'; choose from crc32, md5,"),
            (("--format", "gnu", "digits.txt"), "--format gnu needs exactly one algorithm"),
            (("--format=gnu", "-a", "md5,sha1", "digits.txt"), "--format gnu needs exactly one"),
            (("--format", "xml", "digits.txt"), "unknown format 'xml'"),
            (("--quiet", "digits.txt"), "--quiet, --status and --ignore-missing are meaningful"),
            (("-c", "--format", "bsd", "sums"), "--format, --tag and --zero are meaningful only"),
            (("-c", "--tag", "sums"), "--format, --tag and --zero are meaningful only"),
            (("--expect", "00000000", "-z", "digits.txt"), "--format, --tag and --zero are"),
            (("--warn", "digits.txt"), "--strict and --warn are meaningful only with --check"),
            (("-c", "--expect", "00000000"), "--check and --expect exclude each other"),
            (("--expect", "0123", "digits.txt"), "--expect '0123' is no digest"),
            (("--expect", "0" * 64, "-a", "md5", "x"), "--expect: no algorithm chosen with -a"),
            (("digits.txt", "-a"), "option -a needs a value"),
        ]
        for arguments, problem in cases:
            status, stdout, stderr = self.run_program(*arguments)
            self.assertEqual((status, stdout), (2, ""), arguments)
            errors = [line for line in stderr.split(LINE_END)
                      if line.startswith(("checksums-cli", "Try "))]
            self.assertEqual(len(errors), 2, stderr)
            self.assertTrue(errors[0].startswith("checksums-cli: " + problem), stderr)
            self.assertEqual(errors[1], "Try 'checksums-cli --help' for more information.")

    def test_help_version_and_double_dash(self):
        for option in ("--help", "-h"):
            status, stdout, _ = self.run_program(option)
            self.assertEqual(status, 0)
            self.assertTrue(stdout.startswith("Usage: checksums-cli") and stdout.endswith(LINE_END))
            self.assertLess(max(len(line) for line in stdout.split(LINE_END)), 80)
            listed = ", ".join(name for name, *_ in ALGORITHMS)
            self.assertIn(listed, " ".join(stdout.split()))
        for option in ("--version", "-V"):
            self.assertEqual(self.run_program(option)[:2],
                             (0, "checksums-cli (Calculate Checksums) %s%s" % (VERSION, LINE_END)))
        self.write("--help", FILES["digits.txt"])
        status, stdout, _ = self.run_program("--format", "gnu", "-a", "md5", "--", "--help")
        self.assertEqual(stdout, sums_text([DIGEST["md5"](FILES["digits.txt"]) + "  --help"]))

    def run_slowly_fed(self, *arguments, stderr=subprocess.PIPE, seconds=2.5):
        """Runs with standard input fed through a pipe over `seconds`; stdout, stderr bytes."""
        process = subprocess.Popen(EMULATOR + [PROGRAM, *arguments], cwd=self.folder.name,
                                   stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=stderr)
        data = b"slow" * 16384
        for _ in range(int(seconds * 10)):
            process.stdin.write(data)
            process.stdin.flush()
            time.sleep(0.1)
        stdout, errors = process.communicate(timeout=60)
        self.assertEqual(process.returncode, 0)
        # Sums lines end in LF on every system.
        expected = DIGEST["md5"](data * int(seconds * 10)) + "  -\n"
        self.assertEqual(stdout.decode(), expected)
        return errors

    def progress_on_a_terminal(self, *options):
        """What standard error shows when it is a terminal (a pseudo-terminal here)."""
        main, secondary = pty.openpty()
        self.run_slowly_fed(*options, "-a", "md5", "--format", "gnu", "-", stderr=secondary)
        os.close(secondary)
        shown = b""
        while select.select([main], [], [], 0.5)[0]:
            try:
                shown += os.read(main, 65536)
            except OSError:  # Linux ends a closed terminal's reading so
                break
        os.close(main)
        return shown

    def test_progress_line_shows_on_a_terminal_or_when_asked_and_is_cleared(self):
        progress = rb"\r-: \d+\.\d MB, [\d.]+ [kM]?B/s"
        self.assertRegex(self.run_slowly_fed("--progress", "-a", "md5", "--format", "gnu", "-"),
                         progress)
        self.assertNotIn(b"/s", self.run_slowly_fed("-a", "md5", "--format", "gnu", "-"))
        if WINDOWS:
            return
        shown = self.progress_on_a_terminal()
        self.assertRegex(shown, progress)
        self.assertTrue(shown.endswith(b"\r"), shown)  # cleared before the result line
        self.assertEqual(self.progress_on_a_terminal("--no-progress"), b"")
        # Interrupted, it takes the line off the terminal and dies of the signal.
        main, secondary = pty.openpty()
        process = subprocess.Popen([PROGRAM, "-a", "md5", "-"], stdin=subprocess.PIPE,
                                   stdout=subprocess.PIPE, stderr=secondary)
        process.stdin.write(b"x" * 65536)
        process.stdin.flush()
        # Interrupted once the line is up, however long a loaded machine takes to show it.
        shown = terminal_text_until(main, b"\r-: 65.5 kB")
        process.send_signal(signal.SIGINT)
        self.assertEqual(process.wait(timeout=30), -signal.SIGINT)
        os.close(secondary)
        shown += os.read(main, 65536)
        os.close(main)
        self.assertRegex(shown, rb"^(\r-: 65\.5 kB, [^\r]*)+\r +\r$")

    def test_a_failed_write_is_said_and_gives_one(self):
        with open("/dev/full", "wb") as full:
            result = subprocess.run(EMULATOR + [PROGRAM, "-a", "md5", "digits.txt"],
                                    cwd=self.folder.name, stdout=full, capture_output=False,
                                    stderr=subprocess.PIPE, timeout=120)
        self.assertEqual(result.returncode, 1)
        self.assertRegex(self.error_lines(result.stderr.decode())[0],
                         r"^checksums-cli: write error: \S")

    def test_names_as_the_platform_hands_them_over(self):
        """Windows: cmd.exe leaves wildcards to the program. Elsewhere: names are bytes."""
        if WINDOWS:
            for name in ["wild/a.txt", "wild/ünï.txt", "wild/b.bin", "wild/bb.bin"]:
                os.makedirs(os.path.join(self.folder.name, "wild"), exist_ok=True)
                self.write(name, name.encode("utf-8"))
            folder = "Z:" + self.folder.name.replace("/", "\\")
            program = "Z:" + PROGRAM.replace("/", "\\")
            result = subprocess.run(EMULATOR + ["cmd", "/c", 'cd /d %s && %s --format gnu -a md5 '
                                                "wild\\*.txt wild\\?.bin wild\\*.none" % (
                                                    folder, program)],
                                    capture_output=True, timeout=120)
            self.assertEqual(result.returncode, 1)
            # Written as every system reads them: '/' between folders, LF at the end.
            self.assertEqual(result.stdout.decode(), sums_text(
                "%s  %s" % (DIGEST["md5"](name.encode()), name)
                for name in ["wild/a.txt", "wild/ünï.txt", "wild/b.bin"]))
            self.assertRegex(self.error_lines(result.stderr.decode())[0],
                             r"^checksums-cli: cannot read wild\\\*\.none: \S")
            return
        name = b"lat\xe9.txt"
        with open(os.path.join(self.folder.name.encode(), name), "wb") as out:
            out.write(b"latin-1")
        theirs = subprocess.run(["sha256sum", name], cwd=self.folder.name, capture_output=True)
        ours = subprocess.run([PROGRAM, "--format", "gnu", "-a", "sha256", name],
                              cwd=self.folder.name, capture_output=True)
        self.assertEqual((ours.returncode, ours.stdout), (0, theirs.stdout))
        self.write("sums", theirs.stdout)
        checked = subprocess.run([PROGRAM, "-c", "-a", "sha256", "sums"], cwd=self.folder.name,
                                 capture_output=True)
        self.assertEqual((checked.returncode, checked.stdout), (0, name + b": OK\n"))

    def test_recursive_walk_matches_find_sort_and_sha256sum(self):
        tree = os.path.join(self.folder.name, "tree")
        for name, data in [("b.txt", b"b"), ("a/z.bin", b"z"), ("a.txt", b"a."), ("a/y/x", b""),
                           ("ab/c", b"c"), ("ünï/文件", b"u")]:
            os.makedirs(os.path.dirname(os.path.join(tree, name)), exist_ok=True)
            with open(os.path.join(tree, name), "wb") as out:
                out.write(data)
        if not WINDOWS and not os.path.lexists(os.path.join(tree, "link")):
            os.symlink("a", os.path.join(tree, "link"))
        find = subprocess.run('find tree -type f | LC_ALL=C sort | xargs -d "\\n" sha256sum',
                              shell=True, cwd=self.folder.name, capture_output=True, timeout=60)
        # On Windows too: '/' between folders and LF, so that the file verifies anywhere.
        expected = find.stdout.decode()
        status, stdout, _ = self.run_program("-r", "--format", "gnu", "-a", "sha256", "tree")
        self.assertEqual((status, stdout), (0, expected))
        separator = "\\" if WINDOWS else "/"
        self.write("list", "digits.txt\r\n\ntree%sb.txt\n" % separator)
        status, stdout, _ = self.run_program("--files-from", "list", "--files-from", "-",
                                             "--format", "gnu", "-a", "md5", input=b"empty.bin")
        self.assertEqual((status, stdout), (0, sums_text([
            gnu_line("md5", "digits.txt"), DIGEST["md5"](b"b") + "  tree/b.txt",
            gnu_line("md5", "empty.bin")])))

    # Round trips

    def test_a_tree_listed_with_r_dot_verifies_with_coreutils_perls_shasum_and_ours(self):
        tree = os.path.join(self.folder.name, "portable tree")
        for name, data in [("sub dir/deeper/b.txt", b"b"), ("sub dir/empty", b""),
                           ("café 日本.txt", b"abc"), ("#hash", b"#"), ("-dash", b"-")]:
            os.makedirs(os.path.dirname(os.path.join(tree, name)), exist_ok=True)
            with open(os.path.join(tree, name), "wb") as out:
                out.write(data)
        listed = subprocess.run(EMULATOR + [PROGRAM, "--format", "gnu", "-a", "sha256", "-r", "."],
                                cwd=tree, capture_output=True, timeout=120)
        self.assertEqual(listed.returncode, 0)
        # Written after the listing, so that it is not listed.
        with open(os.path.join(tree, "SHA256SUMS"), "wb") as out:
            out.write(listed.stdout)
        self.assertIn(b"  sub dir/deeper/b.txt\n", listed.stdout)
        self.assertNotIn(b"\r", listed.stdout)
        names = ["#hash", "-dash", "café 日本.txt", "sub dir/deeper/b.txt", "sub dir/empty"]
        for checker in (["sha256sum", "-c", "--strict"], ["shasum", "-a", "256", "-c"],
                        EMULATOR + [PROGRAM, "-c"]):
            result = subprocess.run(checker + ["SHA256SUMS"], cwd=tree, capture_output=True,
                                    timeout=120)
            self.assertEqual(result.returncode, 0, checker)
            oks = result.stdout.decode("utf-8").replace("\r\n", "\n")
            self.assertEqual(oks, "".join(name + ": OK\n" for name in names), checker)

    def test_our_gnu_and_bsd_lines_pass_our_check(self):
        _, bsd, _ = self.run_program("--format", "bsd", *NAMES)
        status, stdout, errors = self.check(bsd.replace(LINE_END, "\n"))
        self.assertEqual((status, errors), (0, []))
        self.assertEqual(stdout, text(ok_line(n) for n in NAMES for _ in ALGORITHMS))
        for algorithm, *_ in ALGORITHMS:
            _, gnu, _ = self.run_program("--format", "gnu", "-a", algorithm, *NAMES)
            # CRC32, MD5 and SHA-1 are told by their lengths; the others share theirs.
            chosen = () if algorithm in ("crc32", "md5", "sha1") else ("-a", algorithm)
            status, stdout, errors = self.check(gnu.replace(LINE_END, "\n"), *chosen)
            self.assertEqual((status, stdout, errors), (0, text(ok_line(n) for n in NAMES), []))

    def test_coreutils_reads_our_lines_and_we_read_theirs(self):
        for tool in COREUTILS_TOOLS:
            _, ours, _ = self.run_program("--format", "gnu", "-a", tool, *NAMES)
            self.write("ours", ours)
            status, stdout, _ = self.run_tool(tool + "sum", "-c", "ours")
            self.assertEqual((status, stdout), (0, "".join(ok_line(n) + "\n" for n in NAMES)))
            for form in ([], ["--tag"], ["--binary"]):
                _, theirs, _ = self.run_tool(tool + "sum", *form, *NAMES)
                if form == []:
                    self.assertEqual(ours.replace(LINE_END, "\n"), theirs, tool)
                chosen = () if form == ["--tag"] else ("-a", tool)
                status, stdout, errors = self.check(theirs.encode("utf-8"), *chosen)
                self.assertEqual((status, stdout, errors), (0, text(ok_line(n) for n in NAMES), []),
                                 (tool, form))

    def test_coreutils_sums_files_by_their_usual_names_need_no_a(self):
        for tool in COREUTILS_TOOLS:
            _, theirs, _ = self.run_tool(tool + "sum", *NAMES)
            self.write(tool.upper() + "SUMS", theirs)
            status, stdout, stderr = self.run_program("-c", tool.upper() + "SUMS")
            self.assertEqual((status, stdout), (0, text(ok_line(n) for n in NAMES)), tool)

    def test_every_form_of_the_usual_tools_checks(self):
        data = FILES["digits.txt"]
        sha256, md5 = DIGEST["sha256"](data), DIGEST["md5"](data)
        spaced = " ".join(sha256[k:k + 2] for k in range(0, 64, 2))
        forms = {
            "ours": self.run_program("--format", "gnu", "-a", "sha256", "digits.txt")[1].replace(
                LINE_END, "\n"),
            "openssl": self.run_tool("openssl", "dgst", "-sha256", "digits.txt")[1] +
                       self.run_tool("openssl", "dgst", "-sha3-512", "digits.txt")[1],
            "sfv": self.run_tool("rhash", "--sfv", "digits.txt", "empty.bin")[1],
            "one space": "%s digits.txt\n%s empty.bin\n" % (md5, DIGEST["md5"](b"")),
            "tab": "%s\tdigits.txt\n" % md5,
            "certutil": "SHA256 hash of digits.txt:\n%s\nMD5 hash of digits.txt:\n%s\n"
                        "CertUtil: -hashfile command completed successfully.\n" % (spaced, md5),
            "get-filehash": "\n\nAlgorithm : SHA256\nHash      : %s\nPath      : digits.txt\n\n"
                            "Algorithm : MD5\nHash      : %s\nPath      : %s\n\n\n" % (
                                sha256.upper(), DIGEST["md5"](b"").upper(), "empty.bin"),
            "export-csv": '#TYPE Microsoft.Powershell.Utility.FileHash\n"Algorithm","Hash","Path"\n'
                          '"SHA256","%s","digits.txt"\n' % sha256.upper(),
        }
        for form, sums in forms.items():
            expected = text(["digits.txt: OK"] * (2 if form == "openssl" or form == "certutil"
                                                  else 1) + ["empty.bin: OK"] * (
                form in ("sfv", "one space", "get-filehash")))
            self.assertEqual(self.check(sums, "--strict"), (0, expected, []), (form, sums))
            # As Windows PowerShell 5 writes files: UTF-16, little-endian, with CRLF.
            utf16 = b"\xff\xfe" + sums.replace("\n", "\r\n").encode("utf-16-le")
            self.assertEqual(self.check(utf16, "--strict"), (0, expected, []), form)
        big_endian = b"\xfe\xff" + forms["tab"].encode("utf-16-be")
        self.assertEqual(self.check(big_endian)[:2], (0, text(["digits.txt: OK"])))

    def test_warn_names_each_line_in_no_known_form(self):
        sums = "# comment\n%s\nnot a line\n%s  digits.txt\n" % (
            gnu_line("md5", "digits.txt"), DIGEST["md5"](b"")[1:])
        self.assertEqual(self.check(sums, "--warn"), (0, text(["digits.txt: OK"]), [
            "checksums-cli: sums: 3: improperly formatted checksum line",
            "checksums-cli: sums: 4: improperly formatted checksum line",
            "checksums-cli: WARNING: 2 lines are improperly formatted"]))

    # Checking

    def test_mismatches_missing_files_and_malformed_lines_in_a_windows_sums_file(self):
        data = FILES["digits.txt"]
        sums = "\r\n".join([
            "\ufeff# written on Windows: a byte-order mark, upper-case digits, a binary mark",
            DIGEST["sha256"](data).upper() + " *digits.txt",
            "",
            "SHA1 (empty.bin) = " + DIGEST["sha1"](b"x"),
            DIGEST["md5"](data) + "  missing.bin",
            "MD5 (digits.txt) = " + DIGEST["md5"](data)[:-1],
            "not a checksum line",
            bsd_line("sha3-512", "ünï cødé 文件.bin"),
        ]) + "\r\n"
        status, stdout, errors = self.check(sums.encode("utf-8"), "-a", "sha256,sha1,md5,sha3-512")
        self.assertEqual(status, 1)
        self.assertEqual(stdout, text(["digits.txt: OK", "empty.bin: FAILED",
                                       "missing.bin: FAILED open or read", "ünï cødé 文件.bin: OK"]))
        self.assertEqual(len(errors), 4, errors)
        self.assertTrue(errors[0].startswith("checksums-cli: cannot read missing.bin: "))
        self.assertEqual(errors[1:], ["checksums-cli: WARNING: 2 lines are improperly formatted",
                                      "checksums-cli: WARNING: 1 listed file could not be read",
                                      "checksums-cli: WARNING: 1 computed checksum did NOT match"])
        options = ["-a", "sha256,sha1,md5,sha3-512"]
        status, stdout, errors = self.check(sums.encode("utf-8"), "--quiet", *options)
        self.assertEqual((status, stdout), (1, text(["empty.bin: FAILED",
                                                     "missing.bin: FAILED open or read"])))
        self.assertEqual(len(errors), 4)
        self.assertEqual(self.check(sums.encode("utf-8"), "--status", *options), (1, "", []))
        status, stdout, errors = self.check(sums.encode("utf-8"), "--ignore-missing", *options)
        self.assertEqual((status, len(stdout.split(LINE_END)), len(errors)), (1, 4, 2))

    def test_strict_ignore_missing_and_files_with_nothing_to_check(self):
        sums = gnu_line("md5", "digits.txt") + "\nnot a checksum line\n"
        self.assertEqual(self.check(sums)[0], 0)
        self.assertEqual(self.check(sums, "--strict")[0], 1)
        status, stdout, errors = self.check(gnu_line("md5", "digits.txt").replace(
            "digits.txt", "missing.bin") + "\n", "--ignore-missing")
        self.assertEqual((status, stdout, errors), (1, "", ["checksums-cli: sums: no file was verified"]))
        for sums in ["not a checksum line\n", bsd_line("md5", "digits.txt") + "\n"]:
            self.assertEqual(self.check(sums, "-a", "sha1"), (2, "", [
                "checksums-cli: sums: no properly formatted checksum lines found"]))

    def test_a_length_two_algorithms_share_is_told_by_the_file_name_or_by_computing_both(self):
        lines = gnu_line("md5", "digits.txt") + "\n" + gnu_line("sha3-256", "digits.txt") + "\n"
        self.assertEqual(self.check(lines), (0, text(["digits.txt: OK"] * 2), []))
        self.assertEqual(self.check(lines, "-a", "md5,sha3-256")[:2], (0, text(["digits.txt: OK"] * 2)))
        self.assertEqual(self.check(lines, "-a", "md5,sha256")[0], 1)
        # The name says SHA-256, in any case: the SHA3-256 line fails and the MD5 one still passes.
        for name, sha3_line in [("SHA256SUMS", "FAILED"), ("sha256sum.txt", "FAILED"),
                                ("setup.iso.SHA3-256", "OK"), ("SHA3-256SUMS", "OK")]:
            self.write(name, lines)
            status, stdout, _ = self.run_program("-c", name)
            self.assertEqual(stdout, text(["digits.txt: OK", "digits.txt: " + sha3_line]), name)

    def test_expect_names_the_algorithm_that_matched(self):
        data = FILES["digits.txt"]
        spaced = " ".join(DIGEST["sha3-256"](data)[k:k + 2] for k in range(0, 64, 2)).upper()
        status, stdout, errors = self.run_program("--expect", spaced, "digits.txt", "empty.bin",
                                                  "missing.bin")
        self.assertEqual((status, stdout), (1, text([
            "digits.txt: OK (SHA3-256)", "empty.bin: FAILED", "missing.bin: FAILED open or read"])))
        for algorithm, standard_name in STANDARD_NAMES.items():
            expected = DIGEST[algorithm](FILES["empty.bin"])
            self.assertEqual(self.run_program("--expect", expected, "empty.bin")[:2],
                             (0, text(["empty.bin: OK (%s)" % standard_name])))
        self.assertEqual(self.run_program("--expect", DIGEST["md5"](data), "--status",
                                          input=data)[:2], (0, ""))

    def test_a_sums_file_that_cannot_be_read_gives_two_and_says_why(self):
        for sums, reason in [("missing.sums", "cannot read missing.sums: "), (".", "cannot read .: ")]:
            status, stdout, stderr = self.run_program("-c", sums)
            self.assertEqual((status, stdout), (2, ""), sums)
            self.assertEqual(len(self.error_lines(stderr)), 1, stderr)
            self.assertRegex(self.error_lines(stderr)[0], "^checksums-cli: " + reason + r"\S")

    def test_sums_and_listed_files_from_standard_input(self):
        data = FILES["empty.bin"] + b"piped"
        sums = gnu_line("sha1", "digits.txt") + "\n" + DIGEST["sha1"](data) + "  -\n"
        self.write("sums", sums)
        status, stdout, _ = self.run_program("-c", "sums", input=data)
        self.assertEqual((status, stdout), (0, text(["digits.txt: OK", "-: OK"])))
        for arguments in [("-c",), ("--check", "-")]:
            status, stdout, stderr = self.run_program(*arguments, input=sums.encode("utf-8")[:-3])
            self.assertEqual((status, stdout), (0, text(["digits.txt: OK"])), arguments)
            self.assertEqual(self.error_lines(stderr),
                             ["checksums-cli: WARNING: 1 line is improperly formatted"])

    def run_merged(self, *arguments):
        """Status and the program's lines, standard error's among standard output's as written."""
        result = subprocess.run(EMULATOR + [PROGRAM, *arguments], cwd=self.folder.name,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=300)
        lines = result.stdout.decode("utf-8").split(LINE_END)
        # Wine may add lines of its own; every listed name starts with "many/".
        return result.returncode, [l for l in lines if l.startswith(("checksums-cli", "many/"))]

    def test_many_files_read_at_once_are_reported_in_the_listed_order(self):
        # More files than are read at once, and more lines naming one file than one read serves.
        # What a file that cannot be read prints is learned from a check of one such file alone.
        os.makedirs(os.path.join(self.folder.name, "many", "folder"), exist_ok=True)
        cannot_read = {}
        for kind, name in [("MISSING", "many/gone"), ("UNREADABLE", "many/folder")]:
            self.write("one.sums", "%s  %s\n" % (DIGEST["md5"](b""), name))
            cannot_read[kind] = (name, self.error_lines(self.run_program("-c", "one.sums")[2])[0])
        sums, checked, expected, names = [], [], [], []
        for k in range(150):
            name, data = "many/%03d" % k, b"%d" % k * k
            self.write(name, data)
            digest = DIGEST["md5" if k % 2 else "sha256"](data)
            kind = ["OK", "MISSING", "UNREADABLE", "malformed", "FAILED"][k % 5]
            if kind == "malformed":
                # Said at once: the file named before waits for a line naming another.
                sums.append("%s  %s" % (digest[1:], name))
                checked.insert(last, "checksums-cli: many.sums: %d: improperly formatted "
                               "checksum line" % len(sums))
                continue
            last = len(checked)
            result = [name + ": " + kind]
            if kind in cannot_read:
                alone, reason = cannot_read[kind]
                name = "many/gone%03d" % k if kind == "MISSING" else alone
                result = [reason.replace(alone, name), name + ": FAILED open or read"]
            if kind == "FAILED":
                digest = "0" * len(digest)
            for _ in range(70 if k == 80 else 2 if kind == "FAILED" else 1):
                sums.append("%s  %s" % (digest, name))
                checked.extend(result)
            names.append(name)
            expected.extend(result if kind in cannot_read else [name + ": FAILED"])
        self.write("many.sums", text(sums))
        self.assertEqual(self.run_merged("-c", "--warn", "many.sums"), (1, checked + [
            "checksums-cli: WARNING: 30 lines are improperly formatted",
            "checksums-cli: WARNING: 60 listed files could not be read",
            "checksums-cli: WARNING: 60 computed checksums did NOT match"]))
        self.assertEqual(self.run_merged("--expect", "0" * 32, *names), (1, expected + [
            "checksums-cli: WARNING: 60 listed files could not be read",
            "checksums-cli: WARNING: 60 computed checksums did NOT match"]))

    def test_backslashes_in_an_unescaped_line_are_taken_as_they_are(self):
        # On Windows they separate folders; elsewhere they are part of the name.
        path = os.path.join("sub", "file.txt") if WINDOWS else "sub\\file.txt"
        os.makedirs(os.path.join(self.folder.name, "sub"), exist_ok=True)
        self.write(path, b"nested")
        status, stdout, _ = self.check(DIGEST["md5"](b"nested") + "  sub\\file.txt\n")
        self.assertEqual((status, stdout), (0, text(["sub\\file.txt: OK"])))
        # Written back, a separator is '/'; a backslash in a name asks for the escape.
        prefix, name = ("", "sub/file.txt") if WINDOWS else escaped("sub\\file.txt")
        status, stdout, _ = self.run_program("--format", "gnu", "-a", "md5", "sub\\file.txt")
        self.assertEqual(stdout, sums_text([prefix + DIGEST["md5"](b"nested") + "  " + name]))

    # NUL-ended lines, digest files named after their file, hashdeep's files, pasted digests

    def test_nul_ended_lines_keep_a_names_bytes_and_say_a_failed_write(self):
        with open("/dev/full", "wb") as full:
            result = subprocess.run(EMULATOR + [PROGRAM, "-z", "--format", "gnu", "-a", "md5",
                                                "digits.txt"], cwd=self.folder.name, stdout=full,
                                    stderr=subprocess.PIPE, timeout=120)
        self.assertEqual(result.returncode, 1)
        self.assertRegex(self.error_lines(result.stderr.decode())[0],
                         r"^checksums-cli: write error: \S")
        names = ["ünï cødé 文件.bin", "digits.txt"]
        self.assertEqual(self.run_program("-z", "--format", "gnu", "-a", "md5", *names)[:2],
                         (0, "".join(gnu_line("md5", name) + "\0" for name in names)))
        if WINDOWS:
            return
        name = b"caf\xe9.txt"
        with open(os.path.join(self.folder.name.encode(), name), "wb") as out:
            out.write(b"latin-1")
        theirs = subprocess.run(["sha256sum", "-z", name, "digits.txt"], cwd=self.folder.name,
                                capture_output=True)
        ours = subprocess.run([PROGRAM, "-z", "--format", "gnu", "-a", "sha256", name,
                               "digits.txt"], cwd=self.folder.name, capture_output=True)
        self.assertEqual((ours.returncode, ours.stdout), (0, theirs.stdout))


    def test_a_digest_file_named_after_its_file_checks_it_as_sha256sum_would(self):
        os.makedirs(os.path.join(self.folder.name, "dl"), exist_ok=True)
        data = b"a download" * 999
        self.write("dl/setup.iso", data)
        forms = ["%s\n", "%s", "%s\r\n", "%s *\n", "%s  \n", "%s  "]
        for k, (algorithm, *_) in enumerate(ALGORITHMS):
            digest = DIGEST[algorithm](data)
            extension = algorithm.upper() if k % 2 else algorithm
            for form in forms if algorithm == "sha256" else [forms[k % len(forms)]]:
                written = form % (digest.upper() if k % 3 == 0 else digest)
                self.write("dl/setup.iso." + extension, written)
                self.assertEqual(self.run_program("-c", "--strict", "dl/setup.iso." + extension)[:2],
                                 (0, text(["dl/setup.iso: OK"])), (extension, written))
        # The verdict sha256sum gives on the same digest written beside the name.
        for tool in COREUTILS_TOOLS:
            right = DIGEST[tool](data)
            for digest in (right, ("0" if right[0] != "0" else "1") + right[1:]):
                self.write("dl/setup.iso." + tool, digest + "\n")
                self.write("dl/line", "%s  setup.iso\n" % digest)
                theirs = subprocess.run([tool + "sum", "-c", "line"], capture_output=True,
                                        cwd=os.path.join(self.folder.name, "dl"))
                status, stdout, _ = self.run_program("-c", "dl/setup.iso." + tool)
                self.assertEqual((status, stdout), (theirs.returncode, text([
                    "dl/" + theirs.stdout.decode().strip()])), tool)
        # Neither a name that names no algorithm nor a digest of another length will do.
        sha256 = DIGEST["sha256"](data)
        for name, digest in [("dl/setup.iso.txt", sha256), ("dl/setup.iso.md5", sha256),
                             ("dl/.sha256", sha256), ("dl/setup.iso.sha256", sha256 + "*")]:
            self.write(name, digest + "\n")
            self.assertEqual(self.run_program("-c", name)[:2], (2, ""), name)
        self.write("dl/gone.iso.sha256", sha256)
        self.assertEqual(self.run_program("-c", "dl/gone.iso.sha256")[:2],
                         (1, text(["dl/gone.iso: FAILED open or read"])))

    def test_listed_names_are_found_beside_the_sums_file_from_any_folder(self):
        # As the verify window finds them: a digest-alone file's name carries its folder once.
        os.makedirs(os.path.join(self.folder.name, "beside"), exist_ok=True)
        for name, data in [("beside/a.txt", b"abc"), ("beside-up.txt", b"up"),
                           ("beside/setup.iso", b"x")]:
            self.write(name, data)
        self.write("beside/SHA256SUMS", "%s  a.txt\n%s  ../beside-up.txt\n" % (
            DIGEST["sha256"](b"abc"), DIGEST["sha256"](b"up")))
        self.write("beside/setup.iso.sha256", DIGEST["sha256"](b"x"))
        for sums, lines in [("beside/SHA256SUMS", ["a.txt: OK", "../beside-up.txt: OK"]),
                            ("beside/setup.iso.sha256", ["beside/setup.iso: OK"])]:
            self.assertEqual(self.run_program("-c", sums)[:2], (0, text(lines)), sums)

    def test_listed_names_that_reach_no_regular_file_here_are_unreadable_at_once(self):
        # Never opened nor read: a FIFO waits for ever, the empty device would pass as OK, and on
        # Windows opening a share or a pipe reaches the host or the pipe's server.
        os.makedirs(os.path.join(self.folder.name, "outside"), exist_ok=True)
        if WINDOWS:
            device, namespace = "names a device; not opened", \
                "names a path in the system's device namespace; not opened"
            cases = [("NUL", device), ("con.txt", device), ("COM1", device),
                     ("\\\\.\\pipe\\nothing-listens", namespace),
                     ("//host/share/a.txt", "names a network location; not opened")]
        else:
            fifo = os.path.join(self.folder.name, "outside", "fifo")
            os.mkfifo(fifo)
            cases = [("fifo", "not a file"), (fifo, "not a file"), ("/dev/null", "not a file")]
        self.write("outside/SHA256SUMS",
                   "".join("%s  %s\n" % (DIGEST["sha256"](b""), name) for name, _ in cases))
        status, stdout, stderr = self.run_program("-c", "outside/SHA256SUMS", timeout=60)
        self.assertEqual((status, stdout), (1, text(name + ": FAILED open or read"
                                                    for name, _ in cases)))
        self.assertEqual(self.error_lines(stderr)[:-1],
                         ["checksums-cli: cannot read %s: %s" % case for case in cases])

    def test_hashdeep_files_are_checked_by_their_columns_in_one_read(self):
        contents = {"digits.txt": FILES["digits.txt"], " spaced (name) = x": FILES[" spaced (name) = x"],
                    "a, b.txt": b"a comma in the name"}
        self.write("a, b.txt", contents["a, b.txt"])
        tiger, whirlpool = "7" * 48, "9" * 128

        def row(name, data, columns):
            values = {"size": str(len(data)), "tiger": tiger, "whirlpool": whirlpool,
                      "sha-256": DIGEST["sha256"](data), "filename": name}
            return ",".join(values[c] if c in values else DIGEST[c](data) for c in columns)

        def hashdeep(columns, rows):
            return "%%%%%%%% HASHDEEP-1.0\n%%%%%%%% %s\n## Invoked from: %s\n## $ hashdeep -r .\n##\n%s" % (
                ",".join(columns), self.folder.name, "".join(line + "\n" for line in rows))

        for columns in (["size", "md5", "sha256", "filename"],
                        ["size", "sha1", "tiger", "sha-256", "whirlpool", "filename"]):
            sums = hashdeep(columns, [row(name, data, columns) for name, data in contents.items()])
            self.assertEqual(self.check(sums, "--strict"), (0, text(n + ": OK" for n in contents), []))
        # Standard input can be read once only: both digests come from the one read.
        columns = ["size", "md5", "sha256", "filename"]
        data = b"read once"
        wrong_sha256 = "9,%s,%s,digits.txt" % (DIGEST["md5"](FILES["digits.txt"]), "0" * 64)
        sums = hashdeep(columns, [row("-", data, columns), wrong_sha256,
                                  row("missing.bin", data, columns), "9,not,a,row"])
        status, stdout, errors = self.check(sums, input=data)
        self.assertEqual((status, stdout), (1, text(["-: OK", "digits.txt: FAILED",
                                                     "missing.bin: FAILED open or read"])))
        self.assertIn("checksums-cli: WARNING: 1 line is improperly formatted", errors)
        # -a leaves the other columns out.
        self.assertEqual(self.check(sums, "-a", "md5", input=data)[:2], (1, text([
            "-: OK", "digits.txt: OK", "missing.bin: FAILED open or read"])))

    def test_expect_takes_a_digest_as_pages_show_it(self):
        data = FILES["digits.txt"]
        sha256, md5, sha3 = DIGEST["sha256"](data), DIGEST["md5"](data), DIGEST["sha3-256"](data)
        for pasted, matched in [
                ("sha256:" + sha256, "SHA-256"), ("SHA256: " + sha256.upper(), "SHA-256"),
                ("SHA-256 = " + sha256, "SHA-256"), ("SHA3-256:" + sha3, "SHA3-256"),
                ("sha2-256=" + sha256, "SHA-256"), ("MD5 : " + md5, "MD5"),
                (":".join(md5[k:k + 2] for k in range(0, 32, 2)), "MD5"),
                ("SHA-256: " + " ".join(sha256[k:k + 4] for k in range(0, 64, 4)), "SHA-256")]:
            self.assertEqual(self.run_program("--expect", pasted, "digits.txt")[:2],
                             (0, text(["digits.txt: OK (%s)" % matched])), pasted)
        # The name decides: a SHA-256 digest named SHA3-256 is checked as SHA3-256 only.
        self.assertEqual(self.run_program("--expect", "SHA3-256:" + sha256, "digits.txt")[:2],
                         (1, text(["digits.txt: FAILED"])))
        for arguments, problem in [
                (("--expect", "sha256:" + md5), "'sha256:%s' is no SHA-256 digest: it needs 64" % md5),
                (("--expect", "sha265:" + sha256), "'sha265:%s' is no digest" % sha256),
                (("--expect", md5[:2] + "::" + md5[2:]), "'%s::%s' is no digest" % (md5[:2], md5[2:])),
                (("--expect", md5 + ":"), "'%s:' is no digest" % md5),
                (("--expect", "sha256:"), "'sha256:' is no digest"),
                (("--expect", "sha256:" + sha256 + " x"), "'sha256:%s x' is no digest" % sha256),
                (("-a", "md5", "--expect", "sha256:" + sha256), "--expect: SHA-256 is not among")]:
            status, stdout, stderr = self.run_program(*arguments, "digits.txt")
            errors = [line for line in stderr.split(LINE_END)
                      if line.startswith(("checksums-cli", "Try "))]
            self.assertEqual((status, stdout, len(errors)), (2, "", 2), arguments)
            if problem.startswith("'"):
                problem = "--expect " + problem
            self.assertTrue(errors[0].startswith("checksums-cli: " + problem), errors[0])


    def test_algorithm_lists_here_agree_with_the_engines_table(self):
        table = algorithm_table()
        self.assertEqual(table[:11], [(name, tag, label) for name, tag, label, _ in ALGORITHMS])
        self.assertEqual([name for name, *_ in table[11:]], [name for name, *_ in BEYOND])

    def runnable_backends(self, algorithm):
        """The backends of `algorithm` this processor runs, as the refusal of a wrong pin lists them."""
        _, _, stderr = self.run_program("--backend", algorithm + "=none", "digits.txt")
        return self.error_lines(stderr)[0].split("choose from ")[1].split(", ")

    def test_beyond_the_eleven_equal_b3sum_and_xxhsum_on_every_length_and_backend(self):
        os.makedirs(os.path.join(self.folder.name, "lengths"), exist_ok=True)
        pattern = bytes(generator.getrandbits(8) for _ in range(DIFFERENTIAL_LENGTHS[-1]))
        names = ["lengths/%07d.bin" % length for length in DIFFERENTIAL_LENGTHS]
        for name, length in zip(names, DIFFERENTIAL_LENGTHS):
            self.write(name, pattern[:length])
        self.write("lengths.txt", "".join(name + "\n" for name in names))
        for algorithm, tool, _, form in BEYOND:
            _, theirs, _ = self.run_tool(*tool, *names)
            for backend in self.runnable_backends(algorithm):
                status, ours, _ = self.run_program("--format", form, "-a", algorithm, "--backend",
                                                   algorithm + "=" + backend, "--files-from",
                                                   "lengths.txt", "--no-progress")
                self.assertEqual(status, 0, (algorithm, backend))
                self.assertEqual(ours.replace(LINE_END, "\n"), theirs, (algorithm, backend))

    def test_sums_files_of_b3sum_and_xxhsum_check_here_and_ours_check_there(self):
        for algorithm, tool, length, form in BEYOND:
            _, theirs, _ = self.run_tool(*tool, *NAMES[:5])
            self.write(algorithm.upper() + "SUMS", theirs)
            status, stdout, stderr = self.run_program("-c", algorithm.upper() + "SUMS")
            self.assertEqual((status, stdout, self.error_lines(stderr)),
                             (0, text(ok_line(n) for n in NAMES[:5]), []), algorithm)
            # Their tools check what we write.
            _, ours, _ = self.run_program("--format", form, "-a", algorithm, *NAMES[:5])
            self.write("ours", ours.replace(LINE_END, "\n"))
            checker = ["b3sum", "--check"] if algorithm == "blake3" else ["xxhsum", "-c"]
            status, stdout, _ = self.run_tool(*checker, "ours")
            self.assertEqual((status, stdout), (0, "".join(ok_line(n) + "\n" for n in NAMES[:5])),
                             algorithm)
        # b3sum's lines under their usual name; xxhsum's XXH3 in the prefixed GNU form, and its
        # XXH128, of MD5's length, told from MD5 by computing both.
        _, b3sums, _ = self.run_tool("b3sum", "digits.txt")
        self.write("B3SUMS", b3sums)
        xxh3 = self.run_tool("xxhsum", "-H3", "digits.txt")[1].split(" = ")[1].strip()
        xxh128 = self.run_tool("xxhsum", "-H2", "digits.txt")[1].split()[0]
        for sums, lines in [("B3SUMS", None), ("sums", "XXH3_%s  digits.txt\n" % xxh3),
                            ("sums", "%s  digits.txt\n" % xxh128)]:
            if lines:
                self.write(sums, lines)
            status, stdout, stderr = self.run_program("-c", sums)
            self.assertEqual((status, stdout, self.error_lines(stderr)),
                             (0, text(["digits.txt: OK"]), []), sums)

    def test_bad_lines_of_the_new_algorithms_are_named_not_guessed(self):
        sha256 = DIGEST["sha256"](FILES["digits.txt"])
        # A B3SUMS holding SHA-256 lines: the name says BLAKE3, so the line fails.
        self.write("B3SUMS", "%s  digits.txt\n" % sha256)
        status, stdout, _ = self.run_program("-c", "B3SUMS")
        self.assertEqual((status, stdout), (1, text(["digits.txt: FAILED"])))
        for line in ["XXH3_%s  digits.txt" % ("0" * 15), "BLAKE3 (digits.txt) = " + "0" * 63,
                     "XXH128 (digits.txt) = " + "0" * 16]:
            status, stdout, errors = self.check(line + "\n", "--warn")
            self.assertEqual(status, 2, line)
            self.assertIn("checksums-cli: sums: 1: improperly formatted checksum line", errors)

    def make_tree(self, folder, files):
        for name, data in files.items():
            os.makedirs(os.path.dirname(os.path.join(self.folder.name, folder, name)),
                        exist_ok=True)
            self.write(os.path.join(folder, name), data)

    def read(self, name):
        with open(os.path.join(self.folder.name, name), "rb") as source:
            return source.read()

    def test_update_adds_the_unlisted_in_the_files_own_form_and_keeps_the_missing(self):
        sha256 = DIGEST["sha256"]
        before = ("%s *a.txt\r\n%s *sub/gone.txt\r\n" % (sha256(b"a"), sha256(b"gone"))).encode()
        self.make_tree("update", {"SHA256SUMS": before, "SHA256SUMS.asc": "", "MD5SUMS": "",
                                  "a.txt": "a", "b.txt": "b", "sub/c.txt": "c"})
        sums = os.path.join("update", "SHA256SUMS")
        self.assertEqual(self.run_program("--unlisted", sums), (1, text(["b.txt", "sub/c.txt"]), ""))
        self.assertEqual(self.run_program("--update", sums),
                         (0, text(["b.txt: ADDED", "sub/c.txt: ADDED", "sub/gone.txt: MISSING"]), ""))
        added = "%s *b.txt\r\n%s *sub/c.txt\r\n" % (sha256(b"b"), sha256(b"c"))
        self.assertEqual(self.read(sums), before + added.encode())
        self.assertEqual(self.run_program("--unlisted", sums), (0, "", ""))
        status, _, _ = self.run_program("-c", "--ignore-missing", sums)
        self.assertEqual(status, 0)

    def test_update_on_a_full_disk_leaves_the_sums_file_and_its_folder_as_they_were(self):
        before = ("%s  a.txt\n" % DIGEST["sha256"](b"a")).encode()
        self.make_tree("disk-is-full", {"SHA256SUMS": before, "a.txt": "a", "b.txt": "b"})
        folder = os.path.join(self.folder.name, "disk-is-full")
        environment = dict(os.environ, LD_PRELOAD=os.environ["READ_FAULTS_LIBRARY"],
                           ASAN_OPTIONS="verify_asan_link_order=0")
        result = subprocess.run(EMULATOR + [PROGRAM, "--update", "disk-is-full/SHA256SUMS"],
                                cwd=self.folder.name, capture_output=True, timeout=120,
                                env=environment)
        errors = self.error_lines(result.stderr.decode("utf-8"))
        self.assertEqual((result.returncode, result.stdout), (2, b""), errors)
        self.assertTrue(errors[0].startswith("checksums-cli: disk-is-full/SHA256SUMS: not "
                                             "updated: "), errors)
        self.assertEqual(self.read("disk-is-full/SHA256SUMS"), before)
        self.assertEqual(sorted(os.listdir(folder)), ["SHA256SUMS", "a.txt", "b.txt"])

    def test_gpg_output_7zip_tables_and_backslash_names_are_checked(self):
        sha256 = DIGEST["sha256"](b"abc").upper()
        gpg = "a.txt: %s\n        %s\n" % (" ".join(sha256[i:i + 8] for i in range(0, 56, 8)),
                                            sha256[56:])
        crc = DIGEST["crc32"](b"abc").upper()
        table = ("CRC32             Size  Name\n-------- -------------  ------------\n"
                 "%s             3  sub\\b.txt\n-------- -------------  ------------\n"
                 "%s             3\n\nSize: 3\n" % (crc, crc))
        self.make_tree("others", {"a.txt": "abc", "sub/b.txt": "abc", "gpg.txt": gpg,
                                  "table.txt": table})
        for sums, name in [("gpg.txt", "a.txt"), ("table.txt", "sub\\b.txt")]:
            self.assertEqual(self.run_program("-c", "--strict", os.path.join("others", sums)),
                             (0, text([name + ": OK"]), ""), sums)

    def test_benchmark_lists_every_backend_this_processor_runs_the_chosen_and_the_pinned(self):
        status, stdout, _ = self.run_program("--benchmark", "--backend", "sha512=generic",
                                             "digits.txt", timeout=120)
        self.assertEqual(status, 0)
        lines = stdout.split(LINE_END)
        with open("/proc/cpuinfo") as cpuinfo:
            fields = dict(line.split(":", 1) for line in cpuinfo.read().split("\n\n")[0]
                          .splitlines() if ":" in line)
        model = fields["model name\t"].strip()
        vendor = fields["vendor_id\t"].strip()
        self.assertTrue(lines[0].startswith("Processor: %s (%s family " % (model, vendor)),
                        lines[0])
        self.assertRegex(lines[2], r"^Backends chosen by speed in [0-9.]+ ms$")
        end = lines.index("", 5)
        rows = [line.split(None, 3) for line in lines[5:end]]
        self.assertEqual(lines[end + 1], "Read of digits.txt: 9 bytes in " +
                         lines[end + 1].split(" in ")[1])
        lists, everywhere = engine_backends()
        for name, _, _, _ in ALGORITHMS:
            mine = [row for row in rows if row[0] == name]
            listed = lists[BACKEND_LIST[name]]
            names = [row[1] for row in mine]
            # The engine's own names, in its list's order, ending with the generic code, and
            # every backend that any processor runs among them.
            self.assertEqual(names, [backend for backend in listed if backend in names], name)
            self.assertEqual(names[-1], "generic", name)
            for backend in listed:
                if (BACKEND_LIST[name], backend) in everywhere:
                    self.assertIn(backend, names, name)
            for row in mine:
                self.assertGreater(float(row[2]), 0, row)
            marks = [row[3] if len(row) > 3 else "" for row in mine]
            self.assertEqual(len([mark for mark in marks if mark.startswith("chosen")]), 1, name)
            pinned = [row[1] for row in mine if len(row) > 3 and row[3].endswith("pinned")]
            chosen = names[[mark.startswith("chosen") for mark in marks].index(True)]
            expected = ["generic"] if name in ("sha384", "sha512") and chosen != "generic" else []
            self.assertEqual(pinned, expected, name)

    def test_backend_pins_each_backend_this_processor_runs(self):
        big = "one mebibyte and more.bin"
        lists, _ = engine_backends()
        for name, _, _, _ in ALGORITHMS:
            # The refusal of a name the engine lacks lists those this processor runs.
            status, stdout, stderr = self.run_program("--backend", name + "=none", "digits.txt")
            errors = self.error_lines(stderr)
            self.assertEqual((status, stdout), (2, ""), name)
            prefix = "checksums-cli: --backend: %s has no backend 'none' that this processor " \
                     "runs; choose from " % name
            self.assertTrue(errors[0].startswith(prefix), errors)
            runnable = errors[0][len(prefix):].split(", ")
            listed = lists[BACKEND_LIST[name]]
            self.assertEqual(runnable, [backend for backend in listed if backend in runnable])
            self.assertEqual(runnable[-1], "generic")
            for backend in runnable:
                pin = "%s=%s" % (name.upper(), backend)
                status, stdout, _ = self.run_program("-a", name, "--format", "gnu", "--backend",
                                                     pin, big)
                self.assertEqual((status, stdout), (0, sums_text([gnu_line(name, big)])), pin)
        status, stdout, _ = self.run_program("--backend", "md5=generic,sha1=generic", "--backend",
                                             "sha3-256=generic", "digits.txt")
        self.assertEqual((status, stdout), (0, expected_report(["digits.txt"])))
        for pin, problem in [("sha265=generic", "--backend: unknown algorithm 'sha265'"),
                             ("sha256", "--backend 'sha256' is not ALGORITHM=BACKEND"),
                             ("md5=generic,", "--backend '' is not ALGORITHM=BACKEND")]:
            status, stdout, stderr = self.run_program("--backend", pin, "digits.txt")
            errors = self.error_lines(stderr)
            self.assertEqual((status, stdout), (2, ""), pin)
            self.assertTrue(errors[0].startswith("checksums-cli: " + problem), errors)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1] + (["ChecksumsCli." + CASE] if CASE else []), verbosity=2)
