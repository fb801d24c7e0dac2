// Bulk methods of rgMesh, rgBone and matrix44. Each checks its whole input
// before it changes anything, so a table that is wrong somewhere adds
// nothing. Lua errors are raised only where no object with a destructor is
// alive (lua_error jumps over C++ frames); scratch space is Lua userdata.
#include "scripting/bulk_functions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <lua.hpp>
#include <new>
#include <tolua++.h>

#include "animation/key_evaluation.h"
#include "editing/rg_editor.h"
#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"
#include "scripting/script_context.h"
#include "scripting/binding_errors.h"
#include "scripting/script_handles.h"
#include "scripting/script_numbers.h"

namespace {

using kinemo_binding::FunctionError;
using kinemo_binding::Self;

constexpr int kVertexValues = 17;  // the values of rgVertex:set
constexpr int kDeformedValues = 8;
constexpr int kKeyValues = 23;
constexpr int kMaxSampledFrames = 1000000;

// Every check fills `err`: the error message reads the expected type from it.
bool IsOptionalTable(lua_State* L, int index, tolua_Error* err) {
    return lua_isnoneornil(L, index) || tolua_istable(L, index, 0, err);
}

// Reads the n numbers of the table at `index` into a Lua-owned float
// buffer; raises an error naming the first value that is not a finite number.
float* ReadNumbers(lua_State* L, int index, int n, const char* function) {
    auto* values = static_cast<float*>(
        lua_newuserdata(L, sizeof(float) * static_cast<size_t>(std::max(n, 1))));
    for (int i = 0; i < n; ++i) {
        lua_rawgeti(L, index, i + 1);
        const bool number = lua_type(L, -1) == LUA_TNUMBER;
        const double value = number ? lua_tonumber(L, -1) : 0.0;
        lua_pop(L, 1);
        if (!number || !std::isfinite(value))
            luaL_error(L, "%s: value %d of the table is not a finite number", function, i + 1);
        values[i] = static_cast<float>(value);
    }
    return values;
}

// The first and one-past-last index of an optional (first, count) range over size items.
void Range(lua_State* L, int size, int& first, int& last) {
    first = std::clamp(kinemo_to_int(luaL_optnumber(L, 2, 0)), 0, size);
    last = first + std::clamp(kinemo_to_int(luaL_optnumber(L, 3, size)), 0, size - first);
}

void PushMatrix(lua_State* L, int table, int& n, const matrix44& m) {
    for (float value : m.m) {
        lua_pushnumber(L, value);
        lua_rawseti(L, table, ++n);
    }
}

// rgMesh:AddVertices(t [, jointIds]) -> index of the first vertex added.
// t holds 17 numbers a vertex, in the order of rgVertex:set. With jointIds,
// a joint value b >= 0 stands for jointIds[b + 1]. Vertices are never merged.
int MeshAddVertices(lua_State* L) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, "rgMesh", 0, &err) || !tolua_istable(L, 2, 0, &err) ||
        !IsOptionalTable(L, 3, &err) || !tolua_isnoobj(L, 4, &err))
        return FunctionError(L, "AddVertices", &err);
    auto* mesh = static_cast<rgMesh*>(Self(L, "AddVertices"));
    const int n = static_cast<int>(lua_objlen(L, 2));
    if (n % kVertexValues != 0)
        return luaL_error(
            L, "AddVertices: %d numbers are no whole number of vertices (17 values each)", n);
    const float* values = ReadNumbers(L, 2, n, "AddVertices");
    const bool mapped = lua_istable(L, 3);
    const int joints = mapped ? static_cast<int>(lua_objlen(L, 3)) : 0;
    for (int i = 0; i < n; i += kVertexValues)
        for (int k = 9; k < 13; ++k) {
            if (values[i + k] < -1 || values[i + k] > 2147483520.0f)
                return luaL_error(L, "AddVertices: vertex %d names joint %f", i / kVertexValues,
                                  static_cast<double>(values[i + k]));
            if (!mapped) continue;
            const int b = static_cast<int>(values[i + k]);
            if (b >= joints)
                return luaL_error(L, "AddVertices: vertex %d names joint %d of %d",
                                  i / kVertexValues, b, joints);
            if (b >= 0) {
                lua_rawgeti(L, 3, b + 1);
                const bool ok = lua_type(L, -1) == LUA_TNUMBER;
                lua_pop(L, 1);
                if (!ok)
                    return luaL_error(L, "AddVertices: joint id %d of the id table is not a number",
                                      b + 1);
            }
        }
    const int first = mesh->GetVertexCount();
    bool failed = false;
    for (int i = 0; i < n && !failed; i += kVertexValues) {
        const float* t = values + i;
        rgVertex v;
        v.selected = t[0] != 0.0f;
        v.position.set(t[1], t[2], t[3]);
        v.normal.set(t[4], t[5], t[6]);
        v.texcoords.set(t[7], t[8]);
        for (int k = 0; k < rgVertex::kInfluences; ++k) {
            int b = static_cast<int>(t[9 + k]);
            if (mapped && b >= 0) {
                lua_rawgeti(L, 3, b + 1);
                b = kinemo_to_int(lua_tonumber(L, -1));
                lua_pop(L, 1);
            }
            v.bone[k] = b;
            v.weight[k] = t[13 + k];
        }
        try {
            mesh->AddVertex(v, false);
        } catch (const std::bad_alloc&) {
            failed = true;
        }
    }
    if (failed) return luaL_error(L, "AddVertices: not enough memory");
    lua_pushnumber(L, first);
    return 1;
}

// rgMesh:AddFaces(t): three vertex indices a face; every index must name a
// vertex of the mesh.
int MeshAddFaces(lua_State* L) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, "rgMesh", 0, &err) || !tolua_istable(L, 2, 0, &err) ||
        !tolua_isnoobj(L, 3, &err))
        return FunctionError(L, "AddFaces", &err);
    auto* mesh = static_cast<rgMesh*>(Self(L, "AddFaces"));
    const int n = static_cast<int>(lua_objlen(L, 2));
    if (n % 3 != 0)
        return luaL_error(L, "AddFaces: %d indices are no whole number of triangles", n);
    const int count = mesh->GetVertexCount();
    auto* indices =
        static_cast<int*>(lua_newuserdata(L, sizeof(int) * static_cast<size_t>(std::max(n, 1))));
    for (int i = 0; i < n; ++i) {
        lua_rawgeti(L, 2, i + 1);
        const bool number = lua_type(L, -1) == LUA_TNUMBER;
        const double value = number ? lua_tonumber(L, -1) : -1.0;
        lua_pop(L, 1);
        if (!number || !(value >= 0 && value < count)) {
            char message[160];
            std::snprintf(message, sizeof(message),
                          "AddFaces: triangle %d names vertex %s%.0f; the mesh has %d vertices",
                          i / 3, number ? "" : "(not a number) ", number ? value : 0.0, count);
            return luaL_error(L, "%s", message);
        }
        indices[i] = static_cast<int>(value);
    }
    bool failed = false;
    try {
        for (int i = 0; i < n; i += 3) mesh->AddFace(indices[i], indices[i + 1], indices[i + 2]);
    } catch (const std::bad_alloc&) {
        failed = true;
    }
    if (failed) return luaL_error(L, "AddFaces: not enough memory");
    return 0;
}

bool CheckMeshRange(lua_State* L, tolua_Error* err) {
    return tolua_isusertype(L, 1, "rgMesh", 0, err) && tolua_isnumber(L, 2, 1, err) &&
           tolua_isnumber(L, 3, 1, err) && tolua_isnoobj(L, 4, err);
}

// rgMesh:GetVertices([first [, count]]): 17 numbers a vertex, as AddVertices takes them.
int MeshGetVertices(lua_State* L) {
    tolua_Error err;
    if (!CheckMeshRange(L, &err)) return FunctionError(L, "GetVertices", &err);
    auto* mesh = static_cast<const rgMesh*>(Self(L, "GetVertices"));
    int first = 0, last = 0;
    Range(L, mesh->GetVertexCount(), first, last);
    lua_createtable(L, (last - first) * kVertexValues, 0);
    const int table = lua_gettop(L);
    int n = 0;
    for (int i = first; i < last; ++i) {
        const rgVertex& v = *mesh->GetVertex(i);
        const double values[kVertexValues] = {v.selected ? 1.0 : 0.0,
                                              v.position.x,
                                              v.position.y,
                                              v.position.z,
                                              v.normal.x,
                                              v.normal.y,
                                              v.normal.z,
                                              v.texcoords.x,
                                              v.texcoords.y,
                                              double(v.bone[0]),
                                              double(v.bone[1]),
                                              double(v.bone[2]),
                                              double(v.bone[3]),
                                              v.weight[0],
                                              v.weight[1],
                                              v.weight[2],
                                              v.weight[3]};
        for (double value : values) {
            lua_pushnumber(L, value);
            lua_rawseti(L, table, ++n);
        }
    }
    return 1;
}

// rgMesh:GetDeformedVertices([first [, count]]): 8 numbers a vertex, the
// skinned position and normal (object space) and the texture coordinates:
// the mesh as the current pose shows it.
int MeshGetDeformedVertices(lua_State* L) {
    tolua_Error err;
    if (!CheckMeshRange(L, &err)) return FunctionError(L, "GetDeformedVertices", &err);
    auto* mesh = static_cast<rgMesh*>(Self(L, "GetDeformedVertices"));
    bool failed = false;
    try {
        // Skinning reads the joints' world matrices: current ones.
        if (mesh->GetScene()) mesh->GetScene()->UpdateScene();
        if (!mesh->IsDeformed()) mesh->Deform();
    } catch (const std::bad_alloc&) {
        failed = true;
    }
    if (failed) return luaL_error(L, "GetDeformedVertices: not enough memory");
    int first = 0, last = 0;
    Range(L, mesh->GetVertexCount(), first, last);
    lua_createtable(L, (last - first) * kDeformedValues, 0);
    const int table = lua_gettop(L);
    const std::vector<vector3>& positions = mesh->DeformedPositions();
    const std::vector<vector3>& normals = mesh->DeformedNormals();
    int n = 0;
    for (int i = first; i < last; ++i) {
        const vector3& p = positions[static_cast<size_t>(i)];
        const vector3& q = normals[static_cast<size_t>(i)];
        const vector2& t = mesh->GetVertex(i)->texcoords;
        for (float value : {p.x, p.y, p.z, q.x, q.y, q.z, t.x, t.y}) {
            lua_pushnumber(L, value);
            lua_rawseti(L, table, ++n);
        }
    }
    return 1;
}

// rgMesh:GetFaces([first [, count]]): three vertex indices a triangle.
int MeshGetFaces(lua_State* L) {
    tolua_Error err;
    if (!CheckMeshRange(L, &err)) return FunctionError(L, "GetFaces", &err);
    auto* mesh = static_cast<const rgMesh*>(Self(L, "GetFaces"));
    int first = 0, last = 0;
    Range(L, mesh->GetFaceCount(), first, last);
    lua_createtable(L, (last - first) * 3, 0);
    const int table = lua_gettop(L);
    int n = 0;
    for (int i = first; i < last; ++i) {
        const rgFace& f = mesh->Faces()[static_cast<size_t>(i)];
        for (int index : {f.a, f.b, f.c}) {
            lua_pushnumber(L, index);
            lua_rawseti(L, table, ++n);
        }
    }
    return 1;
}

// rgBone:GetKeys(): 23 numbers a key: frame, the 16 matrix values row by
// row, translation tension, continuity, bias, rotation tension, continuity, bias.
int BoneGetKeys(lua_State* L) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, "rgBone", 0, &err) || !tolua_isnoobj(L, 2, &err))
        return FunctionError(L, "GetKeys", &err);
    auto* joint = static_cast<const rgBone*>(Self(L, "GetKeys"));
    lua_createtable(L, joint->GetKeyCount() * kKeyValues, 0);
    const int table = lua_gettop(L);
    int n = 0;
    for (int i = 0; i < joint->GetKeyCount(); ++i) {
        const rgKeyframe& k = *joint->GetKey(i);
        lua_pushnumber(L, k.frame);
        lua_rawseti(L, table, ++n);
        PushMatrix(L, table, n, k.matrix);
        for (float value :
             {k.trans_tcb.x, k.trans_tcb.y, k.trans_tcb.z, k.rot_tcb.x, k.rot_tcb.y, k.rot_tcb.z}) {
            lua_pushnumber(L, value);
            lua_rawseti(L, table, ++n);
        }
    }
    return 1;
}

// rgBone:SetKeys(t): keys in the layout of GetKeys, each set as SetKey does
// (a key at a frame that has one replaces it).
int BoneSetKeys(lua_State* L) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, "rgBone", 0, &err) || !tolua_istable(L, 2, 0, &err) ||
        !tolua_isnoobj(L, 3, &err))
        return FunctionError(L, "SetKeys", &err);
    auto* joint = static_cast<rgBone*>(Self(L, "SetKeys"));
    const int n = static_cast<int>(lua_objlen(L, 2));
    if (n % kKeyValues != 0)
        return luaL_error(L, "SetKeys: %d numbers are no whole number of keys (23 values each)", n);
    const float* values = ReadNumbers(L, 2, n, "SetKeys");
    for (int i = 0; i < n; i += kKeyValues)
        if (std::fabs(values[i]) > rgBone::kNoNextKey)
            return luaL_error(L, "SetKeys: key %d is at frame %f, beyond a million", i / kKeyValues,
                              static_cast<double>(values[i]));
    bool failed = false;
    try {
        for (int i = 0; i < n; i += kKeyValues) {
            const float* t = values + i;
            joint->SetKey(static_cast<int>(t[0]), matrix44(t + 1), t[17], t[18], t[19], t[20],
                          t[21], t[22]);
        }
    } catch (const std::bad_alloc&) {
        failed = true;
    }
    if (failed) return luaL_error(L, "SetKeys: not enough memory");
    return 0;
}

// rgBone:SampleOffsets(first, last): the offset the joint's keys give at
// every frame from first to last (16 numbers a frame), interpolated as the
// editor plays them. The joint keeps its pose.
int BoneSampleOffsets(lua_State* L) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, "rgBone", 0, &err) || !tolua_isnumber(L, 2, 0, &err) ||
        !tolua_isnumber(L, 3, 0, &err) || !tolua_isnoobj(L, 4, &err))
        return FunctionError(L, "SampleOffsets", &err);
    auto* joint = static_cast<rgBone*>(Self(L, "SampleOffsets"));
    const double first = lua_tonumber(L, 2), last = lua_tonumber(L, 3);
    if (!(last >= first && last - first < kMaxSampledFrames &&
          std::fabs(first) <= rgBone::kNoNextKey && std::fabs(last) <= rgBone::kNoNextKey))
        return luaL_error(L, "SampleOffsets: the frames %f to %f are no range of at most %d frames",
                          first, last, kMaxSampledFrames);
    const rgAnimationSettings settings =
        rgAnimationSettings::From(rgScriptContext::Of(L).editor.state());
    const int from = static_cast<int>(first), to = static_cast<int>(last);
    lua_createtable(L, (to - from + 1) * 16, 0);
    const int table = lua_gettop(L);
    if (joint->GetKeyCount() == 0) {
        int n = 0;
        for (int f = from; f <= to; ++f) PushMatrix(L, table, n, joint->GetOffsetMatrix());
        return 1;
    }
    const matrix44 pose = joint->GetOffsetMatrix();
    auto* samples = static_cast<matrix44*>(
        lua_newuserdata(L, sizeof(matrix44) * static_cast<size_t>(to - from + 1)));
    for (int f = from; f <= to; ++f) {
        EvaluateAtFrame(*joint, f, settings);
        samples[f - from] = joint->GetOffsetMatrix();
    }
    joint->SetOffsetMatrix(pose);
    int n = 0;
    for (int f = from; f <= to; ++f) PushMatrix(L, table, n, samples[f - from]);
    lua_pop(L, 1);
    return 1;
}

// rgScene:UpdateScene(): brings every world matrix up to date with the
// level and the pose, as drawing does. A script that poses joints (SetFrame,
// keys, offsets) and then reads GetGlobalMatrix calls it first.
int SceneUpdate(lua_State* L) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, "rgScene", 0, &err) || !tolua_isnoobj(L, 2, &err))
        return FunctionError(L, "UpdateScene", &err);
    static_cast<rgScene*>(Self(L, "UpdateScene"))->UpdateScene();
    return 0;
}

// matrix44:get(): the 16 values row by row, the counterpart of set.
int MatrixGet(lua_State* L) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, "const matrix44", 0, &err) || !tolua_isnoobj(L, 2, &err))
        return FunctionError(L, "get", &err);
    auto* m = static_cast<const matrix44*>(Self(L, "get"));
    lua_checkstack(L, 16);
    for (float value : m->m) lua_pushnumber(L, value);
    return 16;
}

}  // namespace

void OpenBulkFunctions(lua_State* L) {
    tolua_module(L, nullptr, 0);
    tolua_beginmodule(L, nullptr);
    tolua_beginmodule(L, "rgMesh");
    tolua_function(L, "AddVertices", MeshAddVertices);
    tolua_function(L, "AddFaces", MeshAddFaces);
    tolua_function(L, "GetVertices", MeshGetVertices);
    tolua_function(L, "GetDeformedVertices", MeshGetDeformedVertices);
    tolua_function(L, "GetFaces", MeshGetFaces);
    tolua_endmodule(L);
    tolua_beginmodule(L, "rgBone");
    tolua_function(L, "GetKeys", BoneGetKeys);
    tolua_function(L, "SetKeys", BoneSetKeys);
    tolua_function(L, "SampleOffsets", BoneSampleOffsets);
    tolua_endmodule(L);
    tolua_beginmodule(L, "rgScene");
    tolua_function(L, "UpdateScene", SceneUpdate);
    tolua_endmodule(L);
    tolua_beginmodule(L, "matrix44");
    tolua_function(L, "get", MatrixGet);
    tolua_endmodule(L);
    tolua_endmodule(L);
}
