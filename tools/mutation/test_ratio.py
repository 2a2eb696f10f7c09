#!/usr/bin/env python3
"""The size of the tests against the product code: non-blank, non-comment lines of tests/ against
src/ and tools/ (C++ and Python), per folder and in total.

    tools/mutation/test_ratio.py
"""

import os
import sys

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))


def code_lines(path):
    """Lines that are neither blank nor only a comment."""
    python = path.endswith(".py")
    count, in_docstring = 0, False
    for line in open(path, encoding="utf-8", errors="replace"):
        text = line.strip()
        if python and text.startswith(('"""', "'''")):
            closes = len(text) >= 6 and text.endswith(text[:3])
            if not closes:
                in_docstring = not in_docstring
            continue
        if in_docstring or not text or text.startswith("//") or (python and text.startswith("#")):
            continue
        count += 1
    return count


def lines_under(folder):
    per_folder = {}
    for base, _, names in os.walk(os.path.join(ROOT, folder)):
        if "corpus" in base:
            continue
        for name in names:
            if name.endswith((".cpp", ".h", ".py")):
                key = os.path.relpath(base, ROOT).split(os.sep)[:2]
                per_folder.setdefault("/".join(key), 0)
                per_folder["/".join(key)] += code_lines(os.path.join(base, name))
    return per_folder


def main():
    tests, code = lines_under("tests"), {**lines_under("src"), **lines_under("tools")}
    for name, count in sorted({**tests, **code}.items()):
        print(f"{count:6d}  {name}")
    t, c = sum(tests.values()), sum(code.values())
    print(f"tests {t} lines, code {c} lines: {t / c:.2f} times the code")
    return 0


if __name__ == "__main__":
    sys.exit(main())
