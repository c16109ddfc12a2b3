#!/usr/bin/env python3
"""Writes the built-in font metrics as C++ data.

Sources:
- the fourteen standard fonts: Adobe's Core 14 AFM files, as shipped in the npm
  package pdfkit (js/data/*.afm; releases up to 0.15 carry them);
- HeiseiMin-W3 and HeiseiKakuGo-W5: the CID width arrays (W, default width DW)
  of reportlab/pdfbase/_cidfontdata.py in the Debian package python3-reportlab,
  expanded to one width per CID 0 to 8719 (Adobe-Japan1-2). Their global values
  are written below from Adobe's published metrics for those fonts; the font box
  comes from the same reportlab data.

Numbers keep their integer part only (-12.5 gives -12), as the AFM reader does.

usage: gen_afm.py [--afm-dir DIR] [--reportlab FILE] [--out FILE]
"""

import argparse
import ast
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gencommon  # noqa: E402

CORE14 = ["Courier", "Courier-Bold", "Courier-BoldOblique", "Courier-Oblique",
          "Helvetica", "Helvetica-Bold", "Helvetica-BoldOblique", "Helvetica-Oblique",
          "Times-Roman", "Times-Bold", "Times-Italic", "Times-BoldItalic",
          "Symbol", "ZapfDingbats"]
CID_COUNT = 8720
HEISEI = {  # global values of the two CID fonts; FontBBox from the reportlab data
    "HeiseiMin-W3": {"Weight": "W3"},
    "HeiseiKakuGo-W5": {"Weight": "W5"},
}


def integer(text):
    """The integer part of a number written in an AFM file."""
    m = re.match(r"\s*([-+]?\d+)", text)
    return int(m.group(1)) if m else 0


def parse_afm(path):
    info, glyphs = {}, []
    in_metrics = False
    with open(path, encoding="latin-1") as f:
        for line in f.read().splitlines():
            line = line.strip()
            if not line:
                continue
            if in_metrics:
                if line == "EndCharMetrics":
                    in_metrics = False
                    continue
                g = {"C": -1, "WX": 0, "B": [0, 0, 0, 0], "N": None}
                for item in line.split(";"):
                    parts = item.split()
                    if not parts:
                        continue
                    if parts[0] == "C":
                        g["C"] = integer(parts[1])
                    elif parts[0] in ("WX", "W0X"):
                        g["WX"] = integer(parts[1])
                    elif parts[0] == "N":
                        g["N"] = parts[1]
                    elif parts[0] == "B":
                        g["B"] = [integer(p) for p in parts[1:5]]
                glyphs.append(g)
                continue
            key, _, rest = line.partition(" ")
            if key == "StartCharMetrics":
                in_metrics = True
            elif key not in info:
                info[key] = rest.strip()
    return info, glyphs


def expand_widths(widths, default):
    out = [default] * CID_COUNT
    i = 0
    while i < len(widths):
        first = widths[i]
        if isinstance(widths[i + 1], (list, tuple)):
            for k, w in enumerate(widths[i + 1]):
                if first + k < CID_COUNT:
                    out[first + k] = w
            i += 2
        else:
            last, w = widths[i + 1], widths[i + 2]
            for cid in range(first, min(last, CID_COUNT - 1) + 1):
                out[cid] = w
            i += 3
    return out


def reportlab_fonts(path):
    with open(path, encoding="utf-8") as f:
        tree = ast.parse(f.read())
    fonts = {}
    for node in tree.body:
        if (isinstance(node, ast.Assign) and len(node.targets) == 1
                and isinstance(node.targets[0], ast.Subscript)
                and getattr(node.targets[0].value, "id", "") == "CIDFontInfo"):
            key = ast.literal_eval(node.targets[0].slice)
            if key in HEISEI:
                fonts[key] = ast.literal_eval(node.value)
    return fonts


def s(text):
    return gencommon.c_string(text) if text is not None else "nullptr"


def record(name, info, glyph_array, glyph_count, width_array, width_count, cid_font):
    bbox = [integer(v) for v in info.get("FontBBox", "0 0 0 0").split()[:4]]
    nums = ["CapHeight", "XHeight", "Ascender", "Descender", "StdHW", "StdVW",
            "UnderlinePosition", "UnderlineThickness", "ItalicAngle"]
    fields = [s(info.get("FontName", name)), s(info.get("FullName", "")),
              s(info.get("FamilyName", "")), s(info.get("Weight", "")),
              "{%s}" % ", ".join(str(v) for v in bbox), s(info.get("Version", "")),
              s(info.get("Notice", "")), s(info.get("EncodingScheme", "")),
              s(info.get("CharacterSet", "")), str(integer(info.get("Characters", "0"))),
              "true" if info.get("IsBaseFont") == "true" else "false",
              "true" if cid_font else "false",
              "true" if info.get("IsFixedPitch") == "true" else "false"]
    fields += [str(integer(info.get(k, "0"))) for k in nums]
    fields += [glyph_array, str(glyph_count), width_array, str(width_count)]
    return "    {" + ",\n     ".join(fields) + "},"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--afm-dir", help="directory of the Core 14 AFM files")
    ap.add_argument("--reportlab", help="path of reportlab/pdfbase/_cidfontdata.py")
    ap.add_argument("--out", default=os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "koyo", "resource",
        "generated", "AFMData.cpp"))
    args = ap.parse_args()
    afm_dir = args.afm_dir or os.environ.get("KOYO_CORE14_AFM_DIR")
    rl = args.reportlab or gencommon.first_existing(
        ["/usr/lib/python3/dist-packages/reportlab/pdfbase/_cidfontdata.py"])
    if not afm_dir or not os.path.exists(os.path.join(afm_dir, "Courier.afm")):
        print("gen_afm: Core 14 AFM files not found (--afm-dir or KOYO_CORE14_AFM_DIR)",
              file=sys.stderr)
        return 2
    if not rl or not os.path.exists(rl):
        print("gen_afm: reportlab _cidfontdata.py not found", file=sys.stderr)
        return 2

    body, records = [], []
    for name in CORE14:
        info, glyphs = parse_afm(os.path.join(afm_dir, name + ".afm"))
        ident = "k" + re.sub(r"[^A-Za-z0-9]", "", name)
        items = ["{%s, %d, %d, {%s}}" % (s(g["N"]), g["C"], g["WX"],
                                         ", ".join(str(v) for v in g["B"])) for g in glyphs]
        body.append("// %s: %d glyphs\nconstexpr AFMGlyphRow %sGlyphs[] = {\n%s\n};\n" % (
            name, len(glyphs), ident, gencommon.rows(items, 2)))
        records.append(record(name, info, ident + "Glyphs", len(glyphs), "nullptr", 0, False))

    fonts = reportlab_fonts(rl)
    for name, extra in HEISEI.items():
        desc = fonts[name]["DescendantFonts"][0]
        widths = expand_widths(list(desc["W"]), desc["DW"])
        bbox = list(desc["FontDescriptor"]["FontBBox"])
        info = {"FontName": name, "Weight": extra["Weight"],
                "FontBBox": " ".join(str(v) for v in bbox), "Version": "3.010",
                "CharacterSet": "Adobe-Japan1-2", "Characters": str(CID_COUNT),
                "IsBaseFont": "true", "CapHeight": str(bbox[3]), "Ascender": str(bbox[3]),
                "Descender": str(bbox[1]), "UnderlinePosition": "-100",
                "UnderlineThickness": "50", "ItalicAngle": "0"}
        ident = "k" + re.sub(r"[^A-Za-z0-9]", "", name)
        body.append("// %s: widths of CIDs 0 to %d\nconstexpr uint16_t %sWidths[] = {\n%s\n};\n" % (
            name, CID_COUNT - 1, ident, gencommon.rows([str(w) for w in widths], 16)))
        records.append(record(name, info, "nullptr", 0, ident + "Widths", CID_COUNT, True))

    out = [gencommon.header(
        "gen_afm.py",
        ["npm package pdfkit (0.15.0): js/data/<font>.afm, Adobe Core 14 AFM files",
         "Debian package python3-reportlab: reportlab/pdfbase/_cidfontdata.py (W, DW, FontBBox)"],
        "Built-in metrics of the fourteen standard fonts and two Japanese CID fonts."),
        '#include "koyo/resource/AFMData.h"', "",
        "namespace koyo::resource_data {", "namespace {", ""]
    out += body
    out += ["}  // namespace", "", "const BuiltinAFM kBuiltinAFMs[] = {"] + records + [
        "};", "const size_t kBuiltinAFMCount = %d;" % len(records), "",
        "}  // namespace koyo::resource_data"]
    gencommon.write(args.out, "\n".join(out) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
