#!/usr/bin/env python3
"""Writes the built-in CMaps as C++ data.

Source: Adobe's CMap files for the Adobe-Japan1 collection as shipped in the
Debian package poppler-data (cMap/Adobe-Japan1/). The built-in CMaps declare
supplement 2 or less, so only CIDs 0 to 8719 (Adobe-Japan1-2) are kept: a cid
range that reaches past 8719 is cut there, one that starts past it is dropped.
Identity-H and Identity-V are not files; they are written from their
definition (two-byte codes taken as CIDs).

usage: gen_cmaps.py [--source DIR] [--out FILE]
"""

import argparse
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gencommon  # noqa: E402

LAST_CID = 8719

# name: (ordering, supplement, writing mode, used CMap)
CMAPS = [
    ("Identity-H", "Identity", 0, 0, None),
    ("Identity-V", "Identity", 0, 1, "Identity-H"),
    ("90ms-RKSJ-H", "Japan1", 2, 0, None),
    ("90ms-RKSJ-V", "Japan1", 2, 1, "90ms-RKSJ-H"),
    ("90msp-RKSJ-H", "Japan1", 2, 0, None),
    ("90msp-RKSJ-V", "Japan1", 2, 1, "90msp-RKSJ-H"),
    ("EUC-H", "Japan1", 1, 0, None),
    ("EUC-V", "Japan1", 0, 1, "EUC-H"),
    ("UniJIS-UCS2-H", "Japan1", 2, 0, None),
    ("UniJIS-UCS2-V", "Japan1", 2, 1, "UniJIS-UCS2-H"),
]


def code(hextext):
    raw = bytes.fromhex(hextext)
    if len(raw) not in (1, 2):
        raise SystemExit("unexpected code <%s>" % hextext)
    return int.from_bytes(raw, "big"), len(raw)


def parse(path):
    """Codespace, notdef and cid ranges of one CMap file, plus its used CMap and WMode."""
    with open(path, encoding="latin-1") as f:
        lines = [l for l in f.read().splitlines() if not l.startswith("%")]
    tokens = " ".join(lines).split()
    blocks = {"codespacerange": [], "notdefrange": [], "cidrange": []}
    usecmap, wmode = None, 0
    i = 0
    while i < len(tokens):
        tok = tokens[i]
        if tok == "usecmap":
            usecmap = tokens[i - 1].lstrip("/")
        elif tok == "/WMode":
            wmode = int(tokens[i + 1])
        elif tok.startswith("begin") and tok[5:] in blocks:
            kind = tok[5:]
            width = 2 if kind == "codespacerange" else 3
            i += 1
            while tokens[i] != "end" + kind:
                low, llen = code(tokens[i].strip("<>"))
                high, hlen = code(tokens[i + 1].strip("<>"))
                if llen != hlen:
                    raise SystemExit("%s: mixed code lengths" % path)
                cid = int(tokens[i + 2]) if width == 3 else 0
                blocks[kind].append((low, high, cid, llen))
                i += width
        i += 1
    return blocks, usecmap, wmode


def restrict(ranges):
    kept = []
    for low, high, cid, length in ranges:
        if cid > LAST_CID:
            continue
        high = min(high, low + (LAST_CID - cid))
        kept.append((low, high, cid, length))
    return kept


def array(name, ranges):
    if not ranges:
        return None
    items = ["{0x%04X, 0x%04X, %d, %d}" % r for r in ranges]
    return "constexpr CMapRangeData %s[] = {\n%s\n};\n" % (name, gencommon.rows(items, 3))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--source", help="poppler-data cMap/Adobe-Japan1 directory")
    ap.add_argument("--out", default=os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "koyo", "resource",
        "generated", "CMapData.cpp"))
    args = ap.parse_args()
    src = args.source or gencommon.first_existing(
        ["/usr/share/poppler/cMap/Adobe-Japan1"])
    if not src or not os.path.exists(os.path.join(src, "90ms-RKSJ-H")):
        print("gen_cmaps: poppler-data CMap files not found", file=sys.stderr)
        return 2

    body, entries, files = [], [], []
    for name, ordering, supplement, wmode, usecmap in CMAPS:
        ident = "k" + re.sub(r"[^A-Za-z0-9]", "_", name)
        if name == "Identity-H":
            blocks = {"codespacerange": [(0, 0xFFFF, 0, 2)], "notdefrange": [],
                      "cidrange": [(0, 0xFFFF, 0, 2)]}
        elif name == "Identity-V":
            blocks = {"codespacerange": [], "notdefrange": [], "cidrange": []}
        else:
            files.append("Debian package poppler-data: cMap/Adobe-Japan1/" + name)
            blocks, file_use, file_wmode = parse(os.path.join(src, name))
            if file_use != usecmap or file_wmode != wmode:
                raise SystemExit("%s: usecmap/WMode differ from the built-in definition" % name)
            blocks["cidrange"] = restrict(blocks["cidrange"])
            blocks["notdefrange"] = restrict(blocks["notdefrange"])
        arrays = []
        for kind, suffix in (("codespacerange", "Codespace"), ("notdefrange", "Notdef"),
                             ("cidrange", "Cid")):
            text = array(ident + suffix, blocks[kind])
            if text:
                body.append(text)
                arrays.append("%s%s, %d" % (ident, suffix, len(blocks[kind])))
            else:
                arrays.append("nullptr, 0")
        body.append("// %s: %d codespace, %d notdef, %d cid ranges\n" % (
            name, len(blocks["codespacerange"]), len(blocks["notdefrange"]),
            len(blocks["cidrange"])))
        entries.append("    {%s, %s, %d, %d, %s,\n     %s}," % (
            gencommon.c_string(name), gencommon.c_string(ordering), supplement, wmode,
            gencommon.c_string(usecmap) if usecmap else "nullptr", ",\n     ".join(arrays)))

    out = [gencommon.header(
        "gen_cmaps.py", files,
        "The built-in CMaps, cid ranges restricted to CIDs 0 to %d." % LAST_CID),
        '#include "koyo/resource/CMapData.h"', "",
        "namespace koyo::resource_data {", "namespace {", ""]
    out.extend(body)
    out += ["}  // namespace", "",
            "const BuiltinCMap kBuiltinCMaps[] = {"] + entries + [
            "};", "const size_t kBuiltinCMapCount = %d;" % len(CMAPS), "",
            "}  // namespace koyo::resource_data"]
    gencommon.write(args.out, "\n".join(out) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
