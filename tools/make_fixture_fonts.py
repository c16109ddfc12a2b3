#!/usr/bin/python3
"""Writes the small fonts that the system font catalogue tests read.

Usage: tools/make_fixture_fonts.py [output folder]   (default tests/data/sysfont/fonts)

Needs fontTools (Debian package python3-fonttools; run it with the system Python).
Every value the tests check is set here explicitly: names, advance widths, PANOSE,
the head box, hhea ascender and descender, post italic angle and fixed-pitch flag
and the OS/2 code page bits. The files are committed; the build does not run this.
"""

import io
import os
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.t2CharStringPen import T2CharStringPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib.ttCollection import TTCollection

# OS/2 ulCodePageRange1 bits.
CP_1252 = 1 << 0
CP_932 = 1 << 17
CP_949 = 1 << 19
CP_MAC = 1 << 29


def box_glyph(width, upem):
    pen = TTGlyphPen(None)
    if width > 0:
        top = upem * 7 // 10
        pen.moveTo((0, 0))
        pen.lineTo((0, top))
        pen.lineTo((width, top))
        pen.lineTo((width, 0))
        pen.closePath()
    return pen.glyph()


def build_face(face):
    """face: dict describing one TrueType face; returns a fontTools TTFont."""
    upem = face["upem"]
    # Unicode -> advance width in font units. Each code point gets its own glyph.
    widths = face["widths"]
    order = [".notdef"] + ["u%04X" % u for u in sorted(widths)]
    fb = FontBuilder(upem, isTTF=True)
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap({u: "u%04X" % u for u in widths})
    glyphs = {".notdef": box_glyph(upem // 2, upem)}
    metrics = {".notdef": (upem // 2, 0)}
    for u, w in widths.items():
        glyphs["u%04X" % u] = box_glyph(w, upem)
        metrics["u%04X" % u] = (w, 0)
    fb.setupGlyf(glyphs)
    fb.setupHorizontalMetrics(metrics)
    fb.setupHorizontalHeader(ascent=face["ascender"], descent=face["descender"])
    names = {
        "familyName": {"en": face["family"]},
        "styleName": {"en": face.get("style", "Regular")},
        "fullName": {"en": face["full"]},
        "psName": face["ps"],
        "uniqueFontIdentifier": face["ps"] + ";fixture",
    }
    if "ja" in face:
        names["fullName"]["ja"] = face["ja"]
        names["familyName"]["ja"] = face["ja"]
    fb.setupNameTable(names, mac=False)
    fb.setupOS2(
        version=4,
        panose=panose(face["panose"]),
        ulCodePageRange1=face["codepages"],
        ulCodePageRange2=0,
        sTypoAscender=face["ascender"],
        sTypoDescender=face["descender"],
        usWinAscent=face["ascender"],
        usWinDescent=-face["descender"],
    )
    fb.setupPost(
        keepGlyphNames=False,
        italicAngle=face.get("italic", 0),
        isFixedPitch=face.get("fixed", 0),
    )
    font = fb.font
    # The head box is set by hand, so that it is a known value and not the glyphs' union.
    font.recalcBBoxes = False
    # Fixed dates keep the generated files identical from run to run.
    font.recalcTimestamp = False
    head = font["head"]
    head.created = head.modified = 3_000_000_000
    head.xMin, head.yMin, head.xMax, head.yMax = face["box"]
    return font


def panose(values):
    from fontTools.ttLib.tables.O_S_2f_2 import Panose

    p = Panose()
    fields = [
        "bFamilyType", "bSerifStyle", "bWeight", "bProportion", "bContrast",
        "bStrokeVariation", "bArmStyle", "bLetterForm", "bMidline", "bXHeight",
    ]
    for name, value in zip(fields, values):
        setattr(p, name, value)
    return p


# Half-width katakana: code 0xA1..0xDF of code page 932 is U+FF61..U+FF9F.
def katakana(code):
    return 0xFF61 + code - 0xA1


FACES = {
    # Shift-JIS, proportional, 2048 units per em, so every metric is scaled.
    "kfpgothic.ttf": dict(
        family="Kanafix PGothic", full="Kanafix PGothic", ps="KanafixPGothic",
        ja="カナフィクス Pゴシック", upem=2048, codepages=CP_932,
        panose=[2, 11, 6, 3, 0, 0, 0, 0, 0, 0], fixed=0,
        ascender=1802, descender=-452, box=(-100, -452, 2100, 1802),
        widths={0x20: 512, 0x41: 1400, 0x42: 1229, katakana(0xB1): 1023,
                katakana(0xDF): 1024, 0x3042: 2048},
    ),
    # Shift-JIS, monospaced by its PANOSE proportion only (post says proportional).
    "kfgothic.ttf": dict(
        family="Kanafix Gothic", full="Kanafix Gothic", ps="KanafixGothic",
        ja="カナフィクスゴシック", upem=1000, codepages=CP_932,
        panose=[2, 11, 6, 9, 0, 0, 0, 0, 0, 0], fixed=0,
        ascender=859, descender=-141, box=(0, -141, 1000, 859),
        widths={0x20: 500, 0x41: 500, katakana(0xA1): 500, 0x3042: 1000},
    ),
    # ANSI only, italic, serif. Its PostScript name collides with the full name of
    # kfdual.ttf, which comes first and keeps that key.
    "kfsans.ttf": dict(
        family="Kanafix Sans", style="Italic", full="Kanafix Sans Italic",
        ps="KanafixDual", upem=1000, codepages=CP_1252,
        panose=[2, 2, 5, 3, 0, 0, 0, 0, 0, 0], fixed=0, italic=-11.25,
        ascender=900, descender=-200, box=(-50, -200, 950, 900),
        widths={0x21: 300, 0x41: 650, 0x20AC: 556, 0xFF: 480},
    ),
    # Supports code pages 1252 and 932: the catalogue keeps it as Shift-JIS.
    # It maps both U+00A5 and U+FF65, so the width of code 0xA5 shows which code
    # page was used.
    "kfdual.ttf": dict(
        family="Kanafix Dual", full="Kanafix Dual", ps="KanafixDual-Regular",
        upem=1000, codepages=CP_1252 | CP_932,
        panose=[2, 2, 6, 9, 0, 0, 0, 0, 0, 0], fixed=0,
        ascender=880, descender=-120, box=(-10, -120, 1010, 880),
        widths={0x41: 600, 0xA5: 900, katakana(0xA5): 333, katakana(0xDF): 500},
    ),
    # Mac Roman only, fixed pitch by the post table.
    "kfmac.ttf": dict(
        family="Kanafix Mac", full="Kanafix Mac", ps="KanafixMac",
        upem=1000, codepages=CP_MAC,
        panose=[0, 0, 0, 0, 0, 0, 0, 0, 0, 0], fixed=1,
        ascender=750, descender=-250, box=(0, -250, 600, 750),
        widths={0x41: 700, 0x2022: 350, 0xA5: 610},
    ),
    # Korean only: not one of the kept character sets. It comes first in path order
    # and claims the full name of kfpgothic.ttf, which must still win that key.
    "a-hangul.ttf": dict(
        family="Kanafix PGothic", full="Kanafix PGothic", ps="KanafixHangul",
        upem=1000, codepages=CP_949,
        panose=[2, 11, 6, 0, 0, 0, 0, 0, 0, 0], fixed=0,
        ascender=800, descender=-200, box=(0, -200, 1000, 800),
        widths={0x41: 999},
    ),
}

COLLECTION = (
    "kfcollection.ttc",
    [
        dict(family="Kanafix Collection Mincho", full="Kanafix Collection Mincho",
             ps="KanafixCollectionMincho", ja="カナフィクス明朝", upem=1000,
             codepages=CP_932, panose=[2, 2, 6, 0, 0, 0, 0, 0, 0, 0], fixed=1,
             ascender=880, descender=-120, box=(-20, -120, 1000, 880),
             widths={0x20: 500, 0x41: 500, katakana(0xA1): 500}),
        dict(family="Kanafix Collection PMincho", full="Kanafix Collection PMincho",
             ps="KanafixCollectionPMincho", ja="カナフィクスP明朝", upem=2000,
             codepages=CP_932, panose=[2, 2, 6, 3, 0, 0, 0, 0, 0, 0], fixed=0,
             ascender=1760, descender=-240, box=(-40, -240, 2000, 1760),
             widths={0x20: 500, 0x41: 1441, katakana(0xA1): 1000}),
    ],
)

# A bitmap font: fontconfig gives it the full name "KanafixGothic Regular" and the
# PostScript name "KanafixGothic", the latter also claimed by kfgothic.ttf.
BDF = """STARTFONT 2.1
FONT -fixture-KanafixGothic-medium-r-normal--8-80-75-75-c-80-iso10646-1
SIZE 8 75 75
FONTBOUNDINGBOX 8 8 0 0
STARTPROPERTIES 6
FAMILY_NAME "KanafixGothic"
PIXEL_SIZE 8
FONT_ASCENT 8
FONT_DESCENT 0
CHARSET_REGISTRY "ISO10646"
CHARSET_ENCODING "1"
ENDPROPERTIES
CHARS 1
STARTCHAR A
ENCODING 65
SWIDTH 1000 0
DWIDTH 8 0
BBX 8 8 0 0
BITMAP
FF
81
81
81
81
81
81
FF
ENDCHAR
ENDFONT
"""


def bare_cff():
    """A bare CFF font program (no sfnt wrapper) named like kfpgothic.ttf's PostScript name."""
    fb = FontBuilder(1000, isTTF=False)
    fb.setupGlyphOrder([".notdef", "A"])
    fb.setupCharacterMap({0x41: "A"})
    strings = {}
    for name in (".notdef", "A"):
        pen = T2CharStringPen(600, None)
        pen.moveTo((0, 0))
        pen.lineTo((0, 700))
        pen.lineTo((600, 700))
        pen.closePath()
        strings[name] = pen.getCharString()
    fb.setupCFF("KanafixPGothic", {"FullName": "Kanafix PGothic", "FamilyName": "Kanafix PGothic"},
                strings, {})
    fb.setupHorizontalMetrics({".notdef": (600, 0), "A": (600, 0)})
    fb.setupHorizontalHeader(ascent=800, descent=-200)
    fb.setupNameTable({"familyName": "Kanafix PGothic", "styleName": "Regular"}, mac=False)
    fb.setupOS2()
    fb.setupPost()
    return fb.font["CFF "].compile(fb.font)


def save(font, path):
    buf = io.BytesIO()
    font.save(buf)
    with open(path, "wb") as f:
        f.write(buf.getvalue())


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "tests", "data", "sysfont", "fonts")
    os.makedirs(out, exist_ok=True)
    for name, face in FACES.items():
        save(build_face(face), os.path.join(out, name))
    collection = TTCollection()
    collection.fonts = [build_face(face) for face in COLLECTION[1]]
    buf = io.BytesIO()
    collection.save(buf)
    with open(os.path.join(out, COLLECTION[0]), "wb") as f:
        f.write(buf.getvalue())
    with open(os.path.join(out, "a-bitmap.bdf"), "w", encoding="ascii") as f:
        f.write(BDF)
    with open(os.path.join(out, "a-bare.cff"), "wb") as f:
        f.write(bare_cff())


if __name__ == "__main__":
    main()
