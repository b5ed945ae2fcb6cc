"""Reads the sample table with dbfread and compares values, deletion
flags and memo texts with what the engine wrote."""
import sys

import dbfread

from expected_sample import ROWS


def main(base):
    table = dbfread.DBF(base + ".dbf", encoding="cp866", char_decode_errors="strict", raw=False)
    live = list(table)
    deleted = list(table.deleted)
    want_live = [r for r in ROWS if not r[7]]
    want_deleted = [r for r in ROWS if r[7]]
    problems = []
    if [f.name for f in table.fields] != ["NAME", "AMOUNT", "COUNT", "RATIO", "BORN", "FLAG", "NOTE"]:
        problems.append("fields: %r" % [f.name for f in table.fields])
    for kind, got_rows, want_rows in (("live", live, want_live), ("deleted", deleted, want_deleted)):
        if len(got_rows) != len(want_rows):
            problems.append("%s records: %d, expected %d" % (kind, len(got_rows), len(want_rows)))
            continue
        for got, want in zip(got_rows, want_rows):
            name, amount, count, ratio, born, flag, note, _ = want
            checks = [
                ("NAME", got["NAME"], name),
                ("AMOUNT", round(float(got["AMOUNT"]), 2), round(amount, 2)),
                ("COUNT", got["COUNT"], count),
                ("RATIO", round(float(got["RATIO"]), 3), ratio),
                ("BORN", got["BORN"], born),
                ("FLAG", got["FLAG"], flag),
                ("NOTE", (got["NOTE"] or "").strip(), note),
            ]
            for field, have, expected in checks:
                if have != expected:
                    problems.append("%s record %s: %s is %r, expected %r" % (kind, name, field, have, expected))
    for line in problems:
        print(line)
    if not problems:
        print("dbfread: %d live and %d deleted records as written" % (len(live), len(deleted)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.path.insert(0, __file__.rsplit("/", 1)[0])
    sys.exit(main(sys.argv[1]))
