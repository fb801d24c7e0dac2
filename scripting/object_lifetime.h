#pragma once

struct lua_State;

// Puts the lifetime rules of script handles over the generated bindings
// (see script_handles.h), once the bindings are open:
// - `new` (and `new_local`, calling the class) makes an object the script
//   owns; the collector frees it unless the script hands it to the scene.
//   Node constructors need the scene: `rgSceneNode:new(nil)` is refused.
// - `delete` frees a script-owned object or a node exactly once; the parts
//   of other objects (a node's matrix, a mesh's vertex) cannot be deleted,
//   nor can the scene's root node.
// - AttachChild hands a node to its new parent; DetachChild hands a node
//   that is nobody's child any more back to the script.
// - Using a handle whose object is gone raises a clear error.
// - tolua.cast, tolua.takeownership and tolua.releaseownership are removed:
//   each lets a script forge or free what the engine still uses.
void InstallObjectLifetime(lua_State* L);
