// The few API entries the binding generator cannot express: functions with
// several results that do not depend on optional arguments, the 1-based
// bone/weight arrays, a key's matrix found by frame, and viewport handles
// that may be nil.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>
#include <lua.hpp>
#include <tolua++.h>

#include "editing/rg_editor.h"
#include "scripting/bulk_functions.h"
#include "scripting/clip_functions.h"
#include "scripting/file_functions.h"
#include "scripting/packed_mesh_functions.h"
#include "scripting/script_bindings.h"
#include "scripting/script_context.h"
#include "scripting/binding_errors.h"
#include "scripting/script_handles.h"
#include "scripting/script_numbers.h"
#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"
#include "scripting/script_viewport.h"
#include "viewport/viewport_host.h"

TOLUA_API int tolua_kinemo_open(lua_State* L);

namespace {

using kinemo_binding::FunctionError;
using kinemo_binding::Self;

// Argument checks in the manner of the generated code; on a mismatch they
// raise "#ferror in function '<name>'." with the run-time's details.
bool CheckSelf(lua_State* L, const char* type, tolua_Error* err) {
    return tolua_isusertype(L, 1, type, 0, err) != 0;
}

int NodeGetColor(lua_State* L) {
    tolua_Error err;
    if (!CheckSelf(L, "rgSceneNode", &err) || !tolua_isnoobj(L, 2, &err))
        return FunctionError(L, "GetColor", &err);
    auto* node = static_cast<rgSceneNode*>(Self(L, "GetColor"));
    const vector3 c = node->GetColor();
    lua_pushnumber(L, c.x);
    lua_pushnumber(L, c.y);
    lua_pushnumber(L, c.z);
    return 3;
}

// GetFace(index [, a, b, c]): an index outside the list answers a, b, c (0 when absent).
int MeshGetFace(lua_State* L) {
    tolua_Error err;
    if (!CheckSelf(L, "rgMesh", &err) || !tolua_isnumber(L, 2, 0, &err) || !tolua_isnumber(L, 3, 1, &err) ||
        !tolua_isnumber(L, 4, 1, &err) || !tolua_isnumber(L, 5, 1, &err) || !tolua_isnoobj(L, 6, &err))
        return FunctionError(L, "GetFace", &err);
    auto* mesh = static_cast<rgMesh*>(Self(L, "GetFace"));
    const int index = kinemo_to_int(tolua_tonumber(L, 2, 0));
    int a = kinemo_to_int(tolua_tonumber(L, 3, 0));
    int b = kinemo_to_int(tolua_tonumber(L, 4, 0));
    int c = kinemo_to_int(tolua_tonumber(L, 5, 0));
    mesh->GetFace(index, a, b, c);
    lua_pushnumber(L, a);
    lua_pushnumber(L, b);
    lua_pushnumber(L, c);
    return 3;
}

template <int Axis>
int BoneGetConstraints(lua_State* L) {
    static const char* const kNames[] = {"GetXConstraints", "GetYConstraints", "GetZConstraints"};
    tolua_Error err;
    if (!CheckSelf(L, "rgBone", &err) || !tolua_isnoobj(L, 2, &err)) return FunctionError(L, kNames[Axis], &err);
    auto* joint = static_cast<rgBone*>(Self(L, kNames[Axis]));
    int mode = 0;
    float first = 0, second = 0;
    joint->GetConstraints(Axis, mode, first, second);
    lua_pushnumber(L, mode);
    lua_pushnumber(L, first);
    lua_pushnumber(L, second);
    return 3;
}

int ViewportGetRect(lua_State* L) {
    tolua_Error err;
    if (!CheckSelf(L, "rgViewport", &err) || !tolua_isnoobj(L, 2, &err)) return FunctionError(L, "GetRect", &err);
    auto* viewport = static_cast<rgViewport*>(Self(L, "GetRect"));
    float left, top, width, height;
    viewport->GetRect(left, top, width, height);
    lua_pushnumber(L, left);
    lua_pushnumber(L, top);
    lua_pushnumber(L, width);
    lua_pushnumber(L, height);
    return 4;
}

// vertex.bone[i] and vertex.weight[i], i in 1..4. Reading vertex.bone gives
// a small table whose ".self" is the vertex's handle (never a raw pointer):
// a script that keeps it past the vertex gets the handle's clear error.
rgVertex* ArrayOwner(lua_State* L) {
    lua_pushstring(L, ".self");
    lua_rawget(L, 1);
    tolua_Error err;
    if (!lua_isuserdata(L, -1) || !tolua_isusertype(L, -1, "rgVertex", 0, &err))
        tolua_error(L, "invalid 'self' in accessing variable", nullptr);
    auto* vertex = static_cast<rgVertex*>(kinemo_to_usertype(L, lua_gettop(L), nullptr));
    lua_pop(L, 1);
    return vertex;
}

int ArrayIndex(lua_State* L) {
    tolua_Error err;
    if (!tolua_isnumber(L, 2, 0, &err)) tolua_error(L, "#vinvalid type in array indexing.", &err);
    const int index = kinemo_to_int(tolua_tonumber(L, 2, 0));
    if (index < 1 || index > rgVertex::kInfluences) tolua_error(L, "array indexing out of range.", nullptr);
    return index - 1;
}

template <bool Bones>
int ArrayGet(lua_State* L) {
    const int i = ArrayIndex(L);
    rgVertex* vertex = ArrayOwner(L);
    if (!vertex) tolua_error(L, "invalid 'self' in accessing variable", nullptr);
    lua_pushnumber(L, Bones ? static_cast<lua_Number>(vertex->bone[i]) : vertex->weight[i]);
    return 1;
}

template <bool Bones>
int ArraySet(lua_State* L) {
    const int i = ArrayIndex(L);
    tolua_Error err;
    if (!tolua_isnumber(L, 3, 0, &err)) tolua_error(L, "#vinvalid type in variable assignment.", &err);
    rgVertex* vertex = ArrayOwner(L);
    if (!vertex) tolua_error(L, "invalid 'self' in accessing variable", nullptr);
    if (Bones)
        vertex->bone[i] = kinemo_to_int(tolua_tonumber(L, 3, 0));
    else
        vertex->weight[i] = static_cast<float>(tolua_tonumber(L, 3, 0));
    return 0;
}

// Getter of vertex.bone / vertex.weight; upvalue 1: the array metatable.
int ArrayField(lua_State* L) {
    if (!kinemo_to_usertype(L, 1, nullptr))
        tolua_error(L, "invalid 'self' in accessing variable", nullptr);
    lua_newtable(L);
    lua_pushstring(L, ".self");
    lua_pushvalue(L, 1);
    lua_rawset(L, -3);
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_setmetatable(L, -2);
    return 1;
}

void RegisterArray(lua_State* L, const char* name, lua_CFunction get, lua_CFunction set) {
    // on the stack: the rgVertex class table
    lua_pushstring(L, ".get");
    lua_rawget(L, -2);
    lua_pushstring(L, name);
    lua_newtable(L);
    lua_pushstring(L, "__index");
    lua_pushcfunction(L, get);
    lua_rawset(L, -3);
    lua_pushstring(L, "__newindex");
    lua_pushcfunction(L, set);
    lua_rawset(L, -3);
    lua_pushstring(L, "__metatable");  // shared by every vertex: not a script's to change
    lua_pushboolean(L, 0);
    lua_rawset(L, -3);
    lua_pushcclosure(L, ArrayField, 1);
    lua_rawset(L, -3);
    lua_pop(L, 1);
}

// rgBone:GetKeyMatrix(frame): the matrix inside the key, so it ends with
// the key, not with the joint.
int BoneGetKeyMatrix(lua_State* L) {
    tolua_Error err;
    if (!CheckSelf(L, "rgBone", &err) || !tolua_isnumber(L, 2, 0, &err) ||
        !tolua_isnoobj(L, 3, &err))
        return FunctionError(L, "GetKeyMatrix", &err);
    auto* joint = static_cast<rgBone*>(Self(L, "GetKeyMatrix"));
    rgKeyframe* key = joint->GetKeyAt(kinemo_to_int(tolua_tonumber(L, 2, 0)));
    if (key)
        PushHandle(L, &key->matrix, "matrix44", key, 1);
    else
        lua_pushnil(L);
    return 1;
}

// Bulk text of mesh data for writers of large files (the scene file's save):
// one line per vertex or face, numbers separated by commas, each line ending
// in ",\n". Floats read back exactly (9 significant digits).
// Built in a Lua buffer: a memory error while it grows then frees it too.
void AppendFloat(luaL_Buffer& out, float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), static_cast<double>(value),
                                      std::chars_format::general, 9);
    luaL_addlstring(&out, buffer, static_cast<size_t>(result.ptr - buffer));
    luaL_addchar(&out, ',');
}

void AppendInt(luaL_Buffer& out, int value) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value);
    luaL_addlstring(&out, buffer, static_cast<size_t>(result.ptr - buffer));
    luaL_addchar(&out, ',');
}

bool CheckRange(lua_State* L, tolua_Error* err) {
    return CheckSelf(L, "rgMesh", err) && tolua_isnumber(L, 2, 0, err) && tolua_isnumber(L, 3, 0, err) &&
           tolua_isnoobj(L, 4, err);
}

// rgMesh:GetVertexText(first, count): selected, position, normal, texture
// coordinates, four joint ids, four weights.
int MeshGetVertexText(lua_State* L) {
    tolua_Error err;
    if (!CheckRange(L, &err)) return FunctionError(L, "GetVertexText", &err);
    auto* mesh = static_cast<rgMesh*>(Self(L, "GetVertexText"));
    const int first = std::max(0, kinemo_to_int(tolua_tonumber(L, 2, 0)));
    const int last = std::min(mesh->GetVertexCount(), first + std::max(0, kinemo_to_int(tolua_tonumber(L, 3, 0))));
    luaL_Buffer out;
    luaL_buffinit(L, &out);
    for (int i = first; i < last; ++i) {
        const rgVertex& v = *static_cast<const rgMesh*>(mesh)->GetVertex(i);
        AppendInt(out, v.selected ? 1 : 0);
        for (float f : {v.position.x, v.position.y, v.position.z, v.normal.x, v.normal.y,
                        v.normal.z, v.texcoords.x, v.texcoords.y})
            AppendFloat(out, f);
        for (int32_t b : v.bone) AppendInt(out, b);
        for (float w : v.weight) AppendFloat(out, w);
        luaL_addchar(&out, '\n');
    }
    luaL_pushresult(&out);
    return 1;
}

// rgMesh:GetFaceText(first, count): the three vertex indices of each face.
int MeshGetFaceText(lua_State* L) {
    tolua_Error err;
    if (!CheckRange(L, &err)) return FunctionError(L, "GetFaceText", &err);
    auto* mesh = static_cast<rgMesh*>(Self(L, "GetFaceText"));
    const int first = std::max(0, kinemo_to_int(tolua_tonumber(L, 2, 0)));
    const int last = std::min(mesh->GetFaceCount(), first + std::max(0, kinemo_to_int(tolua_tonumber(L, 3, 0))));
    luaL_Buffer out;
    luaL_buffinit(L, &out);
    for (int i = first; i < last; ++i) {
        int a = 0, b = 0, c = 0;
        mesh->GetFace(i, a, b, c);
        AppendInt(out, a);
        AppendInt(out, b);
        AppendInt(out, c);
        luaL_addchar(&out, '\n');
    }
    luaL_pushresult(&out);
    return 1;
}

void PushViewport(lua_State* L, rgViewportHost& host, int id) {
    if (id < 0) {
        lua_pushnil(L);
        return;
    }
    PushHandle(L, new rgViewport(&host, id), "rgViewport", nullptr, 0);
    TakeOwnership(L, -1);
}

int LuaGetViewport(lua_State* L) {
    tolua_Error err;
    if (!tolua_isnumber(L, 1, 0, &err) || !tolua_isnoobj(L, 2, &err)) return FunctionError(L, "GetViewport", &err);
    rgViewportHost& host = rgScriptContext::Of(L).viewports;
    PushViewport(L, host, host.IdAt(kinemo_to_int(tolua_tonumber(L, 1, 0))));
    return 1;
}

int LuaCreateViewport(lua_State* L) {
    tolua_Error err;
    if (!tolua_isnoobj(L, 1, &err)) return FunctionError(L, "CreateViewport", &err);
    rgViewportHost& host = rgScriptContext::Of(L).viewports;
    PushViewport(L, host, host.Create());
    return 1;
}

// AskNumber(caption, initial): the number the user gives, nil when they
// cancel (and in batch runs, where nobody is asked).
int LuaAskNumber(lua_State* L) {
    const char* caption = luaL_checkstring(L, 1);
    double value = luaL_checknumber(L, 2);
    rgEditor& editor = rgScriptContext::Of(L).editor;
    if (editor.dialogs().AskNumber(caption, value))
        lua_pushnumber(L, value);
    else
        lua_pushnil(L);
    return 1;
}

}  // namespace

void OpenScriptBindings(lua_State* L) {
    tolua_kinemo_open(L);

    tolua_module(L, nullptr, 0);
    tolua_beginmodule(L, nullptr);
    tolua_function(L, "GetViewport", LuaGetViewport);
    tolua_function(L, "CreateViewport", LuaCreateViewport);
    tolua_function(L, "AskNumber", LuaAskNumber);
    tolua_beginmodule(L, "rgSceneNode");
    tolua_function(L, "GetColor", NodeGetColor);
    tolua_endmodule(L);
    tolua_beginmodule(L, "rgMesh");
    tolua_function(L, "GetFace", MeshGetFace);
    tolua_function(L, "GetVertexText", MeshGetVertexText);
    tolua_function(L, "GetFaceText", MeshGetFaceText);
    tolua_endmodule(L);
    tolua_beginmodule(L, "rgBone");
    tolua_function(L, "GetKeyMatrix", BoneGetKeyMatrix);
    tolua_function(L, "GetXConstraints", BoneGetConstraints<0>);
    tolua_function(L, "GetYConstraints", BoneGetConstraints<1>);
    tolua_function(L, "GetZConstraints", BoneGetConstraints<2>);
    tolua_endmodule(L);
    tolua_beginmodule(L, "rgVertex");
    RegisterArray(L, "bone", ArrayGet<true>, ArraySet<true>);
    RegisterArray(L, "weight", ArrayGet<false>, ArraySet<false>);
    tolua_endmodule(L);
    tolua_beginmodule(L, "rgViewport");
    tolua_function(L, "GetRect", ViewportGetRect);
    tolua_endmodule(L);
    tolua_endmodule(L);
    OpenFileFunctions(L);
    OpenBulkFunctions(L);
    OpenPackedMeshFunctions(L);
    OpenClipFunctions(L);
}
