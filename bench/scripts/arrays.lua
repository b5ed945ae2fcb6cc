-- Appends N values, sums them with an element loop, reads them back by key.
-- Keys are the decimal texts "0", "1", ..., as in our arrays.
local N = tonumber(arg[1])
local a = {}
local order = {}
for i = 1, N do
  local key = tostring(i - 1)
  a[key] = i
  order[i] = key
end
local s = 0
for _, key in ipairs(order) do s = s + a[key] end
local t = 0
for k = 0, N - 1 do t = t + a[tostring(k)] end
print("sum " .. s .. " by key " .. t)
