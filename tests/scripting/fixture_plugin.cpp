// Native plug-ins for the loader's tests, one per FIXTURE_KIND.
#include <lua.hpp>

#if FIXTURE_KIND == 1
// A good plug-in: registers an importer whose function it defines itself.
static int ImportNative(lua_State* L) {
    lua_getglobal(L, "nativeImports");
    const int count = lua_isnumber(L, -1) ? static_cast<int>(lua_tonumber(L, -1)) : 0;
    lua_pushnumber(L, count + 1);
    lua_setglobal(L, "nativeImports");
    return 0;
}
extern "C" void InitPlugin(lua_State* L) {
    lua_register(L, "ImportNative", ImportNative);
    luaL_dostring(L, "RegisterImporter('Native format', '*.nat', 'ImportNative')");
}
#elif FIXTURE_KIND == 2
// A library without an entry point.
extern "C" int SomethingElse() {
    return 7;
}
#elif FIXTURE_KIND == 3
// An entry point that raises a Lua error.
extern "C" void _InitPlugin(lua_State* L) {
    luaL_error(L, "this plug-in needs a newer editor");
}
#endif
