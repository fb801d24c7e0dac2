#include "scripting/script_handles.h"

#include <cstdlib>
#include <cstring>
#include <lua.hpp>
#include <tolua++.h>

#include "scene/rg_mesh.h"
#include "scripting/handle_registry.h"

namespace {

// Their addresses key our entries in the Lua registry.
const char kRegistryKey = 0;
const char kOwnersKey = 0;

// The collector runs a step once this much unseen memory has piled up.
constexpr size_t kPaceStep = 64 * 1024;
// What a script-owned object costs outside Lua's sight, roughly: the
// largest value type with the allocator's overhead. (A mesh costs more, but
// scripts make few of them.)
constexpr size_t kOwnedObjectBytes = 80;

const char* Unqualified(const char* type) {
    return std::strncmp(type, "const ", 6) == 0 ? type + 6 : type;
}

bool Named(const char* type, const char* name) {
    return std::strcmp(Unqualified(type), name) == 0;
}

// Objects the engine tells about when they go (the classes rg*, but for
// the vertex, which is part of a mesh): a handle to one is filed under the
// object itself. Any other object is a part of the object whose method or
// field produced it, or a new value the script will own.
bool EndsOnItsOwn(const char* type) {
    type = Unqualified(type);
    return type[0] == 'r' && type[1] == 'g' && std::strcmp(type, "rgVertex") != 0;
}

int Absolute(lua_State* L, int index) {
    return index < 0 ? lua_gettop(L) + index + 1 : index;
}

bool IsA(lua_State* L, int index, const char* type) {
    tolua_Error err;
    return lua_isuserdata(L, index) && tolua_isusertype(L, index, type, 0, &err);
}

// Pushes the table that maps object pointers to their userdata for the
// class hierarchy of the metatable at `mt` (one per hierarchy, tolua++'s).
void PushUbox(lua_State* L, int mt) {
    lua_pushstring(L, "tolua_ubox");
    lua_rawget(L, mt);
    if (lua_istable(L, -1)) return;
    lua_pop(L, 1);
    lua_pushstring(L, "tolua_ubox");
    lua_rawget(L, LUA_REGISTRYINDEX);
}

// A handle first pushed as a base class takes the metatable of the more
// derived class it is now pushed as (a node seen again through tomesh).
void Specialize(lua_State* L, int ud, int mt, const char* type) {
    lua_getmetatable(L, ud);  // current
    if (lua_rawequal(L, -1, mt)) {
        lua_pop(L, 1);
        return;
    }
    lua_pushstring(L, "tolua_super");
    lua_rawget(L, LUA_REGISTRYINDEX);
    lua_pushvalue(L, -2);
    lua_rawget(L, -2);  // the classes the current one is
    bool already = false;
    if (lua_istable(L, -1)) {
        lua_pushstring(L, type);
        lua_rawget(L, -2);
        already = lua_toboolean(L, -1);
        lua_pop(L, 1);
    }
    lua_pop(L, 3);
    if (!already) {
        lua_pushvalue(L, mt);
        lua_setmetatable(L, ud);
    }
}

void PushOwners(lua_State* L) {
    lua_pushlightuserdata(L, const_cast<char*>(&kOwnersKey));
    lua_rawget(L, LUA_REGISTRYINDEX);
}

void SetOwner(lua_State* L, int ud, int owner) {
    PushOwners(L);
    lua_pushvalue(L, ud);
    if (owner)
        lua_pushvalue(L, owner);
    else
        lua_pushnil(L);
    lua_rawset(L, -3);
    lua_pop(L, 1);
}

void PushGcTable(lua_State* L) {
    lua_pushstring(L, "tolua_gc");
    lua_rawget(L, LUA_REGISTRYINDEX);
}

// Lua's collector counts only its own memory. Objects a script makes and
// drops are C++ objects it cannot see, so without help it runs too rarely
// and a loop making vectors grows without bound: tell it what they cost.
void PaceCollector(lua_State* L, size_t bytes) {
    rgHandleRegistry& registry = HandleRegistryOf(L);
    registry.unseenBytes += bytes;
    if (registry.unseenBytes < kPaceStep) return;
    const int kilobytes = static_cast<int>(registry.unseenBytes / 1024);
    registry.unseenBytes = 0;
    lua_gc(L, LUA_GCSTEP, kilobytes);
}

}  // namespace

void BindHandleRegistry(lua_State* L, rgHandleRegistry& registry) {
    lua_pushlightuserdata(L, const_cast<char*>(&kRegistryKey));
    lua_pushlightuserdata(L, &registry);
    lua_rawset(L, LUA_REGISTRYINDEX);

    // Part handles to their owners' handles; weak keys, so a part that is
    // collected lets its owner go.
    lua_pushlightuserdata(L, const_cast<char*>(&kOwnersKey));
    lua_newtable(L);
    lua_newtable(L);
    lua_pushstring(L, "__mode");
    lua_pushstring(L, "k");
    lua_rawset(L, -3);
    lua_setmetatable(L, -2);
    lua_rawset(L, LUA_REGISTRYINDEX);
}

rgHandleRegistry& HandleRegistryOf(lua_State* L) {
    lua_pushlightuserdata(L, const_cast<char*>(&kRegistryKey));
    lua_rawget(L, LUA_REGISTRYINDEX);
    auto* registry = static_cast<rgHandleRegistry*>(lua_touserdata(L, -1));
    lua_pop(L, 1);
    return *registry;
}

rgHandle* ToHandle(lua_State* L, int index) {
    if (lua_type(L, index) != LUA_TUSERDATA || lua_objlen(L, index) != sizeof(rgHandle))
        return nullptr;
    auto* handle = static_cast<rgHandle*>(lua_touserdata(L, index));
    return handle->magic == rgHandle::kMagic ? handle : nullptr;
}

const char* HandleClassName(lua_State* L, int index) {
    const char* name = "object";
    if (lua_getmetatable(L, index)) {
        lua_rawget(L, LUA_REGISTRYINDEX);  // tolua++ maps each metatable to its class name
        if (lua_type(L, -1) == LUA_TSTRING) name = Unqualified(lua_tostring(L, -1));
        lua_pop(L, 1);  // the registry keeps the name alive
    }
    return name;
}

int RaiseStaleHandle(lua_State* L, int index) {
    return luaL_error(L, "the %s this handle referred to no longer exists",
                      HandleClassName(L, index));
}

void PushHandle(lua_State* L, void* object, const char* type, const void* anchor, int ownerIndex) {
    if (!object) {
        lua_pushnil(L);
        return;
    }
    if (ownerIndex) ownerIndex = Absolute(L, ownerIndex);
    luaL_getmetatable(L, type);
    const int mt = lua_gettop(L);
    if (!lua_istable(L, mt)) {  // not a class of the API
        lua_pop(L, 1);
        tolua_pushusertype(L, object, type);
        return;
    }
    PushUbox(L, mt);
    const int ubox = mt + 1;
    lua_pushlightuserdata(L, object);
    lua_rawget(L, ubox);
    if (rgHandle* found = ToHandle(L, -1); found && found->object == object) {
        Specialize(L, lua_gettop(L), mt, type);
    } else {
        // None yet, or the handle of an object that used to live at this
        // address and is gone: a new handle.
        lua_pop(L, 1);
        auto* handle = static_cast<rgHandle*>(lua_newuserdata(L, sizeof(rgHandle)));
        *handle = rgHandle{object, nullptr, nullptr, nullptr, rgHandle::kMagic};
        const int ud = lua_gettop(L);
        lua_pushvalue(L, mt);
        lua_setmetatable(L, ud);
        lua_pushvalue(L, TOLUA_NOPEER);  // no peer table yet, as tolua++ marks it
        lua_setfenv(L, ud);
        HandleRegistryOf(L).Attach(handle, anchor);
        lua_pushlightuserdata(L, object);
        lua_pushvalue(L, ud);
        lua_rawset(L, ubox);
        if (ownerIndex && ToHandle(L, ownerIndex)) SetOwner(L, ud, ownerIndex);
    }
    lua_replace(L, mt);
    lua_settop(L, mt);
}

bool IsScriptOwned(lua_State* L, void* object) {
    PushGcTable(L);
    lua_pushlightuserdata(L, object);
    lua_rawget(L, -2);
    const bool owned = !lua_isnil(L, -1);
    lua_pop(L, 2);
    return owned;
}

void TakeOwnership(lua_State* L, int index) {
    index = Absolute(L, index);
    rgHandle* handle = ToHandle(L, index);
    if (!handle || !handle->object) return;
    if (!tolua_register_gc(L, index)) return;  // owned already
    // Nobody's part any more. Only the collector or `delete` ends it, and
    // they clear the handle themselves: a node stays filed all the same,
    // as the engine ends it once it is attached again.
    if (handle->anchor != handle->object) HandleRegistryOf(L).Detach(handle);
    SetOwner(L, index, 0);
    PaceCollector(L, kOwnedObjectBytes);
}

void GiveUpOwnership(lua_State* L, int index) {
    rgHandle* handle = ToHandle(L, index);
    if (!handle || !handle->object) return;
    HandleRegistryOf(L).Attach(handle, handle->object);
    PushGcTable(L);
    lua_pushlightuserdata(L, handle->object);
    lua_pushnil(L);
    lua_rawset(L, -3);
    lua_pop(L, 1);
}

void kinemo_push_usertype(lua_State* L, void* value, const char* type) {
    if (EndsOnItsOwn(type)) {
        PushHandle(L, value, type, value, 0);
        return;
    }
    // A part of `self` ends with it and keeps its handle alive. Without a
    // `self` the value is new (a constructor's): the script will own it,
    // and nothing else ends it.
    const void* anchor = nullptr;
    int owner = 0;
    rgHandle* self = lua_gettop(L) >= 1 ? ToHandle(L, 1) : nullptr;
    if (self && self->object) {
        owner = 1;
        anchor = self->anchor ? self->anchor : self->object;  // filed, or script-owned
        if (Named(type, "rgVertex") && IsA(L, 1, "rgMesh"))
            anchor = &static_cast<rgMesh*>(self->object)->Vertices();
    }
    PushHandle(L, value, type, anchor, owner);
}

int kinemo_register_gc(lua_State* L, int lo) {
    if (!ToHandle(L, lo)) return tolua_register_gc(L, lo);
    TakeOwnership(L, lo);
    return 1;
}

void* kinemo_to_usertype(lua_State* L, int narg, void* def) {
    if (lua_gettop(L) < std::abs(narg)) return def;
    if (rgHandle* handle = ToHandle(L, narg)) {
        if (!handle->object) RaiseStaleHandle(L, narg);
        return handle->object;
    }
    return tolua_tousertype(L, narg, def);
}
