"""Writes a dBase III table with a .dbt memo file through python3-dbf (an
independent writer) and prints what `dbf_peer_tool dump` must show for it."""
import datetime
import sys

import dbf

LONG = "".join("row %d of a long memo; " % i for i in range(80)).strip()

# name, amount, count, born, ok, note, deleted
ROWS = [
    ("alpha", 12.5, 7, datetime.date(2024, 1, 5), True, "short memo", False),
    ("Борис", -3.25, -15, datetime.date(1961, 4, 12), False, "заметка Ёё", True),
    ("nodate", 0.0, 0, None, False, "", False),
    ("long", 1234.56, 99999, datetime.date(2000, 2, 29), True, LONG, False),
    ("last", 1.0, 1, datetime.date(1999, 12, 31), True, "end", True),
]


def main(base):
    table = dbf.Table(base, "NAME C(12); AMOUNT N(10,2); COUNT N(6,0); BORN D; OK L; NOTE M",
                      dbf_type="db3", codepage="cp866")
    table.open(dbf.READ_WRITE)
    for name, amount, count, born, ok, note, deleted in ROWS:
        table.append((name, amount, count, born, ok, note))
        if deleted:
            dbf.delete(table[-1])
    table.close()
    for name, amount, count, born, ok, note, deleted in ROWS:
        fields = [
            ("NAME", name),
            ("AMOUNT", "%.4f" % amount),
            ("COUNT", "%.4f" % count),
            ("BORN", born.isoformat() if born else ""),
            ("OK", "T" if ok else "F"),
            ("NOTE", note),
        ]
        print(("*" if deleted else " ") + "".join("|%s=%s" % f for f in fields))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
