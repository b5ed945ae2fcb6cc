-- Calls a string formatting call and an array method N times.
local N = tonumber(arg[1])
local a = {["0"] = 1, ["1"] = 2, ["2"] = 3}
local function isName(t, key) return t[key] ~= nil end
local x, n = nil, 0
for i = 1, N do
  x = string.format("%s-%5.2f|", i, 2.5)
  if isName(a, "1") then n = n + 1 end
end
print("last " .. x .. " found " .. n)
