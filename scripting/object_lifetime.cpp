#include "scripting/object_lifetime.h"

#include <cstring>
#include <string>
#include <vector>
#include <lua.hpp>
#include <tolua++.h>

#include "scene/rg_scene.h"
#include "scene/rg_scene_node.h"
#include "scripting/handle_registry.h"
#include "scripting/script_handles.h"
#include "scripting/script_guard.h"

namespace {

bool IsA(lua_State* L, int index, const char* type) {
    tolua_Error err;
    return lua_isuserdata(L, index) && tolua_isusertype(L, index, type, 0, &err);
}

// The live node of the handle at `index`, if it is one; raises for a stale one.
rgSceneNode* NodeAt(lua_State* L, int index) {
    if (!IsA(L, index, "rgSceneNode")) return nullptr;
    return static_cast<rgSceneNode*>(kinemo_to_usertype(L, index, nullptr));
}

bool IsSceneRoot(const rgSceneNode* node) {
    return node && node->GetScene() && node->GetScene()->GetRootNode() == node;
}

// Calls the wrapped function (upvalue 1) with this call's arguments and
// leaves its results as the only values on the stack.
int CallWrapped(lua_State* L) {
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, lua_gettop(L) - 1, LUA_MULTRET);
    return lua_gettop(L);
}

// Calls the wrapped function with copies of this call's arguments and no
// results, so the arguments stay for what follows.
void CallKeepingArguments(lua_State* L) {
    const int n = lua_gettop(L);
    lua_pushvalue(L, lua_upvalueindex(1));
    for (int i = 1; i <= n; ++i) lua_pushvalue(L, i);
    lua_call(L, n, 0);
}

// ---- metatable events of every class --------------------------------

int CollectEvent(lua_State* L) {
    rgHandle* handle = ToHandle(L, 1);
    void* object = handle ? handle->object : nullptr;
    const bool owned = object && IsScriptOwned(L, object);
    if (handle) HandleRegistryOf(L).Detach(handle);
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_pushvalue(L, 1);
    lua_call(L, 1, 0);
    // Parts of the freed object (a vertex's position) are gone with it.
    if (owned) HandleRegistryOf(L).ObjectDestroyed(object);
    return 0;
}

int IndexEvent(lua_State* L) {
    if (rgHandle* handle = ToHandle(L, 1); handle && !handle->object) return RaiseStaleHandle(L, 1);
    return lua_tocfunction(L, lua_upvalueindex(1))(L);
}

// Whether assigning `key` on the handle at 1 reaches a C++ field.
bool IsField(lua_State* L) {
    bool found = false;
    lua_getmetatable(L, 1);
    while (!found && lua_istable(L, -1)) {
        lua_pushstring(L, ".set");
        lua_rawget(L, -2);
        if (lua_istable(L, -1)) {
            lua_pushvalue(L, 2);
            lua_rawget(L, -2);
            found = lua_isfunction(L, -1);
            lua_pop(L, 1);
        }
        lua_pop(L, 1);
        if (!lua_getmetatable(L, -1)) lua_pushnil(L);
        lua_remove(L, -2);
    }
    lua_pop(L, 1);
    return found;
}

int NewIndexEvent(lua_State* L) {
    if (rgHandle* handle = ToHandle(L, 1)) {
        if (!handle->object) return RaiseStaleHandle(L, 1);
        // Anything else would be kept with the handle and seen by every
        // later script: a scene file could plant a function there.
        if (rgScriptGuard::Of(L).InSceneFile() && !IsField(L))
            return luaL_error(L, "scene files cannot add '%s' to an %s", lua_tostring(L, 2),
                              HandleClassName(L, 1));
    }
    return lua_tocfunction(L, lua_upvalueindex(1))(L);
}

// ---- class functions --------------------------------------------------

// new, new_local and calling the class; upvalues: wrapped, needs a scene.
int OwningConstructor(lua_State* L) {
    if (lua_toboolean(L, lua_upvalueindex(2)) && lua_gettop(L) >= 2 && lua_isnil(L, 2)) {
        tolua_Error err;
        err.index = 2;
        err.array = 0;
        err.type = "rgScene";
        tolua_error(L, "#ferror in function 'new'.", &err);
    }
    const int results = CallWrapped(L);
    if (results >= 1) TakeOwnership(L, 1);
    return results;
}

// clone, CreateMesh, CreateBone: a new object nobody else holds.
int OwningCall(lua_State* L) {
    const int results = CallWrapped(L);
    if (results >= 1) TakeOwnership(L, 1);
    return results;
}

// upvalues: wrapped delete, class name.
int Delete(lua_State* L) {
    const char* type = lua_tostring(L, lua_upvalueindex(2));
    tolua_Error err;
    rgHandle* handle = ToHandle(L, 1);
    if (!handle || !tolua_isusertype(L, 1, type, 0, &err) || !tolua_isnoobj(L, 2, &err))
        return CallWrapped(L);  // its own errors for nil and wrong arguments
    void* object = kinemo_to_usertype(L, 1, nullptr);
    const bool owned = IsScriptOwned(L, object);
    if (!owned) {
        if (!IsA(L, 1, "rgSceneNode"))
            return luaL_error(L, "this %s is part of another object and cannot be deleted",
                              HandleClassName(L, 1));
        if (IsSceneRoot(static_cast<rgSceneNode*>(object)))
            return luaL_error(L, "the scene's root node cannot be deleted");
    }
    GiveUpOwnership(L, 1);
    CallKeepingArguments(L);
    HandleRegistryOf(L).Detach(handle);
    handle->object = nullptr;
    HandleRegistryOf(L).ObjectDestroyed(object);  // handles of its parts
    return 0;
}

int AttachChild(lua_State* L) {
    // The scene holds its root: a second owner would free it twice.
    if (IsSceneRoot(NodeAt(L, 2)))
        return luaL_error(L, "the scene's root node cannot be attached to another node");
    CallKeepingArguments(L);
    rgSceneNode* child = NodeAt(L, 2);
    if (child && child->Parent()) GiveUpOwnership(L, 2);
    return 0;
}

int DetachChild(lua_State* L) {
    // Only a child of this node: a node elsewhere keeps its parent.
    rgSceneNode* self = NodeAt(L, 1);
    rgSceneNode* child = NodeAt(L, 2);
    if (self && child && child->Parent() != self && lua_gettop(L) == 2) return 0;
    CallKeepingArguments(L);
    if (child && !child->Parent()) TakeOwnership(L, 2);
    return 0;
}

void Wrap(lua_State* L, int table, const char* name, lua_CFunction wrapper, int extraUpvalues = 0) {
    lua_pushstring(L, name);
    lua_rawget(L, table);
    if (!lua_isfunction(L, -1)) {
        lua_pop(L, 1 + extraUpvalues);
        return;
    }
    if (extraUpvalues) lua_insert(L, -1 - extraUpvalues);  // the wrapped function first
    lua_pushcclosure(L, wrapper, 1 + extraUpvalues);
    lua_pushstring(L, name);
    lua_insert(L, -2);
    lua_rawset(L, table);
}

// Every class metatable tolua++ made ("vector3", "const vector3", ...):
// the registry maps each to its name.
std::vector<std::string> ClassNames(lua_State* L) {
    std::vector<std::string> names;
    lua_pushnil(L);
    while (lua_next(L, LUA_REGISTRYINDEX)) {
        if (lua_type(L, -2) == LUA_TSTRING && lua_istable(L, -1)) {
            lua_pushvalue(L, -1);
            lua_rawget(L, LUA_REGISTRYINDEX);
            if (lua_type(L, -1) == LUA_TSTRING && lua_rawequal(L, -1, -3))
                names.push_back(lua_tostring(L, -1));
            lua_pop(L, 1);
        }
        lua_pop(L, 1);
    }
    return names;
}

void WrapEvents(lua_State* L, int mt) {
    Wrap(L, mt, "__gc", CollectEvent);
    Wrap(L, mt, "__index", IndexEvent);
    Wrap(L, mt, "__newindex", NewIndexEvent);
}

void WrapClassFunctions(lua_State* L, int mt, const std::string& name) {
    const bool node = name == "rgSceneNode" || name == "rgMesh" || name == "rgBone";
    for (const char* constructor : {"new", "new_local", ".call"}) {
        lua_pushboolean(L, node);
        Wrap(L, mt, constructor, OwningConstructor, 1);
    }
    lua_pushstring(L, name.c_str());
    Wrap(L, mt, "delete", Delete, 1);
    if (name == "matrix44") Wrap(L, mt, "clone", OwningCall);
    if (name == "rgScene") {
        Wrap(L, mt, "CreateMesh", OwningCall);
        Wrap(L, mt, "CreateBone", OwningCall);
    }
    if (name == "rgSceneNode") {
        Wrap(L, mt, "AttachChild", AttachChild);
        Wrap(L, mt, "DetachChild", DetachChild);
    }
}

}  // namespace

void InstallObjectLifetime(lua_State* L) {
    for (const std::string& name : ClassNames(L)) {
        luaL_getmetatable(L, name.c_str());
        const int mt = lua_gettop(L);
        WrapEvents(L, mt);
        if (name.rfind("const ", 0) != 0) WrapClassFunctions(L, mt, name);
        lua_pop(L, 1);
    }
    lua_getglobal(L, "tolua");
    if (lua_istable(L, -1)) {
        for (const char* unsafe : {"cast", "takeownership", "releaseownership"}) {
            lua_pushstring(L, unsafe);
            lua_pushnil(L);
            lua_rawset(L, -3);
        }
    }
    lua_pop(L, 1);
}
