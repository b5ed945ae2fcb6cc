# Sums 1..N with the counting loop, then again with while.
import sys
N = int(sys.argv[1])
s = 0
for i in range(1, N + 1):
    s += i
j = 0
t = 0
while j < N:
    j += 1
    t += j
print("for", s, "while", t)
