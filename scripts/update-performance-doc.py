#!/usr/bin/env python3
"""Puts the results of make bench into docs/performance.md, one section per processor.

Usage: update-performance-doc.py DOC MARKER RESULTS

Below the MARKER line the document holds one section per processor measured, each opened by a
"## Results on PROCESSOR" line, as the digest benchmark writes it. The RESULTS file is one such
section: it replaces the section of the same processor, or joins the others after them.
"""
import sys

HEADING = "## Results on "


def sections(lines):
    """The lines split where each processor's heading opens its section."""
    found = []
    for line in lines:
        if line.startswith(HEADING) or not found:
            found.append([])
        found[-1].append(line)
    return found


def main():
    doc_path, marker, results_path = sys.argv[1:4]
    with open(doc_path, encoding="utf-8") as doc:
        lines = doc.read().splitlines(keepends=True)
    with open(results_path, encoding="utf-8") as results:
        new = results.read().strip("\n") + "\n"
    if marker + "\n" not in lines:
        sys.exit("%s has no line %r" % (doc_path, marker))
    cut = lines.index(marker + "\n") + 1
    heading = new.splitlines()[0]
    if not heading.startswith(HEADING):
        sys.exit("%s does not open with %r" % (results_path, HEADING))
    kept = [section for section in sections(lines[cut:])
            if section[0].startswith(HEADING) and section[0].rstrip("\n") != heading]
    body = "".join("\n" + "".join(section).strip("\n") + "\n" for section in kept)
    with open(doc_path, "w", encoding="utf-8") as doc:
        doc.write("".join(lines[:cut]) + body + "\n" + new)


if __name__ == "__main__":
    main()
