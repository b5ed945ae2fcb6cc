-- Sums 1..N with the counting loop, then again with while.
local N = tonumber(arg[1])
local s = 0
for i = 1, N do s = s + i end
local j, t = 0, 0
while j < N do
  j = j + 1
  t = t + j
end
print("for " .. s .. " while " .. t)
