"""Writes a dBase III table (.dbf with .dbt memo file) byte by byte with
the struct module, following the dBase III layout as other programs write
it: descriptors with zero-filled reserved bytes, the memo file header
holding the next free block, memos ended by two 0x1A bytes. Prints what
`dbf_peer_tool dump` must show for it."""
import struct
import sys

FIELDS = [("CODE", "C", 6, 0), ("PRICE", "N", 8, 3), ("DAY", "D", 8, 0), ("PAID", "L", 1, 0), ("TEXT", "M", 10, 0)]

# code, price text, day text, paid text, memo (None: no memo), deleted
ROWS = [
    ("A-1", "   1.250", "20231130", "Y", "plain memo", False),
    ("Б-2", "  -0.500", "        ", "?", None, False),
    ("C-3", "        ", "19000101", "n", "x" * 1100, True),
    ("D-4", "9999.999", "20240229", "t", "two\r\nlines", False),
]


def dump_value(kind, text):
    if kind == "N":
        return "" if not text.strip() else "%.4f" % float(text)
    if kind == "D":
        return "" if not text.strip() else "%s-%s-%s" % (text[0:4], text[4:6], text[6:8])
    if kind == "L":
        return "T" if text[:1] and text[:1] in "1TYty" else "F"
    return text.strip()


def main(base):
    memo = bytearray(512)
    next_block = 1
    records = []
    for code, price, day, paid, note, deleted in ROWS:
        if note is None:
            block = " " * 10
        else:
            data = note.encode("cp866") + b"\x1a\x1a"
            data += b"\0" * (-len(data) % 512)
            memo += data
            block = "%10d" % next_block
            next_block += len(data) // 512
        values = [code.ljust(6), price, day, paid, block]
        records.append((b"*" if deleted else b" ") + "".join(values).encode("cp866"))
    struct.pack_into("<I", memo, 0, next_block)

    record_length = 1 + sum(f[2] for f in FIELDS)
    header_length = 32 + 32 * len(FIELDS) + 1
    header = struct.pack("<BBBBIHH20x", 0x83, 123, 11, 30, len(records), header_length, record_length)
    descriptors = b"".join(struct.pack("<11sc4xBB14x", n.encode(), t.encode(), l, d) for n, t, l, d in FIELDS)
    with open(base + ".dbf", "wb") as out:
        out.write(header + descriptors + b"\r" + b"".join(records) + b"\x1a")
    with open(base + ".dbt", "wb") as out:
        out.write(bytes(memo))

    for code, price, day, paid, note, deleted in ROWS:
        values = [code, price, day, paid, note if note is not None else ""]
        shown = "".join("|%s=%s" % (f[0], dump_value(f[1], v)) for f, v in zip(FIELDS, values))
        print(("*" if deleted else " ") + shown)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
