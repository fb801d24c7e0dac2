#pragma once

// Included at the top of the generated bindings: the engine types they bind,
// the helpers bound as methods, and the value conventions of the script API.

#include <lua.hpp>
#include <tolua++.h>

#include "core/matrix44.h"
#include "core/quaternion.h"
#include "core/vector2.h"
#include "core/vector3.h"
#include "core/vector4.h"
#include "scene/rg_bone.h"
#include "scene/rg_keyframe.h"
#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"
#include "scene/rg_scene_node.h"
#include "scene/rg_texture.h"
#include "scene/rg_vertex.h"
#include "scripting/animation_functions.h"
#include "scripting/app_functions.h"
#include "scripting/editing_functions.h"
#include "scripting/script_handles.h"
#include "scripting/script_numbers.h"
#include "scripting/script_viewport.h"

// The generator spells the keyword into casts; it has no meaning for the compiler.
#define tolua_outside

// Booleans as scripts of this program have always seen them: a true result
// is the number 1 and a false one nil; on input nil, false and 0 are false
// and any other number or true is true.
int kinemo_is_flag(lua_State* L, int lo, int def, tolua_Error* err);
int kinemo_to_flag(lua_State* L, int narg, int def);
void kinemo_push_flag(lua_State* L, int value);
#define tolua_isboolean kinemo_is_flag
#define tolua_toboolean kinemo_to_flag
#define tolua_pushboolean kinemo_push_flag

// Strings: the run-time takes nil for a string argument and hands the
// function a null pointer, which no function of the API can use. Here nil
// is no string (an omitted optional argument still takes its default).
int kinemo_is_string(lua_State* L, int lo, int def, tolua_Error* err);
#define tolua_isstring kinemo_is_string

// Handles that end with their objects and objects the collector frees (see
// script_handles.h).
#define tolua_pushusertype kinemo_push_usertype
#define tolua_register_gc kinemo_register_gc
#define tolua_tousertype kinemo_to_usertype

// Functions bound as methods. Each carries the name scripts call it by, so
// error messages name what the script called.
namespace kinemo_binding {

float M(matrix44* self, int row, int col);
void S(matrix44* self, int row, int col, float value);
// A new script-owned copy.
matrix44* clone(matrix44* self);

void Scale(rgSceneNode* self, const vector3& factors);
const char* GetName(rgSceneNode* self);

void set(rgVertex* self, bool selected, float px, float py, float pz, float nx, float ny, float nz,
         float u, float v, int b1, int b2, int b3, int b4, float w1, float w2, float w3, float w4);

const char* GetFileName(rgTexture* self, lua_State* L);
const char* GetAbsoluteFilename(rgTexture* self, lua_State* L);

}  // namespace kinemo_binding

using namespace kinemo_binding;  // NOLINT: the generated calls are unqualified
