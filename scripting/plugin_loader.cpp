#include "scripting/plugin_loader.h"

#include <dlfcn.h>

#include <algorithm>
#include <exception>
#include <filesystem>

#include <lua.hpp>

namespace fs = std::filesystem;

namespace {

using EntryPoint = void (*)(lua_State*);

// Runs the entry point in protected mode: a plug-in that raises a Lua error
// while it registers must not take the program down.
int CallEntry(lua_State* L) {
    auto entry = reinterpret_cast<EntryPoint>(lua_touserdata(L, 1));
    lua_pop(L, 1);
    entry(L);
    return 0;
}

void Say(std::string* why, const std::string& text) {
    if (why) *why = text;
}

}  // namespace

bool rgPluginLoader::Load(const std::string& path, lua_State* L, std::string* why) {
    dlerror();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* error = dlerror();
        Say(why, std::string("not a loadable library: ") + (error ? error : "unknown error"));
        return false;
    }
    handles_.push_back(handle);  // never unloaded, even without an entry point
    void* symbol = dlsym(handle, "InitPlugin");
    if (!symbol) symbol = dlsym(handle, "_InitPlugin");
    if (!symbol) {
        Say(why, "it exports neither InitPlugin nor _InitPlugin");
        return false;
    }
    const int top = lua_gettop(L);
    int status = 0;
    try {
        status = lua_cpcall(L, CallEntry, symbol);
    } catch (const std::exception& e) {
        lua_settop(L, top);
        Say(why, std::string("InitPlugin threw an exception: ") + e.what());
        return false;
    } catch (...) {
        lua_settop(L, top);
        Say(why, "InitPlugin threw an exception");
        return false;
    }
    if (status != 0) {
        const char* message = lua_tostring(L, -1);
        Say(why, std::string("InitPlugin failed: ") + (message ? message : "(no message)"));
        lua_settop(L, top);
        return false;
    }
    lua_settop(L, top);
    return true;
}

std::vector<std::string> rgPluginLoader::NativePlugins(const std::string& folder,
                                                       std::string* why) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) {
        Say(why, ec.message());
        return names;
    }
    for (const auto& entry : it)
        if (entry.path().extension() == ".so" && entry.is_regular_file(ec))
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
