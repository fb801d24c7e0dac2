#include "scripting/lua4_compat.h"

#include <lua.hpp>

namespace {

// Lua 4.0 kept these in the global table. Its trigonometry worked in degrees;
// old plug-ins rely on that, so the compatibility names keep it.
constexpr const char kPrelude[] = R"lua(
local string, table, math, io, os = string, table, math, io, os

tinsert = table.insert
tremove = table.remove
sort = table.sort
getn = table.getn
foreach = table.foreach
foreachi = table.foreachi
call = function(f, args) return f(unpack(args)) end
dostring = function(s) local f, e = loadstring(s) if not f then error(e, 2) end return f() end

strlen = string.len
strsub = string.sub
strlower = string.lower
strupper = string.upper
strchar = string.char
strrep = string.rep
strbyte = string.byte
ascii = string.byte
format = string.format
strfind = string.find
gsub = string.gsub

local rad, deg = math.rad, math.deg
abs = math.abs
ceil = math.ceil
floor = math.floor
mod = math.fmod
sqrt = math.sqrt
min = math.min
max = math.max
log = math.log
log10 = math.log10
exp = math.exp
frexp = math.frexp
ldexp = math.ldexp
random = math.random
randomseed = math.randomseed
PI = math.pi
sin = function(d) return math.sin(rad(d)) end
cos = function(d) return math.cos(rad(d)) end
tan = function(d) return math.tan(rad(d)) end
asin = function(x) return deg(math.asin(x)) end
acos = function(x) return deg(math.acos(x)) end
atan = function(x) return deg(math.atan(x)) end
atan2 = function(y, x) return deg(math.atan2(y, x)) end
deg = deg
rad = rad

write = function(...) return io.write(...) end
read = function(...) return io.read(...) end
writeto = function(name)
  if name == nil then io.output():close() io.output(io.stdout) return 1 end
  local f, e = io.open(name, "w") if not f then return nil, e end
  io.output(f) return f
end
appendto = function(name)
  local f, e = io.open(name, "a") if not f then return nil, e end
  io.output(f) return f
end
readfrom = function(name)
  if name == nil then io.input():close() io.input(io.stdin) return 1 end
  local f, e = io.open(name, "r") if not f then return nil, e end
  io.input(f) return f
end
openfile = io.open
closefile = function(f) return f:close() end
flush = function(f) return (f or io.output()):flush() end
seek = function(f, ...) return f:seek(...) end
remove = os.remove
rename = os.rename
tmpname = os.tmpname
getenv = os.getenv
date = os.date
clock = os.clock
execute = os.execute
exit = os.exit
)lua";

}  // namespace

void OpenLua4Compatibility(lua_State* L) {
    if (luaL_loadbuffer(L, kPrelude, sizeof(kPrelude) - 1, "=lua4 compatibility") == 0)
        lua_call(L, 0, 0);
    else
        lua_pop(L, 1);
}
