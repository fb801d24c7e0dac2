#include "scripting/script_context.h"

#include <lua.hpp>

namespace {
const char kContextKey = 0;  // its address keys the context in the registry
}

void BindScriptContext(lua_State* L, rgScriptContext& context) {
    lua_pushlightuserdata(L, const_cast<char*>(&kContextKey));
    lua_pushlightuserdata(L, &context);
    lua_rawset(L, LUA_REGISTRYINDEX);
}

rgScriptContext& rgScriptContext::Of(lua_State* L) {
    lua_pushlightuserdata(L, const_cast<char*>(&kContextKey));
    lua_rawget(L, LUA_REGISTRYINDEX);
    auto* context = static_cast<rgScriptContext*>(lua_touserdata(L, -1));
    lua_pop(L, 1);
    if (!context) luaL_error(L, "the script API is not connected to an editor");
    return *context;
}
