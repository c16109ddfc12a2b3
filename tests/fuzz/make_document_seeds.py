#!/usr/bin/env python3
"""Writes the hand-made seed documents of the document-level fuzz targets
into corpus/fuzz_document/ and corpus/fuzz_repair/: small, well-formed PDF
files whose fonts name the fixture fonts (tests/data/sysfont/fonts) and the
two built-in substitutes, so that the repair finds fonts to replace, plus
shapes the mutator should start from (inherited resources, a nested page
tree, an incremental update, a Type 0 font with a descendant)."""
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def pdf(objects, root=1, update=None):
    """objects: {number: body text}; update: objects appended as a second section."""
    out = bytearray(b"%PDF-1.3\n%\xe2\xe3\xcf\xd3\n")

    def section(objs, prev):
        offsets = {}
        for num in sorted(objs):
            offsets[num] = len(out)
            body = objs[num]
            out.extend(b"%d 0 obj\n" % num)
            out.extend(body if isinstance(body, bytes) else body.encode("latin-1"))
            out.extend(b"\nendobj\n")
        xref = len(out)
        out.extend(b"xref\n")
        if prev is None:
            out.extend(b"0 1\n0000000000 65535 f \n")
        for num in sorted(objs):
            out.extend(b"%d 1\n%010d 00000 n \n" % (num, offsets[num]))
        size = max(list(objects) + list(update or {})) + 1
        out.extend(b"trailer\n<< /Size %d /Root %d 0 R" % (size, root))
        if prev is not None:
            out.extend(b" /Prev %d" % prev)
        out.extend(b" >>\nstartxref\n%d\n%%%%EOF\n" % xref)
        return xref

    first = section(objects, None)
    if update:
        section(update, first)
    return bytes(out)


def stream(data):
    return "<< /Length %d >>\nstream\n%s\nendstream" % (len(data), data)


CONTENT = stream("BT /F1 12 Tf 72 720 Td (\x82\xa0\x82\xa2) Tj ET")


def simple(fonts, page_extra=""):
    objs = {
        1: "<< /Type /Catalog /Pages 2 0 R >>",
        2: "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        3: "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R "
        "/Resources << /Font << %s >> >>%s >>"
        % (" ".join("/F%d %d 0 R" % (i + 1, 10 + i) for i in range(len(fonts))), page_extra),
        4: CONTENT,
    }
    for i, font in enumerate(fonts):
        objs[10 + i] = font
    return objs


def truetype(base):
    return "<< /Type /Font /Subtype /TrueType /BaseFont /%s /FirstChar 32 /LastChar 33 /Widths [500 500] >>" % base


def type0(base, encoding="/90ms-RKSJ-H"):
    return (
        "<< /Type /Font /Subtype /Type0 /BaseFont /%s /Encoding %s /DescendantFonts [20 0 R] >>" % (base, encoding)
    )


DESCENDANT = (
    "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /Kanafix#20Gothic "
    "/CIDSystemInfo << /Registry (Adobe) /Ordering (Japan1) /Supplement 2 >> /DW 1000 /W [1 [500 500]] >>"
)

SEEDS = {
    "truetype-fixture-fonts.pdf": pdf(
        simple([truetype("Kanafix#20Gothic"), truetype("Kanafix#20PGothic,Bold"), truetype("KanafixCollectionMincho")])
    ),
    "truetype-not-installed.pdf": pdf(simple([truetype("Kanafix#20Sans"), truetype("Helvetica")])),
    "type0-fixture-font.pdf": pdf({**simple([type0("Kanafix#20Gothic")]), 20: DESCENDANT}),
    "heisei-substitutes.pdf": pdf(simple([truetype("HeiseiMin-W3"), type0("HeiseiKakuGo-W5", "/90msp-RKSJ-H")]) | {20: DESCENDANT}),
    "inherited-nested-tree.pdf": pdf(
        {
            1: "<< /Type /Catalog /Pages 2 0 R >>",
            2: "<< /Type /Pages /Kids [5 0 R 3 0 R] /Count 3 /Resources << /Font << /F1 10 0 R /F2 11 0 R >> >> >>",
            5: "<< /Type /Pages /Parent 2 0 R /Kids [6 0 R 7 0 R] /Count 2 >>",
            6: "<< /Type /Page /Parent 5 0 R /MediaBox [0 0 595 842] /Contents 4 0 R >>",
            7: "<< /Type /Page /Parent 5 0 R /Contents 4 0 R /Resources << /Font << /F1 11 0 R >> >> >>",
            3: "<< /Type /Page /Parent 2 0 R /Contents 4 0 R >>",
            4: CONTENT,
            10: truetype("Kanafix#20Gothic"),
            11: truetype("HeiseiMin-W3"),
        }
    ),
    "incremental-update.pdf": pdf(
        simple([truetype("Helvetica")]),
        update={10: truetype("Kanafix#20Gothic"), 3: "<< /Type /Page /Parent 2 0 R /Contents 4 0 R "
                "/Resources << /Font << /F1 10 0 R /F2 << /Type /Font /Subtype /TrueType /BaseFont /HeiseiMin-W3 >> >> >> >>"},
    ),
}

for target in ("fuzz_document", "fuzz_repair"):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    for name, data in SEEDS.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
