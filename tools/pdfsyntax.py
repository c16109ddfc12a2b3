"""PDF object syntax for the example and benchmark generators.

Python values map onto PDF values: bool, int, float, bytes (a literal string),
Name, Ref, list (array), dict with Name or str keys (dictionary) and None (null).
Everything is rendered to bytes the same way on every run, so that the files
written with it are reproducible byte for byte.
"""

# Bytes that may stand in a name without an escape: the printable ASCII range
# less the delimiters and the escape character itself.
_NAME_PLAIN = frozenset(range(0x21, 0x7F)) - frozenset(b"#()<>[]{}/%")


class Name:
    """A PDF name; `raw` holds its bytes before #-escaping."""
    __slots__ = ("raw",)

    def __init__(self, raw):
        self.raw = raw.encode("latin-1") if isinstance(raw, str) else bytes(raw)

    def __eq__(self, other):
        return isinstance(other, Name) and other.raw == self.raw

    def __hash__(self):
        return hash(self.raw)

    def encode(self):
        out = bytearray(b"/")
        for b in self.raw:
            if b in _NAME_PLAIN:
                out.append(b)
            else:
                out += b"#%02X" % b
        return bytes(out)


class Ref:
    """An indirect reference `num gen R`."""
    __slots__ = ("num", "gen")

    def __init__(self, num, gen=0):
        self.num = num
        self.gen = gen

    def encode(self):
        return b"%d %d R" % (self.num, self.gen)


class Hex:
    """A string written in hexadecimal form, <...>."""
    __slots__ = ("data",)

    def __init__(self, data):
        self.data = bytes(data)

    def encode(self):
        return b"<" + self.data.hex().upper().encode("ascii") + b">"


def literal_string(data):
    """A literal string whose bytes read back unchanged: backslash and both
    parentheses are escaped, CR is written as \\r so that no line-end
    conversion can alter it; every other byte is written as it is."""
    out = bytearray(b"(")
    for b in data:
        if b in b"\\()":
            out += b"\\" + bytes([b])
        elif b == 0x0D:
            out += b"\\r"
        else:
            out.append(b)
    out += b")"
    return bytes(out)


def _number(value):
    if isinstance(value, bool):
        return b"true" if value else b"false"
    if isinstance(value, int):
        return b"%d" % value
    text = ("%.4f" % value).rstrip("0").rstrip(".")
    return (text if text not in ("", "-0") else "0").encode("ascii")


def encode(value):
    """The PDF text of one value."""
    if value is None:
        return b"null"
    if isinstance(value, (bool, int, float)):
        return _number(value)
    if isinstance(value, (Name, Ref, Hex)):
        return value.encode()
    if isinstance(value, (bytes, bytearray)):
        return literal_string(value)
    if isinstance(value, str):
        return Name(value).encode()
    if isinstance(value, list):
        return b"[" + b" ".join(encode(v) for v in value) + b"]"
    if isinstance(value, dict):
        parts = [b"<<"]
        for key, item in value.items():
            parts.append(encode(Name(key) if isinstance(key, str) else key)
                         + b" " + encode(item))
        parts.append(b">>")
        return b"\n".join(parts)
    raise TypeError("no PDF form for %r" % (value,))


def xref_entry(offset, generation, in_use, eol=b"\r\n"):
    """One 20-byte cross-reference entry."""
    if len(eol) != 2:
        raise ValueError("a cross-reference entry ends with two bytes")
    return b"%010d %05d %s" % (offset, generation, b"n" if in_use else b"f") + eol
