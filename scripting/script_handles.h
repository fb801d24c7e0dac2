#pragma once

// Script handles to engine objects. Every object the script API hands to
// Lua is a userdata holding an rgHandle (see handle_registry.h):
// - a handle is filed under the engine object whose end ends it, and the
//   registry clears it then, so using it raises a clear Lua error;
// - a part of another object (a node's matrix, a vertex's position) keeps
//   the handle of that object alive, so the collector never frees an
//   object while a script still holds one of its parts;
// - objects a script made and did not hand to the scene belong to the
//   script: the collector frees them, with their cost made known to it.
//
// The generated bindings reach these through the macros in
// binding_support.h; hand-written bindings call them directly.

#include <cstddef>

struct lua_State;
struct rgHandle;
class rgHandleRegistry;

// Makes `registry` the one this interpreter's handles are filed in.
void BindHandleRegistry(lua_State* L, rgHandleRegistry& registry);
rgHandleRegistry& HandleRegistryOf(lua_State* L);

// The handle at `index`; null for any other value.
rgHandle* ToHandle(lua_State* L, int index);
// The class name of a handle's metatable ("rgMesh"), without "const ".
const char* HandleClassName(lua_State* L, int index);
// Raises "the rgMesh this handle referred to no longer exists".
int RaiseStaleHandle(lua_State* L, int index);

// Pushes the handle of `object` seen as `type`: the existing one, or a new
// one filed under `anchor` that keeps the value at `ownerIndex` (0: none)
// alive. A null object pushes nil.
void PushHandle(lua_State* L, void* object, const char* type, const void* anchor, int ownerIndex);

// Whether the collector will free the object (the script owns it).
bool IsScriptOwned(lua_State* L, void* object);
// The script owns the object of the handle at `index` from now on.
void TakeOwnership(lua_State* L, int index);
// The engine owns it from now on (a node attached to a parent).
void GiveUpOwnership(lua_State* L, int index);

// Stand-ins for the tolua++ run-time functions of the same purpose, used
// by the generated bindings.
void kinemo_push_usertype(lua_State* L, void* value, const char* type);
int kinemo_register_gc(lua_State* L, int lo);
void* kinemo_to_usertype(lua_State* L, int narg, void* def);
