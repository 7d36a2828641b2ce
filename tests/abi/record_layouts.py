#!/usr/bin/env python3
"""Compares the record layouts a C program built for the target printed with
the layouts the header states.

    record_layouts.py HEADER < LAYOUTS

LAYOUTS holds "pointer: N bytes." and one "Record: N bytes; member at O, ..."
line per record. The header states each record's layout in its comment as
"Layout on every target: ..." or "Layout on 32-bit targets: ...", followed
by the record's typedef. Every printed record needs a statement; those for
32-bit targets are compared when pointers are 4 bytes.
"""
import re
import sys

STATEMENT = re.compile(
    r"Layout on (every target|32-bit targets)(?: \([^)]*\))?: (.*?\.)"
    r".*?typedef struct (\w+)",
    re.S,
)


def stated(header):
    """Record name -> (scope, layout text) from the header's comments."""
    text = re.sub(r"\n\s*\*\s*", " ", header)
    return {m[3]: (m[1], m[2]) for m in STATEMENT.finditer(text)}


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        header = stated(f.read())
    lines = sys.stdin.read().splitlines()
    pointer = lines[0]
    faults = []
    for line in lines[1:]:
        record, seen = line.split(": ", 1)
        if record not in header:
            faults.append(f"{record}: the header states no layout")
            continue
        scope, want = header[record]
        if scope == "32-bit targets" and pointer != "pointer: 4 bytes.":
            continue
        if seen != want:
            faults.append(f"{record}:\n  header: {want}\n  target: {seen}")
    for fault in faults:
        print(fault, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
