#include "scripting/packed_mesh_functions.h"

#include <algorithm>
#include <cstdio>
#include <lua.hpp>
#include <new>
#include <tolua++.h>

#include "scene/rg_mesh.h"
#include "scripting/binding_errors.h"
#include "scripting/packed_mesh_data.h"
#include "scripting/script_numbers.h"

// Lua errors are raised only where no object with a destructor is alive
// (lua_error jumps over C++ frames); scratch space is Lua userdata.
namespace {

using kinemo_binding::FunctionError;
using kinemo_binding::Self;

bool CheckRange(lua_State* L, tolua_Error* err) {
    return tolua_isusertype(L, 1, "rgMesh", 0, err) && tolua_isnumber(L, 2, 1, err) &&
           tolua_isnumber(L, 3, 1, err) && tolua_isnoobj(L, 4, err);
}

bool CheckText(lua_State* L, tolua_Error* err) {
    return tolua_isusertype(L, 1, "rgMesh", 0, err) && tolua_isstring(L, 2, 0, err) &&
           tolua_isnoobj(L, 3, err);
}

void Range(lua_State* L, int size, int& first, int& last) {
    first = std::clamp(kinemo_to_int(luaL_optnumber(L, 2, 0)), 0, size);
    last = first + std::clamp(kinemo_to_int(luaL_optnumber(L, 3, size)), 0, size - first);
}

// Packs `count` items of `size` bytes with `pack(i, out)` and pushes the text.
template <typename Pack>
void PushPacked(lua_State* L, int count, size_t size, Pack pack) {
    const size_t bytes = static_cast<size_t>(count) * size;
    auto* raw = static_cast<uint8_t*>(lua_newuserdata(L, std::max<size_t>(bytes, 1)));
    for (int i = 0; i < count; ++i) pack(i, raw + static_cast<size_t>(i) * size);
    const size_t length = packed_mesh::EncodedLength(bytes);
    auto* text = static_cast<char*>(lua_newuserdata(L, std::max<size_t>(length, 1)));
    packed_mesh::Encode(raw, bytes, text);
    lua_pushlstring(L, text, length);
}

// Decodes the text argument into scratch bytes, `count` items of `size`
// bytes; raises an error naming `function` when it is not such a list.
const uint8_t* Unpack(lua_State* L, const char* function, size_t size, int& count) {
    size_t n = 0;
    const char* text = lua_tolstring(L, 2, &n);
    const ptrdiff_t bytes = packed_mesh::DecodedLength(text, n);
    if (bytes < 0) luaL_error(L, "%s: the text is not packed data (base64)", function);
    if (static_cast<size_t>(bytes) % size != 0 ||
        static_cast<size_t>(bytes) / size > static_cast<size_t>(INT32_MAX))
        luaL_error(L, "%s: %d bytes are no whole number of items (%d bytes each)", function,
                   static_cast<int>(std::min<ptrdiff_t>(bytes, INT32_MAX)), static_cast<int>(size));
    auto* raw = static_cast<uint8_t*>(lua_newuserdata(L, std::max<size_t>(static_cast<size_t>(bytes), 1)));
    packed_mesh::Decode(text, n, raw);
    count = static_cast<int>(static_cast<size_t>(bytes) / size);
    return raw;
}

int MeshGetPackedVertices(lua_State* L) {
    tolua_Error err;
    if (!CheckRange(L, &err)) return FunctionError(L, "GetPackedVertices", &err);
    const auto* mesh = static_cast<const rgMesh*>(Self(L, "GetPackedVertices"));
    int first = 0, last = 0;
    Range(L, mesh->GetVertexCount(), first, last);
    PushPacked(L, last - first, packed_mesh::kVertexBytes, [&](int i, uint8_t* out) {
        packed_mesh::PackVertex(*mesh->GetVertex(first + i), out);
    });
    return 1;
}

int MeshGetPackedFaces(lua_State* L) {
    tolua_Error err;
    if (!CheckRange(L, &err)) return FunctionError(L, "GetPackedFaces", &err);
    const auto* mesh = static_cast<const rgMesh*>(Self(L, "GetPackedFaces"));
    int first = 0, last = 0;
    Range(L, mesh->GetFaceCount(), first, last);
    PushPacked(L, last - first, packed_mesh::kFaceBytes, [&](int i, uint8_t* out) {
        packed_mesh::PackFace(mesh->Faces()[static_cast<size_t>(first + i)], out);
    });
    return 1;
}

int MeshAddPackedVertices(lua_State* L) {
    tolua_Error err;
    if (!CheckText(L, &err)) return FunctionError(L, "AddPackedVertices", &err);
    auto* mesh = static_cast<rgMesh*>(Self(L, "AddPackedVertices"));
    int count = 0;
    const uint8_t* raw = Unpack(L, "AddPackedVertices", packed_mesh::kVertexBytes, count);
    for (int i = 0; i < count; ++i) {
        const rgVertex v = packed_mesh::UnpackVertex(raw + static_cast<size_t>(i) * packed_mesh::kVertexBytes);
        for (int k = 0; k < rgVertex::kInfluences; ++k)
            if (v.bone[k] < -1)
                return luaL_error(L, "AddPackedVertices: vertex %d names joint %d", i, v.bone[k]);
    }
    const int first = mesh->GetVertexCount();
    bool failed = false;
    try {
        for (int i = 0; i < count; ++i)
            mesh->AddVertex(packed_mesh::UnpackVertex(raw + static_cast<size_t>(i) * packed_mesh::kVertexBytes),
                            false);
    } catch (const std::bad_alloc&) {
        failed = true;
    }
    if (failed) return luaL_error(L, "AddPackedVertices: not enough memory");
    lua_pushnumber(L, first);
    return 1;
}

int MeshAddPackedFaces(lua_State* L) {
    tolua_Error err;
    if (!CheckText(L, &err)) return FunctionError(L, "AddPackedFaces", &err);
    auto* mesh = static_cast<rgMesh*>(Self(L, "AddPackedFaces"));
    int count = 0;
    const uint8_t* raw = Unpack(L, "AddPackedFaces", packed_mesh::kFaceBytes, count);
    const int vertices = mesh->GetVertexCount();
    for (int i = 0; i < count; ++i) {
        const rgFace f = packed_mesh::UnpackFace(raw + static_cast<size_t>(i) * packed_mesh::kFaceBytes);
        for (int32_t index : {f.a, f.b, f.c})
            if (index < 0 || index >= vertices)
                return luaL_error(L, "AddPackedFaces: triangle %d names vertex %d; the mesh has %d vertices",
                                  i, index, vertices);
    }
    bool failed = false;
    try {
        for (int i = 0; i < count; ++i) {
            const rgFace f = packed_mesh::UnpackFace(raw + static_cast<size_t>(i) * packed_mesh::kFaceBytes);
            mesh->AddFace(f.a, f.b, f.c);
        }
    } catch (const std::bad_alloc&) {
        failed = true;
    }
    if (failed) return luaL_error(L, "AddPackedFaces: not enough memory");
    return 0;
}

}  // namespace

void OpenPackedMeshFunctions(lua_State* L) {
    tolua_module(L, nullptr, 0);
    tolua_beginmodule(L, nullptr);
    tolua_beginmodule(L, "rgMesh");
    tolua_function(L, "GetPackedVertices", MeshGetPackedVertices);
    tolua_function(L, "AddPackedVertices", MeshAddPackedVertices);
    tolua_function(L, "GetPackedFaces", MeshGetPackedFaces);
    tolua_function(L, "AddPackedFaces", MeshAddPackedFaces);
    tolua_endmodule(L);
    tolua_endmodule(L);
}
