-- A small test harness for Lua-level tests run by `kinemo --batch`.
-- Each check that fails prints a line; done() raises an error when any
-- failed, so the batch run exits with status 1.
local failures, checks = 0, 0
T = {}

function T.check(ok, what)
  checks = checks + 1
  if not ok then
    failures = failures + 1
    print("FAIL: " .. tostring(what))
  end
end

function T.eq(actual, expected, what)
  T.check(actual == expected, tostring(what) .. ": expected " .. tostring(expected) .. ", got " .. tostring(actual))
end

function T.near(actual, expected, tolerance, what)
  T.check(type(actual) == "number" and math.abs(actual - expected) <= tolerance,
    tostring(what) .. ": expected " .. tostring(expected) .. " +- " .. tolerance .. ", got " .. tostring(actual))
end

-- Runs f and expects it to raise an error whose message contains `text`.
function T.fails(f, text, what)
  local ok, message = pcall(f)
  T.check(not ok and string.find(tostring(message), text, 1, true) ~= nil,
    tostring(what) .. ": expected an error containing '" .. text .. "', got " .. tostring(ok and "no error" or message))
end

function T.done()
  print(checks .. " checks, " .. failures .. " failures")
  if failures > 0 then error(failures .. " check(s) failed", 0) end
end

-- The folder of the running test file, ending in '/'.
T.folder = string.gsub(arg[0], "[^/]*$", "")
T.scratch = os.getenv("KINEMO_TEST_SCRATCH") or "/tmp"
