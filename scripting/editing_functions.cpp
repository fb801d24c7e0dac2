#include "scripting/editing_functions.h"

#include <cstdio>
#include <string>

#include <lua.hpp>

#include "editing/joint_commands.h"
#include "editing/mesh_commands.h"
#include "editing/object_commands.h"
#include "editing/rg_editor.h"
#include "editing/skin_commands.h"
#include "scripting/script_context.h"

namespace {
rgEditor& Editor(lua_State* L) {
    return rgScriptContext::Of(L).editor;
}
}  // namespace

void DetachJoints(lua_State* L) {
    DetachJoints(Editor(L));
}
void AutoOrientJoints(lua_State* L) {
    AutoOrientJoints(Editor(L));
}

void BindSkin(lua_State* L, bool rigid, int jointsPerVertex, float falloffRadius,
              float maxDistance) {
    // Checked before anything with a destructor exists: the error leaves by longjmp.
    if (jointsPerVertex < 2 || jointsPerVertex > 4)
        luaL_error(L, "BindSkin: jointsPerVertex must be 2, 3 or 4");
    if (!(falloffRadius >= rgBindSkinSettings::kMinFalloff &&
          falloffRadius <= rgBindSkinSettings::kMaxFalloff))
        luaL_error(L, "BindSkin: falloffRadius must be between 0.0001 and 1000");
    if (!(maxDistance >= rgBindSkinSettings::kMinDistance &&
          maxDistance <= rgBindSkinSettings::kMaxDistance))
        luaL_error(L, "BindSkin: maxDistance must be between 0.0001 and 10000");
    BindSkin(Editor(L), rgBindSkinSettings{rigid, jointsPerVertex, falloffRadius, maxDistance});
}

int BindSkinGeodesic(lua_State* L, int jointsPerVertex, int resolution, float falloff) {
    // Checked before anything with a destructor exists: the error leaves by longjmp.
    if (jointsPerVertex < 1 || jointsPerVertex > 4)
        luaL_error(L, "BindSkinGeodesic: jointsPerVertex must be 1, 2, 3 or 4");
    if (resolution < rgGeodesicBindSettings::kMinResolution ||
        resolution > rgGeodesicBindSettings::kMaxResolution)
        luaL_error(L, "BindSkinGeodesic: resolution must be between 32 and 1024");
    if (!(falloff >= 0.0f && falloff <= 1.0f))
        luaL_error(L, "BindSkinGeodesic: falloff must be between 0 and 1");
    char message[512] = {0};
    size_t fallback = 0;
    {
        std::string error;
        if (!BindSkinGeodesic(Editor(L), {resolution, falloff, jointsPerVertex}, &error, &fallback))
            std::snprintf(message, sizeof message, "BindSkinGeodesic: %s", error.c_str());
    }
    if (message[0]) luaL_error(L, "%s", message);
    return static_cast<int>(fallback);
}

void DetachSkin(lua_State* L) {
    DetachSkin(rgScriptContext::Of(L).editor);
}

void DuplicateObjects(lua_State* L) {
    DuplicateObjects(Editor(L));
}
void MirrorObjects(lua_State* L, bool x, bool y, bool z) {
    MirrorObjects(Editor(L), x, y, z);
}
void DeleteObjects(lua_State* L) {
    DeleteObjects(Editor(L));
}
void HideSelected(lua_State* L) {
    HideSelected(Editor(L));
}
void HideUnselected(lua_State* L) {
    HideUnselected(Editor(L));
}
void HideMeshes(lua_State* L) {
    HideMeshes(Editor(L));
}
void HideJoints(lua_State* L) {
    HideJoints(Editor(L));
}
void ShowAll(lua_State* L) {
    ShowAll(Editor(L));
}
void ShowMeshes(lua_State* L) {
    ShowMeshes(Editor(L));
}
void ShowJoints(lua_State* L) {
    ShowJoints(Editor(L));
}
void SelectAll(lua_State* L) {
    SelectAll(Editor(L));
}
void SelectNone(lua_State* L) {
    SelectNone(Editor(L));
}
void InvertSelection(lua_State* L) {
    InvertSelection(Editor(L));
}

int GenerateNormals(lua_State* L) { return GenerateMeshNormals(Editor(L)); }
int FlipFaces(lua_State* L) { return FlipMeshFaces(Editor(L)); }
int CenterPivot(lua_State* L) { return CenterMeshPivots(Editor(L)); }
int FreezeTransform(lua_State* L) { return FreezeMeshTransforms(Editor(L)); }

int MergeDuplicateVertices(lua_State* L, float tolerance) {
    if (!(tolerance >= 0.0f && tolerance <= 1000.0f))
        luaL_error(L, "MergeDuplicateVertices: tolerance must be between 0 and 1000");
    return MergeDuplicateVertices(Editor(L), tolerance);
}
