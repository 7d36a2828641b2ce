#!/usr/bin/env python3
"""Prints the lines of tests (tests/, fuzz/) against the lines of code
(src/, include/, tools/): lines of C, C++, shell and Python that hold more
than blanks and comments, in the files git knows (tracked or new). Data
files (goldens, transcripts, corpora) are not code and are not counted.

    scripts/test-ratio.py [--folders]   --folders: lines per test folder too
"""
import pathlib
import re
import subprocess
import sys

C_LIKE = {".c", ".h", ".cpp", ".hpp", ".cc"}
HASH_COMMENTED = {".sh", ".py"}
TESTS = ("tests/", "fuzz/")
CODE = ("src/", "include/", "tools/")

# Comments, and the literals they must not be looked for in.
C_TOKENS = re.compile(
    r'//[^\n]*|/\*.*?\*/|R"([^(\s]*)\(.*?\)\1"|"(?:\\.|[^"\\\n])*"'
    r"|'(?:\\.|[^'\\\n])*'",
    re.S,
)


def c_lines(text):
    def keep(match):
        token = match.group(0)
        if token.startswith("/"):  # a comment: keep its line breaks only
            return "\n" * token.count("\n")
        return token

    return C_TOKENS.sub(keep, text).splitlines()


def hash_lines(text):
    return [line for line in text.splitlines()
            if not line.lstrip().startswith("#")]


def count(path):
    text = path.read_text(errors="replace")
    lines = c_lines(text) if path.suffix in C_LIKE else hash_lines(text)
    return sum(1 for line in lines if line.strip())


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    files = subprocess.run(
        ["git", "ls-files", "--cached", "--others", "--exclude-standard"],
        cwd=root, check=True, capture_output=True, text=True,
    ).stdout.split()
    totals = {TESTS: 0, CODE: 0}
    folders = {}
    for name in files:
        path = root / name
        if path.suffix not in C_LIKE | HASH_COMMENTED or not path.is_file():
            continue
        for group in totals:
            if name.startswith(group):
                lines = count(path)
                totals[group] += lines
                if group == TESTS:
                    parts = name.split("/")
                    folder = "/".join(parts[:2 if len(parts) > 2 else 1])
                    folders[folder] = folders.get(folder, 0) + lines
    if "--folders" in sys.argv[1:]:
        for folder, lines in sorted(folders.items()):
            print(f"{lines:6} {folder}")
    tests, code = totals[TESTS], totals[CODE]
    print(f"tests {tests} lines / code {code} lines = {tests / code:.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
