"""The sample table that `dbf_peer_tool write` produces, as the peers
should read it back (texts decoded from code page 866)."""
import datetime

LONG_NOTE = "".join("line %d; " % i for i in range(120)).strip()

# name, amount, count, ratio, born, flag, note, deleted
ROWS = [
    ("Ivan", 12.5, 3, 0.25, datetime.date(2024, 1, 5), True, "first note", False),
    ("Петр", -0.5, -42, 1.5, datetime.date(1999, 12, 31), False, "память Ёё", True),
    ("blank", 0.0, 0, 0.0, None, False, "", False),
    ("long", 99999.99, 123456, -2.125, datetime.date(2000, 2, 29), True, LONG_NOTE, False),
    ("gone", 1.0, 1, 1.0, datetime.date(2020, 6, 15), True, "deleted memo", True),
]
