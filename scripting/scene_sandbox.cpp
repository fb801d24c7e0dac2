#include "scripting/scene_sandbox.h"

#include <lua.hpp>

namespace {

// Their addresses key the environment maker and the real string table in the registry.
const char kMakerKey = 0;
const char kStringsKey = 0;

// Sets the __index of the strings' metatable (the value on top, popped):
// ("x"):upper() inside a document uses the document's own string table.
void SetStringMethods(lua_State* L) {
    lua_pushstring(L, "");
    if (lua_getmetatable(L, -1)) {
        lua_pushstring(L, "__index");
        lua_pushvalue(L, -4);
        lua_rawset(L, -3);
        lua_pop(L, 1);
    }
    lua_pop(L, 2);
}

constexpr const char kSandbox[] = R"lua(
local G = _G
local getmetatable, setmetatable, type, error, ipairs, pairs = getmetatable, setmetatable, type, error, ipairs, pairs
local sub = string.sub

local allowed = {}
for _, name in ipairs({
  -- base functions that cannot reach files or the system
  "assert", "error", "ipairs", "next", "pairs", "pcall", "print", "rawequal", "rawget",
  "rawset", "select", "setmetatable", "tonumber", "tostring", "type", "unpack", "xpcall",
  "_VERSION",
  -- their older names
  "tinsert", "tremove", "sort", "getn", "foreach", "foreachi", "call", "strlen", "strsub",
  "strlower", "strupper", "strchar", "strrep", "strbyte", "ascii", "format", "strfind",
  "gsub", "abs", "ceil", "floor", "mod", "sqrt", "min", "max", "log", "log10", "exp",
  "frexp", "ldexp", "random", "randomseed", "PI", "sin", "cos", "tan", "asin", "acos",
  "atan", "atan2", "deg", "rad",
  -- the script API's functions (its classes are views, below)
  "CheckFileVersion", "GetFileVersion", "GetScene", "GetAppPath", "RedrawViewports",
  "tomesh", "tobone", "GetFrameRate", "SetFrameRate", "GetTotalFrames", "SetTotalFrames",
  "GetFrame", "SetFrame", "AddTexture", "GetTextureCount", "GetTexture",
  "ProgressWindowShow", "ProgressWindowHide", "ProgressWindowMinMax", "ProgressWindowSet",
  "CloseAllViewports", "GetViewportCount", "GetViewport", "CreateViewport", "IsMerging",
  -- not PushUndo and Undo: a failed merge is taken back through the undo
  -- stack, which the document must not have moved
}) do allowed[name] = true end

-- Tables every later script uses too: the classes of the script API and
-- the scene file helpers of the start-up script.
local shared = {
  "vector2", "vector3", "vector4", "matrix44", "quaternion", "rgKeyframe", "rgSceneNode",
  "rgBone", "rgVertex", "rgMesh", "rgScene", "rgTexture", "rgViewport", "SceneFile",
}

local function copy(t)
  local c = {}
  for k, v in pairs(t) do c[k] = v end
  return c
end

-- A view a document reads through and cannot change. The binding's own
-- entries (".get", "tolua_ubox", ...) stay out of sight.
local function view(name, real)
  local proxy, constructors = {}, {}
  return setmetatable(proxy, {
    __index = function(_, key)
      if type(key) == "string" and (sub(key, 1, 1) == "." or sub(key, 1, 6) == "tolua_") then
        return nil
      end
      local value = real[key]
      if (key == "new" or key == "new_local") and value then
        -- vector3:new(...) passes the view: the constructor wants the class.
        constructors[key] = constructors[key] or function(self, ...)
          if self == proxy then self = real end
          return value(self, ...)
        end
        return constructors[key]
      end
      return value
    end,
    __newindex = function() error("scene files cannot change " .. name, 2) end,
    __call = function(_, ...) return real(...) end,
    __metatable = false,
  })
end

-- Strings share one metatable with every script, and a handle's metatable
-- is its class: neither is a document's to reach.
local function tableMetatable(value)
  if type(value) ~= "table" then return nil end
  return getmetatable(value)
end

return function()
  local string = copy(G.string)
  string.dump = nil
  local env = { math = copy(G.math), string = string, table = copy(G.table),
                getmetatable = tableMetatable }
  for _, name in ipairs(shared) do
    if type(G[name]) == "table" then env[name] = view(name, G[name]) end
  end
  env._G = env
  return setmetatable(env, {
    __index = function(_, name)
      if allowed[name] then return G[name] end
      if G[name] ~= nil then
        error("'" .. tostring(name) .. "' is not available in scene files", 2)
      end
      return nil
    end,
    __metatable = false,
  })
end
)lua";

}  // namespace

void InstallSceneSandbox(lua_State* L) {
    lua_pushlightuserdata(L, const_cast<char*>(&kMakerKey));
    if (luaL_loadbuffer(L, kSandbox, sizeof(kSandbox) - 1, "=scene sandbox") == 0) {
        lua_call(L, 0, 1);
    } else {
        lua_pop(L, 1);
        lua_pushnil(L);
    }
    lua_rawset(L, LUA_REGISTRYINDEX);

    lua_pushlightuserdata(L, const_cast<char*>(&kStringsKey));
    lua_getglobal(L, "string");
    lua_rawset(L, LUA_REGISTRYINDEX);
}

void ApplySceneSandbox(lua_State* L, int index) {
    index = index < 0 ? lua_gettop(L) + index + 1 : index;
    lua_pushlightuserdata(L, const_cast<char*>(&kMakerKey));
    lua_rawget(L, LUA_REGISTRYINDEX);
    lua_call(L, 0, 1);
    lua_getfield(L, -1, "string");
    SetStringMethods(L);
    lua_setfenv(L, index);
}

void LeaveSceneSandbox(lua_State* L) {
    lua_pushlightuserdata(L, const_cast<char*>(&kStringsKey));
    lua_rawget(L, LUA_REGISTRYINDEX);
    SetStringMethods(L);
}
