#!/usr/bin/env python3
"""Writes the five named single-byte encodings (code -> glyph name) as C++ data.

The vectors are read from Ghostscript's encoding files (Resource/Init/gs_*_e.ps),
which hold the same tables as the PDF reference. Each file builds a 256-entry
array from glyph names and from slices of encodings defined earlier
("StandardEncoding 0 39 getinterval aload pop"); that much PostScript is
evaluated here.

usage: gen_encodings.py [--source DIR] [--out FILE]
"""

import argparse
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gencommon  # noqa: E402

FILES = [  # (file, vector name) in the order they must be evaluated
    ("gs_std_e.ps", "StandardEncoding"),
    ("gs_il1_e.ps", "ISOLatin1Encoding"),
    ("gs_wan_e.ps", "WinAnsiEncoding"),
    ("gs_mro_e.ps", "MacRomanEncoding"),
    ("gs_mex_e.ps", "MacExpertEncoding"),
    ("gs_pdf_e.ps", "PDFDocEncoding"),
]
EMITTED = ["StandardEncoding", "WinAnsiEncoding", "MacRomanEncoding",
           "MacExpertEncoding", "PDFDocEncoding"]


def evaluate(path, name, known):
    with open(path, encoding="latin-1") as f:
        text = "\n".join(line.split("%", 1)[0] for line in f)
    start = re.search(r"/%s\b" % name, text)
    if not start:
        raise SystemExit("%s: no vector %s" % (path, name))
    tokens = text[start.end():].split()
    vector = []
    i = 0
    while len(vector) < 256 and i < len(tokens):
        tok = tokens[i]
        if tok.startswith("/"):
            vector.append(tok[1:])
            i += 1
        elif tok in known and tokens[i + 3:i + 6] == ["getinterval", "aload", "pop"]:
            first, count = int(tokens[i + 1]), int(tokens[i + 2])
            vector.extend(known[tok][first:first + count])
            i += 6
        else:
            i += 1  # dictionary bookkeeping around the vector
    if len(vector) != 256:
        raise SystemExit("%s: %s has %d entries" % (path, name, len(vector)))
    return vector


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--source", help="Ghostscript Resource/Init directory")
    ap.add_argument("--out", default=os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "koyo", "resource",
        "generated", "EncodingData.cpp"))
    args = ap.parse_args()
    src = args.source or gencommon.first_existing(
        ["/usr/share/ghostscript/*/Resource/Init"])
    if not src or not os.path.exists(os.path.join(src, "gs_std_e.ps")):
        print("gen_encodings: Ghostscript encoding files not found", file=sys.stderr)
        return 2

    known = {}
    for fname, vname in FILES:
        known[vname] = evaluate(os.path.join(src, fname), vname, known)

    out = [gencommon.header(
        "gen_encodings.py",
        ["Debian package ghostscript: Resource/Init/" + f for f, _ in FILES],
        "The five named single-byte encodings, code to glyph name, descending codes."),
        '#include "koyo/resource/EncodingData.h"', "",
        "namespace koyo::resource_data {", "namespace {", ""]
    for vname in EMITTED:
        pairs = [(c, n) for c, n in enumerate(known[vname]) if n != ".notdef"]
        pairs.reverse()
        out.append("// %s: %d codes" % (vname, len(pairs)))
        out.append("constexpr EncodingPair k%s[] = {" % vname)
        out.append(gencommon.rows(
            ["{%d, %s}" % (c, gencommon.c_string(n)) for c, n in pairs], 4))
        out.append("};")
        out.append("")
    out.append("}  // namespace")
    out.append("")
    out.append("const NamedEncoding kNamedEncodings[] = {")
    for vname in EMITTED:
        out.append("    {%s, k%s, sizeof(k%s) / sizeof(k%s[0])}," % (
            gencommon.c_string(vname), vname, vname, vname))
    out.append("};")
    out.append("const size_t kNamedEncodingCount = %d;" % len(EMITTED))
    out.append("")
    out.append("}  // namespace koyo::resource_data")
    gencommon.write(args.out, "\n".join(out) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
