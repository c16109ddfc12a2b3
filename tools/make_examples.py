#!/usr/bin/python3
"""Writes the example PDF files in examples/: short Japanese documents whose
fonts name the IPA fonts or the Heisei fonts, in the forms the repair meets.

Usage: tools/make_examples.py [output folder]   (default examples/)

Every file is written from fixed data (dates, IDs, text), so a rerun gives the
same bytes; the files are committed and a test compares them with a fresh run.
Text is Shift-JIS (code page 932) in uncompressed content streams. The last
file is written by reportlab with its CID fonts; it needs the system Python's
python3-reportlab, and is left out with a note when reportlab is missing.
"""

import hashlib
import importlib.util
import os
import sys

sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pdfsyntax import Hex, Name, Ref, encode, literal_string, xref_entry  # noqa: E402

CREATION_DATE = b"D:20240401090000+09'00'"
A4 = [0, 0, 595, 842]


class Document:
    """A PDF file built in memory: numbered objects written in number order
    after a PDF 1.3 header, then a classic cross-reference table."""

    def __init__(self, name):
        self.name = name
        self.bodies = {}
        self.count = 0

    def reserve(self):
        self.count += 1
        return Ref(self.count)

    def put(self, ref, value):
        self.bodies[ref.num] = encode(value)

    def put_stream(self, ref, data, extra=None):
        head = dict(extra or {})
        head["Length"] = len(data)
        self.bodies[ref.num] = encode(head) + b"\nstream\n" + data + b"\nendstream"

    def add(self, value):
        ref = self.reserve()
        self.put(ref, value)
        return ref

    def add_stream(self, data, extra=None):
        ref = self.reserve()
        self.put_stream(ref, data, extra)
        return ref

    def finish(self, root, title):
        info = self.add({"Title": title.encode("cp932"),
                         "Producer": b"Kanafix make_examples.py",
                         "CreationDate": CREATION_DATE})
        out = bytearray(b"%PDF-1.3\n%\xe2\xe3\xcf\xd3\n")
        offsets = []
        for num in range(1, self.count + 1):
            offsets.append(len(out))
            out += b"%d 0 obj\n" % num + self.bodies[num] + b"\nendobj\n"
        xref = len(out)
        out += b"xref\n0 %d\n" % (self.count + 1)
        out += xref_entry(0, 65535, False)
        for offset in offsets:
            out += xref_entry(offset, 0, True)
        file_id = Hex(hashlib.md5(self.name.encode("ascii")).digest())
        out += b"trailer\n" + encode({"Size": self.count + 1, "Root": root, "Info": info,
                                      "ID": [file_id, file_id]})
        out += b"\nstartxref\n%d\n%%%%EOF\n" % xref
        return bytes(out)


# ---- fonts ---------------------------------------------------------------

def simple_truetype(base):
    """The broken kind: a TrueType font with no widths, no descriptor and no
    encoding, used with two-byte Shift-JIS text."""
    return {"Type": "Font", "Subtype": "TrueType", "BaseFont": Name(base)}


def type0_without_widths(doc, base, encoding):
    """A Type 0 font over a CIDFontType2 descendant that has no W array."""
    descriptor = doc.add({"Type": "FontDescriptor", "FontName": Name(base), "Flags": 4,
                          "FontBBox": [0, -141, 1000, 859], "ItalicAngle": 0,
                          "Ascent": 859, "Descent": -141, "CapHeight": 0, "StemV": 80})
    cidfont = doc.add({"Type": "Font", "Subtype": "CIDFontType2", "BaseFont": Name(base),
                       "CIDSystemInfo": {"Registry": b"Adobe", "Ordering": b"Japan1",
                                         "Supplement": 2},
                       "FontDescriptor": descriptor, "DW": 1000})
    return {"Type": "Font", "Subtype": "Type0", "BaseFont": Name(base),
            "Encoding": Name(encoding), "DescendantFonts": [cidfont]}


HELVETICA = {"Type": "Font", "Subtype": "Type1", "BaseFont": "Helvetica",
             "Encoding": "WinAnsiEncoding"}


# ---- content -------------------------------------------------------------

def show(font, size, x, y, text, codec="cp932"):
    """One line of text in one font: its bytes are Shift-JIS (or ASCII for a
    standard font), written as a literal string."""
    return b"BT /%s %d Tf %d %d Td %s Tj ET\n" % (
        font.encode("ascii"), size, x, y, literal_string(text.encode(codec)))


def lines(font_lines, top=780, step=30, x=60):
    """Lines given as (font resource name, size, text), one under the other."""
    out = bytearray()
    y = top
    for font, size, text in font_lines:
        out += show(font, size, x, y, text)
        y -= step
    return bytes(out)


def page(doc, parent, content, resources=None):
    value = {"Type": "Page", "Parent": parent, "MediaBox": A4,
             "Contents": doc.add_stream(content)}
    if resources is not None:
        value["Resources"] = resources
    return doc.add(value)


def single_page(doc, resources, content):
    pages = doc.reserve()
    kid = page(doc, pages, content, resources)
    doc.put(pages, {"Type": "Pages", "Kids": [kid], "Count": 1})
    return doc.add({"Type": "Catalog", "Pages": pages})


# The notice the examples print: kana, kanji (one whose second byte is 0x5C),
# ASCII digits, a full-width tilde and half-width katakana.
NOTICE = [
    "お知らせ",
    "2024年4月1日（月）から受付時間が変わります。",
    "新しい受付時間：9:00～17:30（土日祝は休み）",
    "料金表は受付の窓口に掲示しています。",
    "問い合わせ先：ｿｳﾑｶ 03-1234-5678",
]


# ---- the examples --------------------------------------------------------

def truetype_ipa(name):
    doc = Document(name)
    fonts = {"F1": "IPAMincho", "F2": "IPAPMincho", "F3": "IPAGothic", "F4": "IPAPGothic"}
    resources = {"Font": {key: doc.add(simple_truetype(base)) for key, base in fonts.items()},
                 "ProcSet": ["PDF", "Text"]}
    body = [("F1", 20, NOTICE[0])]
    for i, key in enumerate(["F1", "F2", "F3", "F4"]):
        body.append((key, 12, "%s：%s" % (fonts[key], NOTICE[1 + i])))
    root = single_page(doc, resources, lines(body))
    return doc.finish(root, "お知らせ（IPAフォント）")


def truetype_heisei(name):
    doc = Document(name)
    resources = {"Font": {"F1": doc.add(simple_truetype("HeiseiMin-W3")),
                          "F2": doc.add(simple_truetype("HeiseiKakuGo-W5"))},
                 "ProcSet": ["PDF", "Text"]}
    body = [("F2", 20, NOTICE[0])] + [("F1", 12, text) for text in NOTICE[1:]]
    root = single_page(doc, resources, lines(body))
    return doc.finish(root, "お知らせ（平成書体）")


def type0_nowidths(name):
    doc = Document(name)
    fonts = [("F1", "IPAMincho", "90ms-RKSJ-H"),
             ("F2", "IPAPGothic", "90msp-RKSJ-H"),
             ("F3", "IPAPMincho", "90ms-RKSJ-H"),
             ("F4", "HeiseiKakuGo-W5", "90msp-RKSJ-H")]
    resources = {"Font": {key: doc.add(type0_without_widths(doc, base, enc))
                          for key, base, enc in fonts},
                 "ProcSet": ["PDF", "Text"]}
    # Without W every glyph is 1000 units wide, so the lines are set small
    # enough to stay on the page.
    body = [("F4", 20, NOTICE[0])]
    for i, (key, base, enc) in enumerate(fonts):
        body.append((key, 10, "%s %s：%s" % (base, enc, NOTICE[1 + i])))
    root = single_page(doc, resources, lines(body))
    return doc.finish(root, "お知らせ（Type 0）")


def shared_fonts(name):
    """Three pages: one font object shared by pages 1 and 2 and listed twice on
    page 2, an indirect standard font on every page, a direct font dictionary."""
    doc = Document(name)
    mincho = doc.add(simple_truetype("IPAPMincho"))
    helvetica = doc.add(HELVETICA)
    gothic = doc.add(simple_truetype("IPAGothic"))
    pages = doc.reserve()
    page1 = page(doc, pages, lines([
        ("F1", 20, "会議のご案内"),
        ("F1", 12, "日時：2024年5月10日（金）14:00～15:30"),
        ("F1", 12, "場所：本館3階 第2会議室"),
    ]) + show("H", 10, 60, 60, "Page 1 of 3", "ascii"),
        {"Font": {"F1": mincho, "H": helvetica}, "ProcSet": ["PDF", "Text"]})
    page2 = page(doc, pages, lines([
        ("F1", 16, "議題"),
        ("F2", 12, "1. 新しい受付時間について"),
        ("F1", 12, "2. ｼｽﾃﾑ更新の予定"),
        ("F2", 12, "3. その他"),
    ]) + show("H", 10, 60, 60, "Page 2 of 3", "ascii"),
        {"Font": {"F1": mincho, "F2": mincho, "H": helvetica}, "ProcSet": ["PDF", "Text"]})
    direct = simple_truetype("IPAGothic")
    page3 = page(doc, pages, lines([
        ("G1", 16, "出欠のご連絡"),
        ("D1", 12, "5月8日までに総務課（内線123）へお知らせください。"),
    ]) + show("H", 10, 60, 60, "Page 3 of 3", "ascii"),
        {"Font": {"D1": direct, "G1": gothic, "H": helvetica}, "ProcSet": ["PDF", "Text"]})
    doc.put(pages, {"Type": "Pages", "Kids": [page1, page2, page3], "Count": 3})
    root = doc.add({"Type": "Catalog", "Pages": pages})
    return doc.finish(root, "会議のご案内")


def nested_tree(name):
    """Five pages under three levels of Pages nodes. The root node's Resources
    (an indirect dictionary with an indirect Font dictionary) serve pages 1, 2
    and 5; an inner node overrides them for pages 3 and 4."""
    doc = Document(name)
    gothic = doc.add(simple_truetype("IPAGothic"))
    heisei = doc.add(simple_truetype("HeiseiMin-W3"))
    pgothic = doc.add(simple_truetype("IPAPGothic"))
    root_fonts = doc.add({"F1": gothic, "F2": heisei})
    root_resources = doc.add({"Font": root_fonts, "ProcSet": ["PDF", "Text"]})
    inner_resources = {"Font": {"F1": pgothic, "F2": heisei}, "ProcSet": ["PDF", "Text"]}

    top, left, right, inner = doc.reserve(), doc.reserve(), doc.reserve(), doc.reserve()

    def leaf(parent, number, title):
        return page(doc, parent, lines([
            ("F1", 18, "社内報 第%d号" % number),
            ("F2", 12, title),
            ("F2", 12, "ﾍﾟｰｼﾞ %d / 5" % number),
        ]))

    p1 = leaf(left, 1, "新年度のごあいさつ")
    p2 = leaf(left, 2, "新しい仲間を紹介します")
    p3 = leaf(inner, 3, "4月の行事予定")
    p4 = leaf(inner, 4, "健康診断のお知らせ")
    p5 = leaf(right, 5, "編集後記")
    doc.put(top, {"Type": "Pages", "Kids": [left, right], "Count": 5,
                  "Resources": root_resources})
    doc.put(left, {"Type": "Pages", "Parent": top, "Kids": [p1, p2], "Count": 2})
    doc.put(right, {"Type": "Pages", "Parent": top, "Kids": [inner, p5], "Count": 3})
    doc.put(inner, {"Type": "Pages", "Parent": right, "Kids": [p3, p4], "Count": 2,
                    "Resources": inner_resources})
    root = doc.add({"Type": "Catalog", "Pages": top})
    return doc.finish(root, "社内報")


def style_suffix(name):
    """Base names with a style suffix after a comma, spaces (#20 in the name)
    and Japanese full names in Shift-JIS bytes."""
    doc = Document(name)
    fonts = [("F1", b"IPAPGothic,Bold"),
             ("F2", b"IPA Mincho,Italic"),
             ("F3", b"IPA P" + "明朝".encode("cp932")),
             ("F4", b"IPA" + "ゴシック".encode("cp932") + b",Bold"),
             ("F5", b"HeiseiKakuGo-W5,Bold")]
    resources = {"Font": {key: doc.add(simple_truetype(base)) for key, base in fonts},
                 "ProcSet": ["PDF", "Text"]}
    body = [("F1", 20, "見出しと本文の書体"),
            ("F2", 12, "本文は明朝体、見出しはゴシック体で組みます。"),
            ("F3", 12, "プロポーショナル明朝：ABC abc 0123"),
            ("F4", 12, "等幅ゴシック：ABC abc 0123"),
            ("F5", 12, "角ゴシック体 W5：ｶﾀｶﾅ 2024")]
    root = single_page(doc, resources, lines(body))
    return doc.finish(root, "書体の見本")


HANDWRITTEN = [
    ("truetype-ipa.pdf", truetype_ipa),
    ("truetype-heisei.pdf", truetype_heisei),
    ("type0-nowidths.pdf", type0_nowidths),
    ("shared-fonts.pdf", shared_fonts),
    ("nested-tree.pdf", nested_tree),
    ("style-suffix.pdf", style_suffix),
]


def reportlab_heisei(path):
    """A notice written by reportlab with its two Japanese CID fonts."""
    from reportlab import rl_config
    rl_config.invariant = 1
    from reportlab.pdfbase import pdfmetrics
    from reportlab.pdfbase.cidfonts import UnicodeCIDFont
    from reportlab.pdfgen import canvas

    pdfmetrics.registerFont(UnicodeCIDFont("HeiseiMin-W3"))
    pdfmetrics.registerFont(UnicodeCIDFont("HeiseiKakuGo-W5"))
    c = canvas.Canvas(path, pagesize=(595, 842), pageCompression=0, invariant=1)
    c.setTitle("お知らせ（reportlab）")
    c.setFont("HeiseiKakuGo-W5", 20)
    c.drawString(60, 780, NOTICE[0])
    c.setFont("HeiseiMin-W3", 12)
    for i, text in enumerate(NOTICE[1:]):
        c.drawString(60, 750 - 30 * i, text)
    c.setFont("Helvetica", 10)
    c.drawString(60, 60, "Page 1 of 1")
    c.showPage()
    c.save()


REPORTLAB_FILE = "reportlab-heisei.pdf"
# The reportlab release that wrote the committed file; another release may
# write other bytes.
REPORTLAB_VERSION = "3.6.12"


def main(argv):
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = argv[1] if len(argv) > 1 else os.path.join(root, "examples")
    os.makedirs(out, exist_ok=True)
    for name, build in HANDWRITTEN:
        with open(os.path.join(out, name), "wb") as f:
            f.write(build(name))
    if importlib.util.find_spec("reportlab") is None:
        print("make_examples: reportlab is missing; %s not written" % REPORTLAB_FILE,
              file=sys.stderr)
        return 2
    reportlab_heisei(os.path.join(out, REPORTLAB_FILE))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
