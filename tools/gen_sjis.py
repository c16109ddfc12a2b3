#!/usr/bin/env python3
"""Writes the four Shift-JIS / EUC-JP pair tables as C++ data.

Source: the cp932 codec of Python's standard library (the Windows code page 932
mapping). Taken: the single-byte codes 00-7F and A1-DF and the double-byte
codes of JIS rows 1 to 92 (JIS X 0208, NEC row 13, NEC-selected IBM
extensions). One pair per Unicode value; when several codes give the same
character the lowest code wins. The EUC-JP code of a double-byte character
follows from its row and cell (0xA0 + row, 0xA0 + cell); half-width katakana
become 8E xx. Every table is sorted on its first value and closed by FFFF FFFF.

usage: gen_sjis.py [--out FILE]
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gencommon  # noqa: E402


def sjis_to_row_cell(lead, trail):
    row = (lead - 0x81) * 2 + 1 if lead <= 0x9F else (lead - 0xE0) * 2 + 63
    if trail >= 0x9F:
        return row + 1, trail - 0x9E
    return row, trail - 0x3F - (1 if trail >= 0x80 else 0)


def collect():
    by_unicode = {}  # unicode -> (sjis, euc); lowest sjis first
    candidates = []
    for b in list(range(0x00, 0x80)) + list(range(0xA1, 0xE0)):
        ch = bytes([b]).decode("cp932")
        euc = b if b < 0x80 else 0x8E00 | b
        candidates.append((b, ord(ch), euc))
    leads = list(range(0x81, 0xA0)) + list(range(0xE0, 0xEF))
    for lead in leads:
        for trail in list(range(0x40, 0x7F)) + list(range(0x80, 0xFD)):
            row, cell = sjis_to_row_cell(lead, trail)
            if not 1 <= row <= 92 or not 1 <= cell <= 94:
                continue
            try:
                ch = bytes([lead, trail]).decode("cp932")
            except UnicodeDecodeError:
                continue
            if len(ch) != 1 or ord(ch) > 0xFFFF:
                continue
            euc = ((0xA0 + row) << 8) | (0xA0 + cell)
            candidates.append(((lead << 8) | trail, ord(ch), euc))
    for sjis, uni, euc in sorted(candidates):
        by_unicode.setdefault(uni, (sjis, euc))
    return by_unicode


def table(name, pairs, comment):
    pairs = sorted(pairs) + [(0xFFFF, 0xFFFF)]
    items = ["{0x%04X, 0x%04X}" % p for p in pairs]
    return "\n".join([
        "// %s" % comment,
        "const CodePair %s[] = {" % name,
        gencommon.rows(items, 6),
        "};",
        "const size_t %sSize = %d;" % (name, len(pairs)),
        ""])


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--out", default=os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "koyo", "resource",
        "generated", "SJISData.cpp"))
    args = ap.parse_args()
    by_unicode = collect()
    pairs = [(u, s, e) for u, (s, e) in by_unicode.items()]
    text = [gencommon.header(
        "gen_sjis.py", ["Python standard library codec cp932 (Windows code page 932)"],
        "Shift-JIS and EUC-JP pair tables, %d pairs and the closing FFFF pair each." % len(pairs)),
        '#include "koyo/resource/SJISData.h"', "",
        "namespace koyo::resource_data {", "",
        table("kUnicodeToSJIS", [(u, s) for u, s, _ in pairs], "UCS-2 -> Shift-JIS"),
        table("kSJISToUnicode", [(s, u) for u, s, _ in pairs], "Shift-JIS -> UCS-2"),
        table("kUnicodeToEUC", [(u, e) for u, _, e in pairs], "UCS-2 -> EUC-JP"),
        table("kEUCToUnicode", [(e, u) for u, _, e in pairs], "EUC-JP -> UCS-2"),
        "}  // namespace koyo::resource_data"]
    gencommon.write(args.out, "\n".join(text) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
