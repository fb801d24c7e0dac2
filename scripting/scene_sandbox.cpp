#include "scripting/scene_sandbox.h"

#include <lua.hpp>

namespace {

const char kMakerKey = 0;  // its address keys the environment maker in the registry

constexpr const char kSandbox[] = R"lua(
local G = _G
local allowed = {}
for _, name in ipairs({
  -- base functions that cannot reach files or the system
  "assert", "error", "ipairs", "next", "pairs", "pcall", "print", "rawequal", "rawget",
  "rawset", "select", "setmetatable", "getmetatable", "tonumber", "tostring", "type",
  "unpack", "xpcall", "_VERSION",
  -- their older names
  "tinsert", "tremove", "sort", "getn", "foreach", "foreachi", "call", "strlen", "strsub",
  "strlower", "strupper", "strchar", "strrep", "strbyte", "ascii", "format", "strfind",
  "gsub", "abs", "ceil", "floor", "mod", "sqrt", "min", "max", "log", "log10", "exp",
  "frexp", "ldexp", "random", "randomseed", "PI", "sin", "cos", "tan", "asin", "acos",
  "atan", "atan2", "deg", "rad",
  -- the script API
  "vector2", "vector3", "vector4", "matrix44", "quaternion", "rgKeyframe", "rgSceneNode",
  "rgBone", "rgVertex", "rgMesh", "rgScene", "rgTexture", "rgViewport",
  "CheckFileVersion", "GetFileVersion", "GetScene", "GetAppPath", "RedrawViewports",
  "tomesh", "tobone", "GetFrameRate", "SetFrameRate", "GetTotalFrames", "SetTotalFrames",
  "GetFrame", "SetFrame", "AddTexture", "GetTextureCount", "GetTexture",
  "ProgressWindowShow", "ProgressWindowHide", "ProgressWindowMinMax", "ProgressWindowSet",
  "PushUndo", "Undo", "CloseAllViewports", "GetViewportCount", "GetViewport",
  "CreateViewport", "IsMerging",
  -- helpers of the scene file format, defined by the start-up script
  "SceneFile",
}) do allowed[name] = true end

local function copy(t)
  local c = {}
  for k, v in pairs(t) do c[k] = v end
  return c
end

return function()
  local env = { math = copy(G.math), string = copy(G.string), table = copy(G.table) }
  env._G = env
  return setmetatable(env, { __index = function(_, name)
    if allowed[name] then return G[name] end
    if G[name] ~= nil then
      error("'" .. tostring(name) .. "' is not available in scene files", 2)
    end
    return nil
  end })
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
}

void ApplySceneSandbox(lua_State* L, int index) {
    index = index < 0 ? lua_gettop(L) + index + 1 : index;
    lua_pushlightuserdata(L, const_cast<char*>(&kMakerKey));
    lua_rawget(L, LUA_REGISTRYINDEX);
    lua_call(L, 0, 1);
    lua_setfenv(L, index);
}
