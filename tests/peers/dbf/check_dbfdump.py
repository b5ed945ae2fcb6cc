"""Checks shapelib's dbfdump listing of the sample table: every record
(dbfdump lists deleted ones too, marked "(DELETED)") with its texts,
numbers, dates and logical values, as `dbfdump -r` prints them."""
import sys

from expected_sample import ROWS


def main(path):
    lines = [l.rstrip("\n") for l in open(path, "rb").read().decode("cp866").splitlines() if l.strip()]
    problems = []
    header, records = lines[0], lines[1:]
    for name in ("NAME", "AMOUNT", "COUNT", "RATIO", "BORN", "FLAG", "NOTE"):
        if name not in header:
            problems.append("header lacks %s: %r" % (name, header))
    if len(records) != len(ROWS):
        problems.append("%d records listed, expected %d" % (len(records), len(ROWS)))
    for line, row in zip(records, ROWS):
        name, amount, count, ratio, born, flag, note, _ = row
        words = line.split()
        expected = [name, "%.2f" % amount, str(count), "%g" % ratio, "T" if flag else "F"]
        if born is not None:
            expected.append(born.strftime("%Y%m%d"))
        if ("(DELETED)" in words) != row[7]:
            problems.append("record %s: deletion flag wrong in %r" % (name, line))
        for word in expected:
            if word not in words:
                problems.append("record %s: %r missing in %r" % (name, word, line))
    for line in problems:
        print(line)
    if not problems:
        print("dbfdump: %d records as written" % len(records))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.path.insert(0, __file__.rsplit("/", 1)[0])
    sys.exit(main(sys.argv[1]))
