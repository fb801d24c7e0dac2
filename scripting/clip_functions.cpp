#include "scripting/clip_functions.h"

#include <cstdio>
#include <string>

#include <lua.hpp>
#include <tolua++.h>

#include "editing/clip_commands.h"
#include "editing/rg_editor.h"
#include "scripting/script_context.h"
#include "scripting/script_numbers.h"

namespace {

// Errors leave by longjmp: the message is built in a fixed buffer by a
// function whose strings are gone before the error is raised.
struct Message {
    char text[512] = {0};
};

rgEditor& Editor(lua_State* L) {
    return rgScriptContext::Of(L).editor;
}

int ClipCount(lua_State* L) {
    return static_cast<int>(Editor(L).scene().Clips().size());
}

int CheckIndex(lua_State* L, const char* function, int argument) {
    const int index = kinemo_to_int(luaL_checknumber(L, argument));
    const int count = ClipCount(L);
    if (index < 0 || index >= count) {
        if (count == 0) luaL_error(L, "%s: index %d: the scene has no clips", function, index);
        luaL_error(L, "%s: index must be between 0 and %d", function, count - 1);
    }
    return index;
}

// Reads name, first, last [, loop] from `argument` on and checks them as
// clip `index` (-1: new). False with the message.
bool ReadClip(lua_State* L, int argument, int index, const char* function, rgClip& clip,
              Message& message) {
    size_t length = 0;
    const char* name = luaL_checklstring(L, argument, &length);
    const double first = luaL_checknumber(L, argument + 1);
    const double last = luaL_checknumber(L, argument + 2);
    clip.name.assign(name, length);
    clip.first = kinemo_to_int(first);
    clip.last = kinemo_to_int(last);
    clip.loop = lua_toboolean(L, argument + 3) != 0;
    if (first != clip.first || last != clip.last) {
        std::snprintf(message.text, sizeof message.text, "%s: first and last must be whole frames",
                      function);
        return false;
    }
    const std::string problem = ClipProblem(Editor(L).scene(), clip, index);
    if (problem.empty()) return true;
    std::snprintf(message.text, sizeof message.text, "%s: %s", function, problem.c_str());
    return false;
}

// The arguments' types, checked before any string of ours exists.
void CheckClipArguments(lua_State* L, int argument) {
    luaL_checkstring(L, argument);
    luaL_checknumber(L, argument + 1);
    luaL_checknumber(L, argument + 2);
}

int LuaAddClip(lua_State* L) {
    CheckClipArguments(L, 1);
    Message message;
    int index = -1;
    {
        rgClip clip;
        if (ReadClip(L, 1, -1, "AddClip", clip, message)) index = AddClip(Editor(L), clip);
    }
    if (index < 0) return luaL_error(L, "%s", message.text);
    lua_pushnumber(L, index);
    return 1;
}

int LuaGetClipCount(lua_State* L) {
    lua_pushnumber(L, ClipCount(L));
    return 1;
}

int LuaGetClip(lua_State* L) {
    const int index = CheckIndex(L, "GetClip", 1);
    const rgClip& clip = Editor(L).scene().Clips()[static_cast<size_t>(index)];
    lua_pushlstring(L, clip.name.data(), clip.name.size());
    lua_pushnumber(L, clip.first);
    lua_pushnumber(L, clip.last);
    lua_pushboolean(L, clip.loop);
    return 4;
}

int LuaSetClip(lua_State* L) {
    const int index = CheckIndex(L, "SetClip", 1);
    CheckClipArguments(L, 2);
    Message message;
    bool ok = false;
    {
        rgClip clip;
        ok = ReadClip(L, 2, index, "SetClip", clip, message);
        if (ok) SetClip(Editor(L), index, clip);
    }
    if (!ok) return luaL_error(L, "%s", message.text);
    return 0;
}

int LuaDeleteClip(lua_State* L) {
    DeleteClip(Editor(L), CheckIndex(L, "DeleteClip", 1));
    return 0;
}

int LuaSelectClip(lua_State* L) {
    SelectClip(Editor(L), CheckIndex(L, "SelectClip", 1));
    return 0;
}

// rgScene:AppendClip(name, first, last, loop): what a file says, kept
// when it can be a clip at all.
int SceneAppendClip(lua_State* L) {
    CheckClipArguments(L, 2);
    size_t length = 0;
    const char* name = luaL_checklstring(L, 2, &length);
    const double first = luaL_checknumber(L, 3), last = luaL_checknumber(L, 4);
    const bool loop = lua_toboolean(L, 5) != 0;
    const char* problem = nullptr;
    if (!(first >= 1 && first <= 1000000))
        problem = "its first frame is not between 1 and 1000000";
    else if (!(last >= first && last <= 1000000))
        problem = "its last frame is not between its first and 1000000";
    if (problem) {
        lua_pushnil(L);
        lua_pushstring(L, problem);
        return 2;
    }
    int index = 0;
    {
        rgEditor& editor = Editor(L);
        rgClip clip;
        clip.name = UnusedClipName(editor.scene(),
                                   length ? std::string(name, length) : std::string("Clip"));
        clip.first = static_cast<int>(first);
        clip.last = static_cast<int>(last);
        clip.loop = loop;
        editor.scene().Clips().push_back(clip);
        index = static_cast<int>(editor.scene().Clips().size()) - 1;
    }
    lua_pushnumber(L, index);
    return 1;
}

}  // namespace

void OpenClipFunctions(lua_State* L) {
    tolua_module(L, nullptr, 0);
    tolua_beginmodule(L, nullptr);
    tolua_function(L, "AddClip", LuaAddClip);
    tolua_function(L, "GetClipCount", LuaGetClipCount);
    tolua_function(L, "GetClip", LuaGetClip);
    tolua_function(L, "SetClip", LuaSetClip);
    tolua_function(L, "DeleteClip", LuaDeleteClip);
    tolua_function(L, "SelectClip", LuaSelectClip);
    tolua_beginmodule(L, "rgScene");
    tolua_function(L, "AppendClip", SceneAppendClip);
    tolua_endmodule(L);
    tolua_endmodule(L);
}
