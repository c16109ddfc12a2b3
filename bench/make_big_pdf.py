#!/usr/bin/env python3
"""Writes a large PDF file for measuring the repair: many pages, a pool of
font objects shared across pages (some named after Japanese fonts), content
streams and uncompressed images of a chosen size, and a page tree nested to a
chosen fan-out.

Usage: bench/make_big_pdf.py [--preset small|large] [options] output.pdf
(see --help, and bench/README.md).

The output depends only on the options: object numbers are computed before
anything is written, and the file is streamed out in large chunks with the
offsets kept as it goes, so the memory used does not grow with the file.
"""

import argparse
import array
import hashlib
import os
import sys
import time

sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
from pdfsyntax import Hex, Name, Ref, encode, literal_string, xref_entry  # noqa: E402

PRESETS = {
    # About 50 MB.
    "small": dict(pages=1000, fonts_per_page=8, font_pool=200, content_bytes=6000,
                  image_bytes=44032, fanout=10, japanese_fraction=0.5),
    # About 520 MB.
    "large": dict(pages=10000, fonts_per_page=8, font_pool=1000, content_bytes=7400,
                  image_bytes=44032, fanout=10, japanese_fraction=0.5),
}

JAPANESE_NAMES = ["IPAMincho", "IPAPMincho", "IPAGothic", "IPAPGothic",
                  "HeiseiMin-W3", "HeiseiKakuGo-W5"]
STANDARD_NAMES = ["Helvetica", "Times-Roman", "Courier", "Helvetica-Bold",
                  "Times-Bold", "Courier-Oblique", "Symbol"]

# Shift-JIS text for the content streams: kana, kanji, digits, half-width kana.
TEXT = ["第%d章 受付時間のご案内", "2024年4月1日から9:00～17:30に変わります。",
        "料金表は窓口に掲示しています。", "問い合わせ先：ｿｳﾑｶ 03-1234-5678"]

# The options that shape the file (and so its ID).
SHAPE = ["pages", "fonts_per_page", "font_pool", "content_bytes", "image_bytes", "fanout",
         "japanese_fraction"]

CHUNK = 8 << 20
IMAGE_WIDTH = 1024


class ChunkWriter:
    """Appends bytes to a file through one large buffer and knows the offset
    of the next byte."""

    def __init__(self, path):
        self.file = open(path, "wb")
        self.buffer = bytearray()
        self.position = 0

    def write(self, data):
        self.buffer += data
        self.position += len(data)
        if len(self.buffer) >= CHUNK:
            self.file.write(self.buffer)
            self.buffer = bytearray()

    def close(self):
        self.file.write(self.buffer)
        self.file.close()


class Layout:
    """Object numbers of everything in the file, fixed before writing."""

    def __init__(self, opts):
        self.catalog = Ref(1)
        self.info = Ref(2)
        number = 3
        # Pool fonts: a standard Type1 font, or a Japanese-named font that is
        # either a simple TrueType font or a Type 0 font without widths (which
        # takes three objects: font, descendant, descriptor).
        self.fonts = []
        japanese_seen = 0
        for i in range(opts.font_pool):
            japanese = int((i + 1) * opts.japanese_fraction) > int(i * opts.japanese_fraction)
            if japanese:
                name = JAPANESE_NAMES[japanese_seen % len(JAPANESE_NAMES)]
                kind = "type0" if (japanese_seen // len(JAPANESE_NAMES)) % 2 else "truetype"
                japanese_seen += 1
            else:
                name = STANDARD_NAMES[i % len(STANDARD_NAMES)]
                kind = "type1"
            self.fonts.append((number, name, kind))
            number += 3 if kind == "type0" else 1
        self.japanese_fonts = japanese_seen
        # Each page: the page, its content stream and, when wanted, its image.
        self.per_page = 3 if opts.image_bytes > 0 else 2
        self.first_page = number
        number += self.per_page * opts.pages
        # Pages nodes, level by level from the leaves up; the last is the root.
        self.nodes = []            # (number, kid numbers, page count of the subtree)
        self.parent_of = {}
        level = [(self.page_ref(p).num, 1) for p in range(opts.pages)]
        fanout = opts.fanout if opts.fanout >= 2 else max(1, len(level))
        while True:
            groups = [level[i:i + fanout] for i in range(0, len(level), fanout)]
            next_level = []
            for group in groups:
                node = number
                number += 1
                for kid, _ in group:
                    self.parent_of[kid] = node
                count = sum(c for _, c in group)
                self.nodes.append((node, [k for k, _ in group], count))
                next_level.append((node, count))
            level = next_level
            if len(level) == 1:
                break
        self.root = Ref(level[0][0])
        self.count = number - 1    # highest object number

    def page_ref(self, p):
        return Ref(self.first_page + self.per_page * p)


def font_objects(number, name, kind):
    """The objects of one pool font, as (number, body bytes)."""
    if kind == "type1":
        return [(number, encode({"Type": "Font", "Subtype": "Type1", "BaseFont": Name(name)}))]
    if kind == "truetype":
        return [(number, encode({"Type": "Font", "Subtype": "TrueType", "BaseFont": Name(name)}))]
    encoding = "90msp-RKSJ-H" if name.startswith("IPAP") else "90ms-RKSJ-H"
    return [
        (number, encode({"Type": "Font", "Subtype": "Type0", "BaseFont": Name(name),
                         "Encoding": Name(encoding), "DescendantFonts": [Ref(number + 1)]})),
        (number + 1, encode({"Type": "Font", "Subtype": "CIDFontType2", "BaseFont": Name(name),
                             "CIDSystemInfo": {"Registry": b"Adobe", "Ordering": b"Japan1",
                                               "Supplement": 2},
                             "FontDescriptor": Ref(number + 2), "DW": 1000})),
        (number + 2, encode({"Type": "FontDescriptor", "FontName": Name(name), "Flags": 4,
                             "FontBBox": [0, -141, 1000, 859], "ItalicAngle": 0,
                             "Ascent": 859, "Descent": -141, "CapHeight": 0, "StemV": 80})),
    ]


def content_body(opts, image):
    """The part of every page's content after its first line: text in each of
    the page's font slots, then the image, padded to the wanted size."""
    lines = []
    for slot in range(opts.fonts_per_page):
        text = TEXT[1 + slot % (len(TEXT) - 1)].encode("cp932")
        lines.append(b"BT /F%d 10 Tf 60 %d Td %s Tj ET\n"
                     % (slot, 740 - 14 * (slot % 50), literal_string(text)))
    tail = b"q 240 0 0 120 60 60 cm /Im0 Do Q\n" if image else b""
    return b"".join(lines), tail


def page_content(opts, p, body, tail):
    """Exactly opts.content_bytes bytes when that is larger than the
    essential operators; a comment line fills the remainder."""
    head = b"BT /F0 16 Tf 60 780 Td %s Tj ET\n" % literal_string(
        (TEXT[0] % (p + 1)).encode("cp932"))
    data = head + body
    repeat_body = body
    while len(data) + len(repeat_body) + len(tail) <= opts.content_bytes:
        data += repeat_body
    data += tail
    room = opts.content_bytes - len(data)
    if room >= 2:
        data += b"%" + b"." * (room - 2) + b"\n"
    elif room == 1:
        data += b"\n"
    return data


def image_data(size):
    """A grey gradient of `size` bytes (rows of IMAGE_WIDTH pixels)."""
    row = bytes((x * 255) // (IMAGE_WIDTH - 1) for x in range(IMAGE_WIDTH))
    rows = size // IMAGE_WIDTH
    return b"".join(row[y % 7:] + row[:y % 7] for y in range(rows))


def write(opts):
    layout = Layout(opts)
    out = ChunkWriter(opts.output)
    offsets = array.array("q", [0]) * (layout.count + 1)

    def obj(number, body):
        offsets[number] = out.position
        out.write(b"%d 0 obj\n" % number + body + b"\nendobj\n")

    def stream(number, head, data):
        head = dict(head)
        head["Length"] = len(data)
        offsets[number] = out.position
        out.write(b"%d 0 obj\n" % number + encode(head) + b"\nstream\n")
        out.write(data)
        out.write(b"\nendstream\nendobj\n")

    out.write(b"%PDF-1.3\n%\xe2\xe3\xcf\xd3\n")
    obj(1, encode({"Type": "Catalog", "Pages": layout.root}))
    obj(2, encode({"Producer": b"Kanafix make_big_pdf.py",
                   "CreationDate": b"D:20240401090000+09'00'",
                   "Title": b"Benchmark: %d pages" % opts.pages}))
    for number, name, kind in layout.fonts:
        for n, body in font_objects(number, name, kind):
            obj(n, body)

    image_rows = opts.image_bytes // IMAGE_WIDTH if opts.image_bytes >= IMAGE_WIDTH else 1
    image_width = IMAGE_WIDTH if opts.image_bytes >= IMAGE_WIDTH else opts.image_bytes
    image = image_data(image_rows * IMAGE_WIDTH) if image_width == IMAGE_WIDTH \
        else bytes(x & 0xFF for x in range(image_width))
    body, tail = content_body(opts, opts.image_bytes > 0)
    pool = len(layout.fonts)
    for p in range(opts.pages):
        page = layout.page_ref(p).num
        # A window of the pool starting at a scattered place, so that each
        # font is shared by many pages and neighbouring pages differ.
        start = (p * 2654435761) % pool
        fonts = {"F%d" % j: Ref(layout.fonts[(start + j) % pool][0])
                 for j in range(opts.fonts_per_page)}
        resources = {"Font": fonts, "ProcSet": ["PDF", "Text"]}
        if opts.image_bytes > 0:
            resources["XObject"] = {"Im0": Ref(page + 2)}
            resources["ProcSet"] = ["PDF", "Text", "ImageB"]
        obj(page, encode({"Type": "Page", "Parent": Ref(layout.parent_of[page]),
                          "MediaBox": [0, 0, 595, 842], "Resources": resources,
                          "Contents": Ref(page + 1)}))
        stream(page + 1, {}, page_content(opts, p, body, tail))
        if opts.image_bytes > 0:
            stream(page + 2, {"Type": "XObject", "Subtype": "Image", "Width": image_width,
                              "Height": image_rows, "ColorSpace": "DeviceGray",
                              "BitsPerComponent": 8}, image)
    for number, kids, count in layout.nodes:
        node = {"Type": "Pages", "Kids": [Ref(k) for k in kids], "Count": count}
        if number in layout.parent_of:
            node["Parent"] = Ref(layout.parent_of[number])
        obj(number, encode(node))

    xref = out.position
    out.write(b"xref\n0 %d\n" % (layout.count + 1))
    entries = bytearray(xref_entry(0, 65535, False, b" \n"))
    for number in range(1, layout.count + 1):
        entries += xref_entry(offsets[number], 0, True, b" \n")
    out.write(bytes(entries))
    shape = [getattr(opts, key) for key in SHAPE]
    file_id = Hex(hashlib.md5(repr(shape).encode("ascii")).digest())
    out.write(b"trailer\n" + encode({"Size": layout.count + 1, "Root": layout.catalog,
                                     "Info": layout.info, "ID": [file_id, file_id]}))
    out.write(b"\nstartxref\n%d\n%%%%EOF\n" % xref)
    size = out.position
    out.close()
    return layout, size


def parse(argv):
    parser = argparse.ArgumentParser(
        description="Write a large, deterministic PDF file for benchmarks.")
    parser.add_argument("output", help="the PDF file to write")
    parser.add_argument("--preset", choices=sorted(PRESETS),
                        help="start from a preset; other options override it")
    parser.add_argument("--pages", type=int, help="number of pages (default 100)")
    parser.add_argument("--fonts-per-page", type=int,
                        help="fonts listed in each page's resources (default 4, at least 1)")
    parser.add_argument("--font-pool", type=int,
                        help="distinct font objects shared by all pages (default 20)")
    parser.add_argument("--content-bytes", type=int,
                        help="size of each page's content stream (default 2000)")
    parser.add_argument("--image-bytes", type=int,
                        help="bytes of the uncompressed image on each page, 0 for none "
                             "(default 0; rounded down to whole rows of 1024 pixels)")
    parser.add_argument("--fanout", type=int,
                        help="kids per Pages node; 0 or 1 puts every page under the root "
                             "(default 10)")
    parser.add_argument("--japanese-fraction", type=float,
                        help="share of the pool named after Japanese fonts (default 0.5)")
    parser.add_argument("--quiet", action="store_true", help="print nothing")
    opts = parser.parse_args(argv)
    defaults = dict(pages=100, fonts_per_page=4, font_pool=20, content_bytes=2000,
                    image_bytes=0, fanout=10, japanese_fraction=0.5)
    if opts.preset:
        defaults.update(PRESETS[opts.preset])
    for key, value in defaults.items():
        if getattr(opts, key) is None:
            setattr(opts, key, value)
    if opts.pages < 1:
        parser.error("--pages must be at least 1")
    if opts.fonts_per_page < 1:
        parser.error("--fonts-per-page must be at least 1 (a page without fonts "
                     "stops the repair)")
    if opts.font_pool < opts.fonts_per_page:
        parser.error("--font-pool must be at least --fonts-per-page")
    if not 0.0 <= opts.japanese_fraction <= 1.0:
        parser.error("--japanese-fraction must lie between 0 and 1")
    if opts.content_bytes < 0 or opts.image_bytes < 0 or opts.fanout < 0:
        parser.error("sizes and --fanout must not be negative")
    return opts


def main(argv):
    opts = parse(argv)
    started = time.monotonic()
    layout, size = write(opts)
    if not opts.quiet:
        print("%s: %d bytes, %d pages, %d objects, %d pool fonts (%d Japanese-named), "
              "%d Pages nodes, %.1f s"
              % (opts.output, size, opts.pages, layout.count, len(layout.fonts),
                 layout.japanese_fonts, len(layout.nodes), time.monotonic() - started))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
