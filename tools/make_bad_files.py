#!/usr/bin/python3
"""Writes the damaged PDF files of tests/data/badfiles/: each one is a small
good file (one page, one TrueType font named HeiseiMin-W3, an Info dictionary)
broken in one way: cut short, with garbage after its end, with cross-reference
offsets that lead nowhere, with a broken page tree, with syntax that never
ends, in the PDF 1.5 forms the reader refuses, or encrypted.

Usage: tools/make_bad_files.py [--check] [output folder]   (default tests/data/badfiles/)

With --check nothing is written: the exit status says whether the files in
the folder are the ones the script writes.

The files are made from fixed data, so a rerun gives the same bytes. The
expected outcome of every file is kept by hand in expected.tsv beside them;
this script writes only the PDF files and base.pdf, the good file itself.
"""

import hashlib
import os
import sys

HEADER = b"%PDF-1.3\n%\xe2\xe3\xcf\xd3\n"
CONTENT = b"BT /F1 12 Tf 72 720 Td <82a082a282a4> Tj ET"


def base_objects():
    """The objects of the good file, by number, as body bytes."""
    return {
        1: b"<< /Type /Catalog /Pages 2 0 R >>",
        2: b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        3: (b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842]\n"
            b"/Resources << /Font << /F1 5 0 R >> >> /Contents 4 0 R >>"),
        4: b"<< /Length %d >>\nstream\n%s\nendstream" % (len(CONTENT), CONTENT),
        5: b"<< /Type /Font /Subtype /TrueType /BaseFont /HeiseiMin-W3 >>",
        6: b"<< /Title (Damaged file fixture) /CreationDate (D:20240401090000+09'00') >>",
    }


class Built:
    """A file and where its parts start, for cutting it at a chosen point."""

    def __init__(self, data, offsets, xref, trailer, startxref):
        self.data = data
        self.offsets = offsets
        self.xref = xref
        self.trailer = trailer
        self.startxref = startxref


def xref_entry(offset, generation, in_use):
    return b"%010d %05d %s\r\n" % (offset, generation, b"n" if in_use else b"f")


def build(objects, trailer=None, entry_offsets=None, startxref=None, free=()):
    """Writes `objects` after the header with one classic cross-reference
    table. `entry_offsets` overrides the offsets written for some objects,
    `free` lists numbers written as free entries, `startxref` overrides the
    offset after the keyword, `trailer` the trailer dictionary."""
    out = bytearray(HEADER)
    offsets = {}
    for num in sorted(objects):
        offsets[num] = len(out)
        out += b"%d 0 obj\n" % num + objects[num] + b"\nendobj\n"
    size = max(objects) + 1
    xref = len(out)
    out += b"xref\n0 %d\n" % size
    out += xref_entry(0, 65535, False)
    for num in range(1, size):
        if num in free or num not in offsets:
            out += xref_entry(0, 1, False)
        else:
            out += xref_entry((entry_offsets or {}).get(num, offsets[num]), 0, True)
    trailer_pos = len(out)
    if trailer is None:
        trailer = b"<< /Size %d /Root 1 0 R /Info 6 0 R >>" % size
    out += b"trailer\n" + trailer + b"\n"
    startxref_pos = len(out)
    out += b"startxref\n%s\n%%%%EOF\n" % (str(xref if startxref is None else startxref).encode())
    return Built(bytes(out), offsets, xref, trailer_pos, startxref_pos)


def with_objects(**changes):
    objects = base_objects()
    for key, body in changes.items():
        objects[int(key[1:])] = body
    return objects


# ---- encryption dictionaries ----------------------------------------------

PAD = bytes.fromhex("28BF4E5E4E758A4164004E56FFFA01082E2E00B6D0683E802F0CA9FE6453697A")
FILE_ID = hashlib.md5(b"kanafix bad files").digest()


def rc4(key, data):
    s = list(range(256))
    j = 0
    for i in range(256):
        j = (j + s[i] + key[i % len(key)]) & 0xFF
        s[i], s[j] = s[j], s[i]
    out = bytearray()
    i = j = 0
    for b in data:
        i = (i + 1) & 0xFF
        j = (j + s[i]) & 0xFF
        s[i], s[j] = s[j], s[i]
        out.append(b ^ s[(s[i] + s[j]) & 0xFF])
    return bytes(out)


def encrypt_dict(revision, key_bytes):
    """A standard security handler dictionary whose user password is empty,
    so that a reader that decrypts could open the file without asking."""
    owner_key = hashlib.md5(PAD).digest()
    if revision >= 3:
        for _ in range(50):
            owner_key = hashlib.md5(owner_key[:key_bytes]).digest()
    owner = rc4(owner_key[:key_bytes], PAD)
    if revision >= 3:
        for i in range(1, 20):
            owner = rc4(bytes(b ^ i for b in owner_key[:key_bytes]), owner)
    permissions = -4 if revision == 2 else -3904
    digest = hashlib.md5(PAD + owner + (permissions & 0xFFFFFFFF).to_bytes(4, "little") + FILE_ID).digest()
    if revision >= 3:
        for _ in range(50):
            digest = hashlib.md5(digest[:key_bytes]).digest()
    key = digest[:key_bytes]
    if revision == 2:
        user = rc4(key, PAD)
    else:
        user = rc4(key, hashlib.md5(PAD + FILE_ID).digest())
        for i in range(1, 20):
            user = rc4(bytes(b ^ i for b in key), user)
        user += bytes(16)
    version = 1 if revision == 2 else 2
    length = b"" if revision == 2 else b" /Length %d" % (key_bytes * 8)
    return (b"<< /Filter /Standard /V %d /R %d%s /O <%s> /U <%s> /P %d >>"
            % (version, revision, length, owner.hex().upper().encode(), user.hex().upper().encode(), permissions))


def encrypted_trailer(revision, key_bytes):
    file_id = FILE_ID.hex().upper().encode()
    return (b"<< /Size 7 /Root 1 0 R /Info 6 0 R /Encrypt %s /ID [<%s> <%s>] >>"
            % (encrypt_dict(revision, key_bytes), file_id, file_id))


# ---- PDF 1.5 forms ------------------------------------------------------------

def object_stream(numbers, objects):
    """An uncompressed object stream holding `numbers`."""
    index = bytearray()
    body = bytearray()
    for num in numbers:
        index += b"%d %d " % (num, len(body))
        body += objects[num] + b"\n"
    data = bytes(index) + b"\n" + bytes(body)
    head = b"<< /Type /ObjStm /N %d /First %d /Length %d >>" % (len(numbers), len(index) + 1, len(data))
    return head + b"\nstream\n" + data + b"\nendstream"


def xref_stream_file():
    """Objects 5 and 6 inside object stream 7; a cross-reference stream 8 and
    no classic table at all."""
    objects = base_objects()
    out = bytearray(b"%PDF-1.5\n%\xe2\xe3\xcf\xd3\n")
    offsets = {}
    for num in (1, 2, 3, 4):
        offsets[num] = len(out)
        out += b"%d 0 obj\n" % num + objects[num] + b"\nendobj\n"
    offsets[7] = len(out)
    out += b"7 0 obj\n" + object_stream([5, 6], objects) + b"\nendobj\n"
    xref = len(out)
    rows = bytearray(b"\x00\x00\x00\xff")
    for num in range(1, 9):
        if num in (5, 6):
            rows += bytes([2]) + (7).to_bytes(2, "big") + bytes([num - 5])
        elif num == 8:
            rows += bytes([1]) + xref.to_bytes(2, "big") + b"\x00"
        else:
            rows += bytes([1]) + offsets[num].to_bytes(2, "big") + b"\x00"
    out += (b"8 0 obj\n<< /Type /XRef /Size 9 /W [1 2 1] /Root 1 0 R /Info 6 0 R /Length %d >>\nstream\n"
            % len(rows)) + bytes(rows) + b"\nendstream\nendobj\n"
    out += b"startxref\n%d\n%%%%EOF\n" % xref
    return bytes(out)


def hybrid_file():
    """A classic table that lists the font as free, as a file written for
    PDF 1.4 readers does, with the font in an object stream that only the
    cross-reference stream named by XRefStm describes."""
    objects = base_objects()
    objects[7] = object_stream([5], objects)
    del objects[5]
    plain = build(objects)  # offsets of the plain objects
    out = bytearray(plain.data[:plain.xref])
    xrefstm = len(out)
    rows = bytearray()
    for num in range(0, 9):
        if num == 5:
            rows += bytes([2]) + (7).to_bytes(2, "big") + b"\x00"
        elif num == 8:
            rows += bytes([1]) + xrefstm.to_bytes(2, "big") + b"\x00"
        elif num == 0:
            rows += b"\x00\x00\x00\xff"
        else:
            rows += bytes([1]) + plain.offsets[num].to_bytes(2, "big") + b"\x00"
    out += (b"8 0 obj\n<< /Type /XRef /Size 9 /W [1 2 1] /Length %d >>\nstream\n" % len(rows)
            + bytes(rows) + b"\nendstream\nendobj\n")
    xref = len(out)
    out += b"xref\n0 9\n" + xref_entry(0, 65535, False)
    for num in range(1, 9):
        if num == 5:
            out += xref_entry(0, 1, False)
        elif num == 8:
            out += xref_entry(xrefstm, 0, True)
        else:
            out += xref_entry(plain.offsets[num], 0, True)
    out += b"trailer\n<< /Size 9 /Root 1 0 R /Info 6 0 R /XRefStm %d >>\n" % xrefstm
    out += b"startxref\n%d\n%%%%EOF\n" % xref
    return bytes(out)


# ---- the cases -------------------------------------------------------------------

def cases():
    good = build(base_objects())
    data = good.data
    files = {"base.pdf": data}

    # Cut short at several points.
    files["truncated-header.pdf"] = data[:5]
    files["truncated-object.pdf"] = data[:good.offsets[3] + 40]
    files["truncated-xref.pdf"] = data[:good.xref + 30]
    files["truncated-trailer.pdf"] = data[:good.trailer + 20]
    eof = data.rindex(b"%%EOF")
    files["truncated-before-eof.pdf"] = data[:eof]
    files["truncated-inside-eof.pdf"] = data[:eof + 3]

    # Bytes after the end of the file.
    files["garbage-after-eof-400.pdf"] = data + bytes((i * 7 + 3) % 256 for i in range(400))
    files["garbage-after-eof-100.pdf"] = data + b"garbage " * 12 + b"\n"

    # Offsets that lead nowhere.
    files["startxref-beyond-file.pdf"] = build(base_objects(), startxref=10 ** 7).data
    files["startxref-negative.pdf"] = build(base_objects(), startxref=-40).data
    files["startxref-beyond-32-bits.pdf"] = build(base_objects(), startxref=2 ** 32 + good.xref).data
    files["xref-entry-beyond-file.pdf"] = build(base_objects(), entry_offsets={5: 9999999999}).data
    files["xref-entry-mid-object.pdf"] = build(base_objects(), entry_offsets={3: good.offsets[3] + 9}).data
    files["xref-entry-other-object.pdf"] = build(base_objects(), entry_offsets={5: good.offsets[6]}).data

    # Trailer and catalog.
    files["trailer-without-root.pdf"] = build(base_objects(), trailer=b"<< /Size 7 /Info 6 0 R >>").data
    files["root-not-catalog.pdf"] = build(base_objects(), trailer=b"<< /Size 7 /Root 6 0 R /Info 6 0 R >>").data
    files["root-is-number.pdf"] = build(base_objects(), trailer=b"<< /Size 7 /Root 42 /Info 6 0 R >>").data

    # Page tree.
    files["page-tree-cycle.pdf"] = build(with_objects(
        o2=b"<< /Type /Pages /Kids [3 0 R 7 0 R] /Count 3 >>",
        o7=b"<< /Type /Pages /Parent 2 0 R /Kids [2 0 R] /Count 2 >>")).data
    files["page-count-huge.pdf"] = build(with_objects(
        o2=b"<< /Type /Pages /Kids [3 0 R] /Count 2000000000 >>")).data
    files["page-count-beyond-32-bits.pdf"] = build(with_objects(
        o2=b"<< /Type /Pages /Kids [3 0 R] /Count 4294967297 >>")).data

    # Syntax that goes on too long or never ends.
    depth = 100000
    files["array-100000-deep.pdf"] = build(with_objects(
        o3=base_objects()[3][:-2] + b"/Deep " + b"[" * depth + b"]" * depth + b" >>")).data
    files["string-never-closes.pdf"] = build(with_objects(
        o5=b"<< /Type /Font /Subtype /TrueType /BaseFont /HeiseiMin-W3 /Note (opened and never closed >>")).data
    files["stream-without-endstream.pdf"] = build(with_objects(
        o4=b"<< /Length %d >>\nstream\n%s\n" % (len(CONTENT), CONTENT))).data
    files["font-stream-without-endstream.pdf"] = build(with_objects(
        o5=b"<< /Type /Font /Subtype /TrueType /BaseFont /HeiseiMin-W3 /Length 5 >>\nstream\nabcde\n")).data
    files["name-with-nul.pdf"] = build(with_objects(
        o5=b"<< /Type /Font /Subtype /TrueType /BaseFont /HeiseiMin#00-W3 >>",
        o6=b"<< /Title (Damaged file fixture) /Trapped /Un#00known >>")).data
    files["object-number-beyond-32-bits.pdf"] = build(with_objects(
        o3=base_objects()[3].replace(b"/F1 5 0 R", b"/F1 4294967301 0 R"))).data

    # PDF 1.5 forms.
    files["xref-stream.pdf"] = xref_stream_file()
    files["object-stream-hybrid.pdf"] = hybrid_file()

    # Encryption.
    files["encrypted-rc4-128.pdf"] = build(base_objects(), trailer=encrypted_trailer(3, 16)).data
    files["encrypted-rc4-40.pdf"] = build(base_objects(), trailer=encrypted_trailer(2, 5)).data

    files["empty.pdf"] = b""
    return files


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    args = sys.argv[1:]
    check = "--check" in args
    args = [a for a in args if a != "--check"]
    folder = args[0] if args else os.path.join(here, "..", "tests", "data", "badfiles")
    files = cases()
    if check:
        # Every generated file must be on disk with the same bytes, and every
        # PDF file on disk must come from the generator.
        stale = []
        for name, data in sorted(files.items()):
            path = os.path.join(folder, name)
            if not os.path.exists(path) or open(path, "rb").read() != data:
                stale.append(name)
        stale += sorted(n for n in os.listdir(folder) if n.endswith(".pdf") and n not in files)
        if stale:
            print("out of date (rerun tools/make_bad_files.py): " + ", ".join(stale))
            return 1
        return 0
    os.makedirs(folder, exist_ok=True)
    for name, data in sorted(files.items()):
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
