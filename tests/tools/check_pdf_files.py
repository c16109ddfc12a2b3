#!/usr/bin/env python3
"""Checks that each PDF file named passes `qpdf --check` and has the promised
form: PDF 1.3 with one classic cross-reference table whose 20-byte entries
point at their objects. Exit 0: all pass; 1: a file fails; 77: no qpdf."""

import os
import sys

sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pdfcheck  # noqa: E402


def main(paths):
    if pdfcheck.qpdf() is None:
        print("pdf files: qpdf is not installed; skipped")
        return 77
    if not paths:
        print("pdf files: no file given")
        return 1
    failed = False
    for path in paths:
        with open(path, "rb") as f:
            data = f.read()
        problems = pdfcheck.classic_xref_problems(data) + pdfcheck.qpdf_check_problems(path)
        for problem in problems:
            print("%s: %s" % (path, problem))
        failed = failed or bool(problems)
        if not problems:
            print("%s: passes" % path)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
