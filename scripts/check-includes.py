#!/usr/bin/env python3
"""Fails when an #include "..." of the tree points up, or when files include each other.

Every include must point down or stay within its folder. The folders' order: runtime at the
bottom; digest and toolkit on it; report on digest; app on report and toolkit; sums (the sums
files and the checking both programs share) on report; cli, and each of its folders, on sums;
verify, the verifying window, on sums and toolkit, and nothing on verify; installer (the setup
program's helper) on nothing; tests/support (with the window driver) on every product folder;
tests/driver (show-window) on it; the other tests on top, and bench on tests/support alone.
Within cli its folders have an order of their own (CLI_BELOW).

Files that include each other, directly or through a chain, fail as well. With --units the
check also takes a file and the files of its name in its folder (x.h, x.cpp, x_win32.cpp) as one
unit, and units that depend on each other that way fail too, two .cpp files that include each
other's headers for one.
"""
import os
import re
import subprocess
import sys

# The console companion's folders, in the same way: its options at the bottom; the console and
# file system on them; the files to read on those; checking and listing on all of these; the
# program itself (the files directly in cli/) at the top.
CLI_BELOW = {
    "cli/options": set(),
    "cli/console": {"cli/options"},
    "cli/inputs": {"cli/console", "cli/options"},
    "cli/checking": {"cli/inputs", "cli/console", "cli/options"},
    "cli/listing": {"cli/inputs", "cli/console", "cli/options"},
}
CLI_BELOW["cli"] = set(CLI_BELOW)
PRODUCT = {"runtime", "digest", "toolkit", "report", "app", "sums", "verify", "installer"} | \
    set(CLI_BELOW)
# What each folder may include besides itself.
BELOW = {
    "runtime": set(),
    "digest": {"runtime"},
    "toolkit": {"runtime"},
    "report": {"digest", "runtime"},
    "app": {"report", "toolkit", "digest", "runtime"},
    "sums": {"report", "digest", "runtime"},
    "verify": {"sums", "report", "toolkit", "digest", "runtime"},
    **{folder: {"sums", "report", "digest", "runtime"} | below
       for folder, below in CLI_BELOW.items()},
    "installer": set(),
    "tests/support": PRODUCT,
    "tests/driver": PRODUCT | {"tests/support"},
    "tests": PRODUCT | {"tests/support", "tests/driver"},
    "bench": PRODUCT | {"tests/support"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.MULTILINE)
PLATFORM_SUFFIX = re.compile(r"_(win32|posix)$")


def folder_of(path):
    if path.startswith("tests/support/"):
        return "tests/support"
    if path.startswith("tests/driver/"):
        return "tests/driver"
    parts = path.split("/")
    if parts[0] == "cli" and len(parts) > 2:
        return "cli/" + parts[1]
    return parts[0]


def unit_of(path):
    stem = os.path.splitext(path)[0]
    return PLATFORM_SUFFIX.sub("", stem)


def resolve(including, name, files):
    for candidate in (name, os.path.normpath(os.path.join(os.path.dirname(including), name))):
        if candidate in files:
            return candidate
    return None  # a generated or system header


def cycles_of(edges):
    """The groups of units that reach one another through includes (Tarjan's algorithm)."""
    index, low, on_stack, stack, groups = {}, {}, set(), [], []

    def visit(unit):
        index[unit] = low[unit] = len(index)
        stack.append(unit)
        on_stack.add(unit)
        for target in sorted(edges.get(unit, ())):
            if target not in index:
                visit(target)
                low[unit] = min(low[unit], low[target])
            elif target in on_stack:
                low[unit] = min(low[unit], index[target])
        if low[unit] == index[unit]:
            group = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                group.append(member)
                if member == unit:
                    break
            if len(group) > 1:
                groups.append(sorted(group))

    for unit in sorted(edges):
        if unit not in index:
            visit(unit)
    return groups


def main():
    root = subprocess.run(["git", "rev-parse", "--show-toplevel"], capture_output=True,
                          text=True, check=True).stdout.strip()
    os.chdir(root)
    listed = subprocess.run(["git", "ls-files", "--cached", "--others", "--exclude-standard",
                             "*.h", "*.cpp"], capture_output=True, text=True, check=True)
    files = {path for path in listed.stdout.split() if os.path.exists(path)}
    failures = []
    edges = {}
    for path in sorted(files):
        with open(path, encoding="utf-8") as source:
            text = source.read()
        for match in INCLUDE.finditer(text):
            target = resolve(path, match.group(1), files)
            if not target:
                continue
            line = text.count("\n", 0, match.start()) + 1
            source_folder, target_folder = folder_of(path), folder_of(target)
            allowed = BELOW.get(source_folder)
            if (source_folder != target_folder and allowed is not None
                    and target_folder not in allowed):
                failures.append(f"{path}:{line}: includes {target}, which is not below "
                                f"{source_folder}/")
            edges.setdefault(path, set()).add(target)
    for group in cycles_of(edges):
        failures.append("files include each other: " + ", ".join(group))
    if "--units" in sys.argv[1:]:
        units = {}
        for path, targets in edges.items():
            for target in targets:
                if unit_of(path) != unit_of(target):
                    units.setdefault(unit_of(path), set()).add(unit_of(target))
        for group in cycles_of(units):
            failures.append("units depend on each other: " + ", ".join(group))
    for failure in failures:
        print(failure, file=sys.stderr)
    if failures:
        return 1
    units = ", no circle of units" if "--units" in sys.argv[1:] else ""
    print(f"includes: {len(files)} files, every include points down, no cycle{units}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
