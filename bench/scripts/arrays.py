# Appends N values, sums them with an element loop, reads them back by key.
# Keys are the decimal texts "0", "1", ..., as in our arrays.
import sys
N = int(sys.argv[1])
a = {}
for i in range(1, N + 1):
    a[str(len(a))] = i
s = 0
for v in a.values():
    s += v
t = 0
for k in range(N):
    t += a[str(k)]
print("sum", s, "by key", t)
