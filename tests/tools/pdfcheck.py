"""Checks shared by the generator tests: the file form the generators promise
(PDF 1.3, one classic cross-reference table of 20-byte entries that point at
their objects, no cross-reference or object streams) and qpdf's own check."""

import re
import shutil
import subprocess

_EOL = rb"(?:\r\n|\r|\n)"
_SUBSECTION = re.compile(rb"(\d+) (\d+) ?" + _EOL)
_ENTRY = re.compile(rb"(\d{10}) (\d{5}) ([nf])(?: \r| \n|\r\n)")


def classic_xref_problems(data):
    """Every way `data` departs from the promised form, as a list of texts."""
    problems = []
    if not data.startswith(b"%PDF-1.3"):
        problems.append("header is not %PDF-1.3")
    for marker in (b"/XRefStm", b"/ObjStm", b"/Type /XRef", b"/Type/XRef"):
        if marker in data:
            problems.append("holds %s" % marker.decode())
    tail = data.rfind(b"startxref")
    if tail < 0:
        return problems + ["no startxref"]
    try:
        start = int(data[tail + 9:].split()[0])
    except (ValueError, IndexError):
        return problems + ["startxref has no offset"]
    head = re.compile(rb"xref" + _EOL).match(data, start)
    if head is None:
        return problems + ["startxref %d does not point at 'xref'" % start]
    pos = head.end()
    entries = 0
    while not data.startswith(b"trailer", pos):
        sub = _SUBSECTION.match(data, pos)
        if sub is None:
            return problems + ["bad subsection header at %d" % pos]
        first, count = int(sub.group(1)), int(sub.group(2))
        pos = sub.end()
        for number in range(first, first + count):
            entry = data[pos:pos + 20]
            match = _ENTRY.fullmatch(entry)
            if match is None:
                return problems + ["entry of object %d is not 20 bytes of the classic form: %r"
                                   % (number, entry)]
            if match.group(3) == b"n":
                offset, generation = int(match.group(1)), int(match.group(2))
                if not re.compile(rb"%d\s+%d\s+obj\b" % (number, generation)).match(data, offset):
                    problems.append("offset %d of object %d does not hold 'obj %d %d'"
                                    % (offset, number, number, generation))
            pos += 20
            entries += 1
    size = re.search(rb"/Size\s+(\d+)", data[pos:])
    if size is None or int(size.group(1)) != entries:
        problems.append("trailer /Size %s does not match %d entries"
                        % (size.group(1).decode() if size else "missing", entries))
    if re.search(rb"/Prev\b", data[pos:]):
        problems.append("more than one cross-reference section")
    return problems


def qpdf():
    """The qpdf program, or None when it is not installed."""
    return shutil.which("qpdf")


def qpdf_check_problems(path):
    """qpdf --check must end with status 0: 2 is an error, 3 a warning (for
    example an offset that had to be searched for)."""
    run = subprocess.run([qpdf(), "--check", path], capture_output=True, text=True)
    if run.returncode != 0:
        return ["qpdf --check exited with %d: %s" % (run.returncode,
                                                      (run.stdout + run.stderr).strip())]
    return []
