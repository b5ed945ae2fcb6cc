# Calls a string formatting call and an array method N times.
import sys
N = int(sys.argv[1])
a = {"0": 1, "1": 2, "2": 3}
x = None
n = 0
for i in range(1, N + 1):
    x = "%s-%5.2f|" % (i, 2.5)
    n += "1" in a
print("last", x, "found", n)
