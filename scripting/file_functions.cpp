#include "scripting/file_functions.h"

#include <lua.hpp>
#include <strings.h>

#include <string>
#include <vector>

#include "scripting/import_export.h"
#include "scripting/script_context.h"
#include "scripting/script_numbers.h"

namespace {

template <typename Format>
int PushFormats(lua_State* L, const std::vector<Format>& formats) {
    lua_createtable(L, static_cast<int>(formats.size()), 0);
    for (size_t i = 0; i < formats.size(); ++i) {
        lua_createtable(L, 0, 2);
        lua_pushstring(L, formats[i].description.c_str());
        lua_setfield(L, -2, "description");
        lua_pushstring(L, formats[i].pattern.c_str());
        lua_setfield(L, -2, "pattern");
        lua_rawseti(L, -2, static_cast<int>(i) + 1);
    }
    return 1;
}

int GetImporters(lua_State* L) {
    return PushFormats(L, rgScriptContext::Of(L).importers);
}
int GetExporters(lua_State* L) {
    return PushFormats(L, rgScriptContext::Of(L).exporters);
}

// The format the argument at `index` names: a 1-based number or the start
// of a description, any case; -1 when none does.
template <typename Format>
int FormatNamed(lua_State* L, int index, const std::vector<Format>& formats) {
    if (lua_type(L, index) == LUA_TNUMBER) {
        const lua_Number n = lua_tonumber(L, index);
        return n >= 1 && n <= static_cast<lua_Number>(formats.size()) ? static_cast<int>(n) - 1
                                                                      : -1;
    }
    const char* text = lua_tostring(L, index);
    const size_t length = lua_objlen(L, index);
    for (size_t i = 0; i < formats.size(); ++i)
        if (formats[i].description.size() >= length &&
            strncasecmp(formats[i].description.c_str(), text, length) == 0)
            return static_cast<int>(i);
    return -1;
}

int Answer(lua_State* L, bool ok, const std::string& message) {
    if (ok) {
        lua_pushboolean(L, 1);
        return 1;
    }
    lua_pushnil(L);
    lua_pushstring(L, message.c_str());
    return 2;
}

bool IsFormatArgument(lua_State* L, int index) {
    const int type = lua_type(L, index);
    return type == LUA_TNUMBER || type == LUA_TSTRING;
}

int ImportFile(lua_State* L) {
    // Arguments are checked before anything with a destructor exists.
    const char* path = luaL_checkstring(L, 1);
    const bool named = !lua_isnoneornil(L, 2);
    if (named) luaL_argcheck(L, IsFormatArgument(L, 2), 2, "an importer number or description");
    rgScriptContext& c = rgScriptContext::Of(L);
    int importer = -1;
    if (named) {
        importer = FormatNamed(L, 2, c.importers);
    } else {
        const std::string name(path);
        const size_t slash = name.find_last_of("/\\");
        const std::string file = slash == std::string::npos ? name : name.substr(slash + 1);
        for (size_t i = 0; i < c.importers.size() && importer < 0; ++i)
            if (MatchesPattern(file, c.importers[i].pattern)) importer = static_cast<int>(i);
    }
    if (importer < 0)
        return Answer(L, false,
                      named ? "no such importer" : "no importer reads " + std::string(path));
    std::string error;
    const bool ok = ImportFiles(c, importer, {path}, &error);
    return Answer(L, ok, error);
}

int ExportFile(lua_State* L) {
    const char* path = luaL_checkstring(L, 1);
    luaL_argcheck(L, IsFormatArgument(L, 2), 2, "an exporter number or description");
    const bool range = !lua_isnoneornil(L, 3);
    const int first = range ? kinemo_to_int(luaL_checknumber(L, 3)) : 0;
    const int last = range ? kinemo_to_int(luaL_optnumber(L, 4, first)) : 0;
    rgScriptContext& c = rgScriptContext::Of(L);
    const int exporter = FormatNamed(L, 2, c.exporters);
    if (exporter < 0) return Answer(L, false, "no such exporter");
    rgExportOptions options;
    options.animation = range;
    options.firstFrame = first;
    options.lastFrame = last;
    std::string error;
    const bool ok = ::ExportFile(c, exporter, path, options, &error);
    return Answer(L, ok, error);
}

}  // namespace

void OpenFileFunctions(lua_State* L) {
    lua_register(L, "GetImporters", GetImporters);
    lua_register(L, "GetExporters", GetExporters);
    lua_register(L, "ImportFile", ImportFile);
    lua_register(L, "ExportFile", ExportFile);
}
