# Builds a text of N pieces by concatenation, splits it and joins it back.
import sys
N = int(sys.argv[1])
s = ""
for i in range(1, N + 1):
    s += "p" + str(i) + ","
parts = s.split(",")
back = ",".join(parts)
print("length", len(s), "pieces", len(parts) - 1, "same", back == s)
