#include "scripting/binding_support.h"

#include <cstdlib>

#include "editing/rg_editor.h"
#include "scripting/script_context.h"

#undef tolua_isboolean
#undef tolua_toboolean
#undef tolua_pushboolean
#undef tolua_isstring
#undef tolua_pushusertype
#undef tolua_register_gc
#undef tolua_tousertype

int kinemo_is_flag(lua_State* L, int lo, int def, tolua_Error* err) {
    if (def && lua_gettop(L) < std::abs(lo)) return 1;
    const int type = lua_type(L, lo);
    if (type == LUA_TNIL || type == LUA_TBOOLEAN || type == LUA_TNUMBER) return 1;
    err->index = lo;
    err->array = 0;
    err->type = "boolean";
    return 0;
}

int kinemo_is_string(lua_State* L, int lo, int def, tolua_Error* err) {
    if (def && lua_gettop(L) < std::abs(lo)) return 1;
    if (lua_isstring(L, lo)) return 1;  // numbers convert, as in Lua
    err->index = lo;
    err->array = 0;
    err->type = "string";
    return 0;
}

int kinemo_to_flag(lua_State* L, int narg, int def) {
    if (lua_gettop(L) < std::abs(narg)) return def;
    switch (lua_type(L, narg)) {
        case LUA_TNIL: return 0;
        case LUA_TNUMBER: return lua_tonumber(L, narg) != 0;
        default: return lua_toboolean(L, narg);
    }
}

void kinemo_push_flag(lua_State* L, int value) {
    if (value)
        lua_pushnumber(L, 1);
    else
        lua_pushnil(L);
}

namespace kinemo_binding {

namespace {
bool InMatrix(int row, int col) { return row >= 0 && row < 4 && col >= 0 && col < 4; }
}  // namespace

float M(matrix44* self, int row, int col) { return InMatrix(row, col) ? self->M(row, col) : 0.0f; }

void S(matrix44* self, int row, int col, float value) {
    if (InMatrix(row, col)) self->S(row, col, value);
}

matrix44* clone(matrix44* self) { return new matrix44(*self); }

void Scale(rgSceneNode* self, const vector3& factors) { self->Scale(factors.x, factors.y, factors.z); }

const char* GetName(rgSceneNode* self) { return self->GetName().c_str(); }

void set(rgVertex* self, bool selected, float px, float py, float pz, float nx, float ny, float nz,
         float u, float v, int b1, int b2, int b3, int b4, float w1, float w2, float w3, float w4) {
    self->selected = selected;
    self->position.set(px, py, pz);
    self->normal.set(nx, ny, nz);
    self->texcoords.set(u, v);
    const int bones[4] = {b1, b2, b3, b4};
    const float weights[4] = {w1, w2, w3, w4};
    for (int k = 0; k < 4; ++k) {
        self->bone[k] = bones[k];
        self->weight[k] = weights[k];
    }
}

const char* GetFileName(rgTexture* self, lua_State* L) {
    self->resultText = self->GetFileName(rgScriptContext::Of(L).editor.state().fileName);
    return self->resultText.c_str();
}

const char* GetAbsoluteFilename(rgTexture* self, lua_State* L) {
    self->resultText = self->GetAbsoluteFilename(rgScriptContext::Of(L).editor.state().fileName);
    return self->resultText.c_str();
}

}  // namespace kinemo_binding
