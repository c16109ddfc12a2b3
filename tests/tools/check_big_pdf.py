#!/usr/bin/env python3
"""Runs bench/make_big_pdf.py on a few tiny configurations and checks what it
wrote: qpdf --check, the classic cross-reference form, and, read back through
qpdf's JSON, the page count, the page tree's shape, each page's fonts,
content and image sizes, the Japanese share of the font pool and that a rerun
gives the same bytes. Exit 0: all pass; 1: a failure; 77: no qpdf."""

import json
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, HERE)
import pdfcheck  # noqa: E402

GENERATOR = os.path.join(ROOT, "bench", "make_big_pdf.py")
JAPANESE = {"IPAMincho", "IPAPMincho", "IPAGothic", "IPAPGothic", "HeiseiMin-W3",
            "HeiseiKakuGo-W5"}

# name, options, expected image width x height (None: no image)
CASES = [
    ("nested, uneven last nodes", dict(pages=23, fonts_per_page=3, font_pool=14, fanout=3,
                                       content_bytes=1200, image_bytes=5000,
                                       japanese_fraction=0.5), (1024, 4)),
    ("flat tree, image under one row", dict(pages=5, fonts_per_page=1, font_pool=1, fanout=0,
                                            content_bytes=400, image_bytes=300,
                                            japanese_fraction=1.0), (300, 1)),
    ("one page, standard fonts only", dict(pages=1, fonts_per_page=2, font_pool=2, fanout=10,
                                           content_bytes=0, image_bytes=0,
                                           japanese_fraction=0.0), None),
    ("Type 0 round of the pool", dict(pages=12, fonts_per_page=5, font_pool=16, fanout=2,
                                      content_bytes=1500, image_bytes=0,
                                      japanese_fraction=0.75), None),
]


def arguments(options):
    args = []
    for key, value in options.items():
        args += ["--" + key.replace("_", "-"), str(value)]
    return args


def load_json(path):
    run = subprocess.run([pdfcheck.qpdf(), "--json=2", "--json-key=pages", "--json-key=qpdf",
                          path], capture_output=True, text=True, check=True)
    data = json.loads(run.stdout)
    objects = {key[4:]: value for key, value in data["qpdf"][1].items()
               if key.startswith("obj:")}
    return data["pages"], objects


def check_case(name, options, image, tmp):
    problems = []
    path = os.path.join(tmp, "case.pdf")
    again = os.path.join(tmp, "again.pdf")
    for target in (path, again):
        subprocess.run([sys.executable, GENERATOR, "--quiet", target] + arguments(options),
                       check=True)
    with open(path, "rb") as f:
        data = f.read()
    with open(again, "rb") as f:
        if f.read() != data:
            problems.append("a rerun wrote other bytes")
    problems += pdfcheck.classic_xref_problems(data)
    problems += pdfcheck.qpdf_check_problems(path)
    if problems:
        return problems

    pages, objects = load_json(path)

    def value(ref):
        return objects[ref].get("value", objects[ref].get("stream", {}).get("dict"))

    if len(pages) != options["pages"]:
        problems.append("%d pages, wanted %d" % (len(pages), options["pages"]))

    # The tree: every Pages node's Count is the number of pages below it, its
    # kids point back at it, and it has no more kids than the fan-out allows.
    def count_below(ref, parent, depth):
        node = value(ref)
        if parent is not None and node.get("/Parent") != parent:
            problems.append("%s: Parent is %s, not %s" % (ref, node.get("/Parent"), parent))
        if node["/Type"] == "/Page":
            return 1
        kids = node["/Kids"]
        if options["fanout"] >= 2 and len(kids) > options["fanout"]:
            problems.append("%s has %d kids, fan-out %d" % (ref, len(kids), options["fanout"]))
        if depth > 64:
            problems.append("page tree deeper than 64")
            return 0
        total = sum(count_below(kid, ref, depth + 1) for kid in kids)
        if node["/Count"] != total:
            problems.append("%s: Count %d, %d pages below" % (ref, node["/Count"], total))
        return total

    catalog = next(v["value"] for v in objects.values()
                   if isinstance(v.get("value"), dict) and v["value"].get("/Type") == "/Catalog")
    count_below(catalog["/Pages"], None, 0)
    if options["fanout"] < 2 and len(value(catalog["/Pages"])["/Kids"]) != options["pages"]:
        problems.append("fan-out %d did not hang every page from the root" % options["fanout"])

    used = set()
    for page in pages:
        ref = page["object"]
        resources = value(ref)["/Resources"]
        fonts = resources["/Font"]
        if sorted(fonts) != ["/F%d" % j for j in range(options["fonts_per_page"])]:
            problems.append("%s: fonts %s" % (ref, sorted(fonts)))
        for font in fonts.values():
            if value(font).get("/Type") != "/Font":
                problems.append("%s: %s is not a font" % (ref, font))
            used.add(font)
        content = value(page["contents"][0])
        # Above the size of the operators a page needs, the size is exact.
        exact = options["content_bytes"] >= 1000
        if (content["/Length"] != options["content_bytes"] if exact
                else content["/Length"] < options["content_bytes"]):
            problems.append("%s: content of %d bytes, wanted %d"
                            % (ref, content["/Length"], options["content_bytes"]))
        shown = [(i["width"], i["height"]) for i in page["images"]]
        if shown != ([image] if image else []):
            problems.append("%s: images %s, wanted %s" % (ref, shown, image))
        if image and value(page["images"][0]["object"])["/Length"] != image[0] * image[1]:
            problems.append("%s: image data is not %d bytes" % (ref, image[0] * image[1]))

    pool = [value(r) for r in objects
            if isinstance(value(r), dict) and value(r).get("/Type") == "/Font"
            and value(r).get("/Subtype") != "/CIDFontType2"]
    if len(pool) != options["font_pool"]:
        problems.append("%d pool fonts, wanted %d" % (len(pool), options["font_pool"]))
    japanese = [f for f in pool if f["/BaseFont"][1:] in JAPANESE]
    wanted = int(options["font_pool"] * options["japanese_fraction"])
    if len(japanese) != wanted:
        problems.append("%d Japanese-named fonts, wanted %d" % (len(japanese), wanted))
    for font in japanese:
        if font["/Subtype"] == "/Type0":
            expected = "/90msp-RKSJ-H" if font["/BaseFont"].startswith("/IPAP") \
                else "/90ms-RKSJ-H"
            if font.get("/Encoding") != expected:
                problems.append("%s with Encoding %s" % (font["/BaseFont"], font.get("/Encoding")))
        elif font["/Subtype"] != "/TrueType":
            problems.append("%s is a %s font" % (font["/BaseFont"], font["/Subtype"]))
    if options["font_pool"] <= options["pages"] * options["fonts_per_page"] // 2 \
            and len(used) < options["font_pool"] // 2:
        problems.append("pages use only %d of %d pool fonts" % (len(used), options["font_pool"]))
    return problems


def main():
    if pdfcheck.qpdf() is None:
        print("big pdf: qpdf is not installed; skipped")
        return 77
    failed = False
    with tempfile.TemporaryDirectory() as tmp:
        for name, options, image in CASES:
            problems = check_case(name, options, image, tmp)
            for problem in problems:
                print("big pdf, %s: %s" % (name, problem))
            if not problems:
                print("big pdf, %s: passes" % name)
            failed = failed or bool(problems)
        # Options the generator must refuse.
        for bad in (["--fonts-per-page", "0"], ["--font-pool", "2", "--fonts-per-page", "3"],
                    ["--japanese-fraction", "1.5"], ["--pages", "0"]):
            run = subprocess.run([sys.executable, GENERATOR, os.path.join(tmp, "bad.pdf")] + bad,
                                 capture_output=True)
            if run.returncode == 0:
                print("big pdf: %s was accepted" % " ".join(bad))
                failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
