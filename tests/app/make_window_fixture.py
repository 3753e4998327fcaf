#!/usr/bin/env python3
"""Writes the files the end-to-end window tests show, and their eleven digests as computed by
Python's hashlib and zlib (an implementation independent of ours), into expected.tsv.

contended.bin is shown while a second program appends to it: its rows "contended.bin+K" are of
the file with K bytes appended, as file_contender.exe appends them."""
import hashlib
import os
import random
import sys
import zlib

ALGORITHMS = ["sha1", "sha224", "sha256", "sha384", "sha512",
              "sha3_224", "sha3_256", "sha3_384", "sha3_512"]
CONTENDED_SIZE = 48 * 1048576
APPENDED_BYTE = b"A"
APPENDED_ROWS = 1024


def hashers(data):
    return [hashlib.md5(data)] + [hashlib.new(name, data) for name in ALGORITHMS]


def digests(data):
    return ["%08x" % (zlib.crc32(data) & 0xFFFFFFFF)] + [h.hexdigest() for h in hashers(data)]


def grown_digests(data):
    """Rows of data with 1 to APPENDED_ROWS appended bytes, without hashing data again for each."""
    running = hashers(data)
    crc = zlib.crc32(data)
    for appended in range(1, APPENDED_ROWS + 1):
        crc = zlib.crc32(APPENDED_BYTE, crc)
        for hasher in running:
            hasher.update(APPENDED_BYTE)
        yield appended, ["%08x" % (crc & 0xFFFFFFFF)] + [h.hexdigest() for h in running]


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
        "contended.bin": generator.randbytes(CONTENDED_SIZE),
    }
    os.makedirs(os.path.join(folder, long_folder), exist_ok=True)
    with open(os.path.join(folder, "expected.tsv"), "w", encoding="utf-8") as expected:
        for name, data in files.items():
            with open(os.path.join(folder, name), "wb") as out:
                out.write(data)
            windows_name = name.replace("/", "\\")
            expected.write("\t".join([windows_name] + digests(data)) + "\n")
        for appended, row in grown_digests(files["contended.bin"]):
            expected.write("\t".join(["contended.bin+%d" % appended] + row) + "\n")


if __name__ == "__main__":
    main(sys.argv[1])
