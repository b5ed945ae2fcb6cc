#!/usr/bin/python3
# The peer of the ODBC script tests: runs every query a script wrote (lines
# "Q: <sql>") through pyodbc and compares each row with the script's line
# for it ("name=value;" for every column, values as the script writes them).
# Usage: odbc_peer_compare.py <scratch folder> <connection string>
# Exit 77 (skipped) when pyodbc is missing or cannot connect.
import datetime, decimal, sys
try:
    import pyodbc
except ImportError:
    print("pyodbc is not installed"); sys.exit(77)

scratch, connection_string = sys.argv[1], sys.argv[2]

def text(value):
    # The script's text of a value: decimal comma, dates as DD.MM.YYYY,
    # NULL as the empty text.
    if value is None:
        return ""
    if isinstance(value, bool):
        return "-1" if value else "0"
    if isinstance(value, (float, decimal.Decimal)):
        number = float(value)
        if number == int(number) and abs(number) < 1e15:
            return str(int(number))
        return repr(number).replace(".", ",")
    if isinstance(value, datetime.datetime):
        return value.strftime("%d.%m.%Y %H:%M:%S")
    if isinstance(value, datetime.date):
        return value.strftime("%d.%m.%Y")
    return str(value)

try:
    connection = pyodbc.connect(connection_string)
except pyodbc.Error as error:
    print("SKIPPED: pyodbc cannot connect:", error); sys.exit(77)

lines = open(scratch + "/actual.out", encoding="cp866").read().split("\n")
expected, queries = [], 0
for line in lines:
    if line.startswith("Q: "):
        queries += 1
        expected.append(line)
        cursor = connection.cursor()
        cursor.execute(line[3:])
        names = [d[0] for d in cursor.description]
        for row in cursor.fetchall():
            expected.append("".join("%s=%s;" % (n, text(v)) for n, v in zip(names, row)))
actual = [l for l in lines if l and l != "Programm Run"]
if queries == 0 or actual != expected:
    print("the script and pyodbc differ")
    for a, e in zip(actual + [""] * len(expected), expected + [""] * len(actual)):
        if a != e: print("  script: %r\n  pyodbc: %r" % (a, e))
    sys.exit(1)
print("pyodbc agrees on %d queries" % queries)
