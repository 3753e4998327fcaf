#!/usr/bin/env python3
"""Many small files and one large one through checksums-cli, beside coreutils' *sum tools.

Usage: many_files.py NATIVE-PROGRAM [WINDOWS-PROGRAM]

Natively: 20,000 files of 1 to 4 KiB named on the command line, with one digest and with two;
`-c` of a 10,000-line sums file; a 1 GiB file held in the page cache. With WINDOWS-PROGRAM the
same under Wine (run inside scripts/wine-session.sh, so that one wineserver serves every run),
with the files named by `-r` and `--files-from`: a Windows command line holds about 32,000
characters. Prints a Markdown table; each figure is the median of five runs, output discarded.
"""
import os
import random
import statistics
import subprocess
import sys
import time

FOLDER = os.path.join(os.path.dirname(os.path.abspath(sys.argv[1])), "bench", "many-files")
FILES = 20000
CHECKED = 10000
LARGE = 1 << 30
ROUNDS = 5


def prepare():
    """The files (made once), their names in order, a sums file and a list of names."""
    files = os.path.join(FOLDER, "files")
    names = ["files/%05d.bin" % i for i in range(FILES)]
    if not os.path.exists(os.path.join(FOLDER, names[-1])):
        os.makedirs(files, exist_ok=True)
        generator = random.Random(20000)
        for name in names:
            with open(os.path.join(FOLDER, name), "wb") as out:
                out.write(generator.randbytes(generator.randint(1024, 4096)))
    large = os.path.join(FOLDER, "large.bin")
    if not os.path.exists(large) or os.path.getsize(large) != LARGE:
        with open(large, "wb") as out:
            piece = random.Random(1).randbytes(1 << 20)
            for _ in range(LARGE >> 20):
                out.write(piece)
    sums = subprocess.run(["sha256sum", *names[:CHECKED]], cwd=FOLDER, capture_output=True,
                          check=True).stdout
    with open(os.path.join(FOLDER, "SHA256SUMS"), "wb") as out:
        out.write(sums)
    with open(os.path.join(FOLDER, "list"), "w") as out:
        out.write("".join(name.replace("/", "\\") + "\n" for name in names))
    return names


def seconds(command, expect_output=None):
    """Median wall time of `command` run in FOLDER, its output discarded."""
    times = []
    for _ in range(ROUNDS):
        start = time.perf_counter()
        result = subprocess.run(command, cwd=FOLDER, stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL)
        times.append(time.perf_counter() - start)
        if result.returncode != 0:
            sys.exit("failed: %s" % " ".join(command[:4]))
        if expect_output is not None and result.stdout.replace(b"\r\n", b"\n") != expect_output:
            sys.exit("output differs: %s" % " ".join(command[:4]))
    return statistics.median(times)


def row(what, ours, theirs_label, theirs, target, limit):
    ratio = ours / theirs
    mark = "met" if ratio <= limit else "missed"
    print("| %s | %.2f s | %s | %.2f s | %.2f | %s (%s) |" % (what, ours, theirs_label, theirs,
                                                             ratio, target, mark))


def main():
    native = os.path.abspath(sys.argv[1])
    windows = os.path.abspath(sys.argv[2]) if len(sys.argv) > 2 else None
    names = prepare()
    sha256sum = subprocess.run(["sha256sum", *names], cwd=FOLDER, capture_output=True).stdout
    print("## Many files through checksums-cli (native, beside coreutils)\n")
    print("%d files of 1 to 4 KiB named on the command line, `-c` of %d of them, a 1 GiB file "
          "in the page cache; medians of %d runs.\n" % (FILES, CHECKED, ROUNDS))
    print("| command | ours | usual tool | theirs | ratio | target |")
    print("|---|---:|---|---:|---:|---|")
    ours = seconds([native, "-a", "sha256", "--format", "gnu", *names], sha256sum)
    theirs = seconds(["sha256sum", *names], sha256sum)
    row("`-a sha256 --format gnu`", ours, "`sha256sum`", theirs, "<= 1.0", 1.0)
    ours = seconds([native, "-a", "md5,sha256", "--format", "bsd", *names])
    theirs = seconds(["md5sum", *names]) + seconds(["sha256sum", *names])
    row("`-a md5,sha256 --format bsd`", ours, "`md5sum`, `sha256sum`", theirs, "<= 0.6", 0.6)
    ours = seconds([native, "-c", "-a", "sha256", "SHA256SUMS"])
    theirs = seconds(["sha256sum", "-c", "SHA256SUMS"])
    row("`-c -a sha256` (%d lines)" % CHECKED, ours, "`sha256sum -c`", theirs, "<= 0.4", 0.4)
    ours = seconds([native, "-a", "sha256", "large.bin"])
    theirs = seconds(["sha256sum", "large.bin"])
    row("`-a sha256`, 1 GiB", ours, "`sha256sum`", theirs, "as before (0.68 s)", 1.0)
    # The algorithms from their authors' code, against their authors' tools on one thread; ours
    # prints their lines to the byte. The speed targets, as time: 0.95x b3sum's speed, 0.9x
    # xxhsum's.
    for algorithm, form, tool, limit in [
            ("blake3", "gnu", ["b3sum", "--num-threads", "1"], 1 / 0.95),
            ("xxh3", "bsd", ["xxhsum", "-H3"], 1 / 0.9),
            ("xxh128", "gnu", ["xxhsum", "-H2"], 1 / 0.9)]:
        theirs_output = subprocess.run(tool + ["large.bin"], cwd=FOLDER, capture_output=True).stdout
        ours = seconds([native, "-a", algorithm, "--format", form, "large.bin"], theirs_output)
        theirs = seconds(tool + ["large.bin"], theirs_output)
        row("`-a %s`, 1 GiB" % algorithm, ours, "`%s`" % " ".join(tool), theirs,
            "<= %.2f" % limit, limit)
    # b3sum's default run hashes subtrees on every core; ours reads and hashes on one.
    ours = seconds([native, "-a", "blake3", "large.bin"])
    theirs = seconds(["b3sum", "large.bin"])
    row("`-a blake3`, 1 GiB (one thread)", ours, "`b3sum` (all cores)", theirs, "shown only",
        float("inf"))
    if not windows:
        return
    print("\n## The same under Wine\n")
    print("`checksums-cli.exe` under Wine 8 with a persistent wineserver; the files named by "
          "`-r files` and by `--files-from list`.\n")
    print("| command | seconds |")
    print("|---|---:|")
    wine = ["wine", windows]
    for label, arguments in [
            ("`-r files -a sha256 --format gnu`", ["-r", "files", "-a", "sha256", "--format", "gnu"]),
            ("`--files-from list -a sha256 --format gnu`",
             ["--files-from", "list", "-a", "sha256", "--format", "gnu"]),
            ("`-r files -a md5,sha256 --format bsd`",
             ["-r", "files", "-a", "md5,sha256", "--format", "bsd"]),
            ("`-c -a sha256` (%d lines)" % CHECKED, ["-c", "-a", "sha256", "SHA256SUMS"]),
            ("`-a sha256`, 1 GiB", ["-a", "sha256", "large.bin"])]:
        print("| %s | %.2f |" % (label, seconds(wine + arguments)))


if __name__ == "__main__":
    main()
