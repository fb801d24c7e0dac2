#include "scripting/packed_mesh_functions.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <lua.hpp>
#include <new>
#include <tolua++.h>

#include "scene/rg_mesh.h"
#include "scripting/binding_errors.h"
#include "scripting/packed_mesh_data.h"
#include "scripting/script_numbers.h"

// Lua errors are raised only where no object with a destructor is alive
// (lua_error jumps over C++ frames). Text is packed and unpacked a block at
// a time in fixed buffers: a block holds a whole number of items and of
// base64 groups, so blocks join into exactly the text of the whole list.
namespace {

using kinemo_binding::FunctionError;
using kinemo_binding::Self;

constexpr size_t kBlockItems = 48;  // a multiple of 3: any item size gives whole groups

struct VertexItems {
    static constexpr size_t kBytes = packed_mesh::kVertexBytes;
    static int Count(const rgMesh& m) { return m.GetVertexCount(); }
    static void Pack(const rgMesh& m, int i, uint8_t* out) { packed_mesh::PackVertex(*m.GetVertex(i), out); }
};

struct FaceItems {
    static constexpr size_t kBytes = packed_mesh::kFaceBytes;
    static int Count(const rgMesh& m) { return m.GetFaceCount(); }
    static void Pack(const rgMesh& m, int i, uint8_t* out) {
        packed_mesh::PackFace(m.Faces()[static_cast<size_t>(i)], out);
    }
};

constexpr size_t kBlockBytes = kBlockItems * packed_mesh::kVertexBytes;  // the larger item
constexpr size_t kBlockChars = packed_mesh::EncodedLength(kBlockBytes);

// The range [first, last) of an optional (first, count) pair at `at`, `at + 1`.
void Range(lua_State* L, int at, int size, int& first, int& last) {
    first = std::clamp(kinemo_to_int(luaL_optnumber(L, at, 0)), 0, size);
    last = first + std::clamp(kinemo_to_int(luaL_optnumber(L, at + 1, size)), 0, size - first);
}

// Calls sink(chars, n) with the text of items [first, last), block by block.
template <typename Items, typename Sink>
bool PackRange(const rgMesh& mesh, int first, int last, Sink sink) {
    uint8_t raw[kBlockBytes];
    char text[kBlockChars];
    for (int i = first; i < last;) {
        const int n = std::min<int>(static_cast<int>(kBlockItems), last - i);
        for (int k = 0; k < n; ++k) Items::Pack(mesh, i + k, raw + static_cast<size_t>(k) * Items::kBytes);
        const size_t bytes = static_cast<size_t>(n) * Items::kBytes;
        packed_mesh::Encode(raw, bytes, text);
        if (!sink(text, packed_mesh::EncodedLength(bytes))) return false;
        i += n;
    }
    return true;
}

template <typename Items>
int GetPacked(lua_State* L, const char* name) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, "rgMesh", 0, &err) || !tolua_isnumber(L, 2, 1, &err) ||
        !tolua_isnumber(L, 3, 1, &err) || !tolua_isnoobj(L, 4, &err))
        return FunctionError(L, name, &err);
    const auto* mesh = static_cast<const rgMesh*>(Self(L, name));
    int first = 0, last = 0;
    Range(L, 2, Items::Count(*mesh), first, last);
    const size_t length = packed_mesh::EncodedLength(static_cast<size_t>(last - first) * Items::kBytes);
    auto* text = static_cast<char*>(lua_newuserdata(L, std::max<size_t>(length, 1)));
    size_t at = 0;
    PackRange<Items>(*mesh, first, last, [&](const char* chars, size_t n) {
        std::memcpy(text + at, chars, n);
        at += n;
        return true;
    });
    lua_pushlstring(L, text, length);
    return 1;
}

template <typename Items>
int WritePacked(lua_State* L, const char* name) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, "rgMesh", 0, &err) || !tolua_isnumber(L, 3, 1, &err) ||
        !tolua_isnumber(L, 4, 1, &err) || !tolua_isnoobj(L, 5, &err))
        return FunctionError(L, name, &err);
    const auto* mesh = static_cast<const rgMesh*>(Self(L, name));
    auto** file = static_cast<FILE**>(luaL_checkudata(L, 2, LUA_FILEHANDLE));
    if (!*file) return luaL_argerror(L, 2, "the file is closed");
    int first = 0, last = 0;
    Range(L, 3, Items::Count(*mesh), first, last);
    const bool written = PackRange<Items>(*mesh, first, last, [&](const char* chars, size_t n) {
        return std::fwrite(chars, 1, n, *file) == n;
    });
    if (!written) {
        lua_pushnil(L);
        lua_pushstring(L, std::strerror(errno));
        return 2;
    }
    lua_pushboolean(L, 1);
    return 1;
}

// Checks the text argument: base64 of whole items. Returns the item count;
// raises an error naming `function` otherwise.
int CheckPacked(lua_State* L, const char* function, size_t size) {
    size_t n = 0;
    const char* text = lua_tolstring(L, 2, &n);
    const ptrdiff_t bytes = packed_mesh::DecodedLength(text, n);
    if (bytes < 0) return luaL_error(L, "%s: the text is not packed data (base64)", function);
    if (static_cast<size_t>(bytes) % size != 0 || static_cast<size_t>(bytes) / size > INT32_MAX)
        return luaL_error(L, "%s: %d bytes are no whole number of items (%d bytes each)", function,
                          static_cast<int>(std::min<ptrdiff_t>(bytes, INT32_MAX)), static_cast<int>(size));
    return static_cast<int>(static_cast<size_t>(bytes) / size);
}

// Calls item(i, bytes) for each item of the checked text argument, block by block.
template <typename Item>
void UnpackEach(lua_State* L, size_t size, Item item) {
    size_t n = 0;
    const char* text = lua_tolstring(L, 2, &n);
    const size_t blockChars = packed_mesh::EncodedLength(kBlockItems * size);
    uint8_t raw[kBlockBytes];
    int index = 0;
    for (size_t at = 0; at < n; at += blockChars) {
        const size_t chars = std::min(blockChars, n - at);
        packed_mesh::Decode(text + at, chars, raw);
        const size_t bytes = chars == blockChars
                                 ? kBlockItems * size
                                 : static_cast<size_t>(packed_mesh::DecodedLength(text + at, chars));
        const size_t items = bytes / size;
        for (size_t k = 0; k < items; ++k) item(index++, raw + k * size);
    }
}

int MeshAddPackedVertices(lua_State* L) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, "rgMesh", 0, &err) || !tolua_isstring(L, 2, 0, &err) ||
        !tolua_isnoobj(L, 3, &err))
        return FunctionError(L, "AddPackedVertices", &err);
    auto* mesh = static_cast<rgMesh*>(Self(L, "AddPackedVertices"));
    CheckPacked(L, "AddPackedVertices", packed_mesh::kVertexBytes);
    const int first = mesh->GetVertexCount();
    bool failed = false;
    try {
        UnpackEach(L, packed_mesh::kVertexBytes, [&](int, const uint8_t* bytes) {
            mesh->AddVertex(packed_mesh::UnpackVertex(bytes), false);
        });
    } catch (const std::bad_alloc&) {
        failed = true;
    }
    if (failed) return luaL_error(L, "AddPackedVertices: not enough memory");
    lua_pushnumber(L, first);
    return 1;
}

int MeshAddPackedFaces(lua_State* L) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, "rgMesh", 0, &err) || !tolua_isstring(L, 2, 0, &err) ||
        !tolua_isnoobj(L, 3, &err))
        return FunctionError(L, "AddPackedFaces", &err);
    auto* mesh = static_cast<rgMesh*>(Self(L, "AddPackedFaces"));
    CheckPacked(L, "AddPackedFaces", packed_mesh::kFaceBytes);
    const int vertices = mesh->GetVertexCount();
    int badFace = -1, badIndex = 0;
    UnpackEach(L, packed_mesh::kFaceBytes, [&](int i, const uint8_t* bytes) {
        const rgFace f = packed_mesh::UnpackFace(bytes);
        for (int32_t index : {f.a, f.b, f.c})
            if (badFace < 0 && (index < 0 || index >= vertices)) badFace = i, badIndex = index;
    });
    if (badFace >= 0)
        return luaL_error(L, "AddPackedFaces: triangle %d names vertex %d; the mesh has %d vertices",
                          badFace, badIndex, vertices);
    bool failed = false;
    try {
        UnpackEach(L, packed_mesh::kFaceBytes, [&](int, const uint8_t* bytes) {
            const rgFace f = packed_mesh::UnpackFace(bytes);
            mesh->AddFace(f.a, f.b, f.c);
        });
    } catch (const std::bad_alloc&) {
        failed = true;
    }
    if (failed) return luaL_error(L, "AddPackedFaces: not enough memory");
    return 0;
}

int MeshGetPackedVertices(lua_State* L) { return GetPacked<VertexItems>(L, "GetPackedVertices"); }
int MeshGetPackedFaces(lua_State* L) { return GetPacked<FaceItems>(L, "GetPackedFaces"); }
int MeshWritePackedVertices(lua_State* L) { return WritePacked<VertexItems>(L, "WritePackedVertices"); }
int MeshWritePackedFaces(lua_State* L) { return WritePacked<FaceItems>(L, "WritePackedFaces"); }

}  // namespace

void OpenPackedMeshFunctions(lua_State* L) {
    tolua_module(L, nullptr, 0);
    tolua_beginmodule(L, nullptr);
    tolua_beginmodule(L, "rgMesh");
    tolua_function(L, "GetPackedVertices", MeshGetPackedVertices);
    tolua_function(L, "WritePackedVertices", MeshWritePackedVertices);
    tolua_function(L, "AddPackedVertices", MeshAddPackedVertices);
    tolua_function(L, "GetPackedFaces", MeshGetPackedFaces);
    tolua_function(L, "WritePackedFaces", MeshWritePackedFaces);
    tolua_function(L, "AddPackedFaces", MeshAddPackedFaces);
    tolua_endmodule(L);
    tolua_endmodule(L);
}
