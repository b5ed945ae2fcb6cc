-- Builds a text of N pieces by concatenation, splits it and joins it back.
-- Repeated `s = s .. piece` is quadratic in Lua; a buffer table with
-- table.concat is how a Lua user concatenates N pieces.
local N = tonumber(arg[1])
local buffer = {}
for i = 1, N do buffer[#buffer + 1] = "p" .. i .. "," end
local s = table.concat(buffer)
local parts, from = {}, 1
while true do
  local at = string.find(s, ",", from, true)
  if not at then parts[#parts + 1] = string.sub(s, from); break end
  parts[#parts + 1] = string.sub(s, from, at - 1)
  from = at + 1
end
local back = table.concat(parts, ",")
print("length " .. #s .. " pieces " .. (#parts - 1) .. " same " .. tostring(back == s))
