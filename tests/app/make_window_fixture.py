#!/usr/bin/env python3
"""Writes the files the end-to-end window tests show, and their eleven digests as computed by
Python's hashlib and zlib (an implementation independent of ours), into expected.tsv."""
import hashlib
import os
import random
import sys
import zlib

ALGORITHMS = ["sha1", "sha224", "sha256", "sha384", "sha512",
              "sha3_224", "sha3_256", "sha3_384", "sha3_512"]


def digests(data):
    row = ["%08x" % (zlib.crc32(data) & 0xFFFFFFFF), hashlib.md5(data).hexdigest()]
    return row + [hashlib.new(name, data).hexdigest() for name in ALGORITHMS]


def main(folder):
    generator = random.Random(20261207)
    long_folder = os.path.join("L" * 120, "M" * 120, "N" * 60)
    files = {
        "two words.bin": generator.randbytes(3 * 1048576 + 17),
        "empty.bin": b"",
        "chosen.txt": b"the quick brown fox jumps over the lazy dog\n" * 1000,
        "first.dat": generator.randbytes(4096),
        "second.dat": generator.randbytes(100),
        os.path.join(long_folder, "deep file.bin"): generator.randbytes(70000),
    }
    os.makedirs(os.path.join(folder, long_folder), exist_ok=True)
    with open(os.path.join(folder, "expected.tsv"), "w", encoding="utf-8") as expected:
        for name, data in files.items():
            with open(os.path.join(folder, name), "wb") as out:
                out.write(data)
            windows_name = name.replace("/", "\\")
            expected.write("\t".join([windows_name] + digests(data)) + "\n")


if __name__ == "__main__":
    main(sys.argv[1])
