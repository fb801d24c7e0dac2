#pragma once

// Editor commands for scripts: each does exactly what its menu item does,
// with the same undo step.

struct lua_State;

// "Detach Joints" on the current selection.
void DetachJoints(lua_State* L);
// "Auto Orient Joints" on the current selection.
void AutoOrientJoints(lua_State* L);
// "Bind Skin" with the dialog's settings; an argument out of the dialog's
// range raises a Lua error naming it and changes nothing.
void BindSkin(lua_State* L, bool rigid, int jointsPerVertex, float falloffRadius,
              float maxDistance);
// BindSkinGeodesic(jointsPerVertex [, resolution [, falloff]]): the number
// of vertices bound by straight-line distance because no joint reached them.
int BindSkinGeodesic(lua_State* L, int jointsPerVertex, int resolution, float falloff);
// "Detach Skin".
void DetachSkin(lua_State* L);

// The "&Edit" menu's object commands.
void DuplicateObjects(lua_State* L);
void MirrorObjects(lua_State* L, bool x, bool y, bool z);
void DeleteObjects(lua_State* L);
void HideSelected(lua_State* L);
void HideUnselected(lua_State* L);
void HideMeshes(lua_State* L);
void HideJoints(lua_State* L);
void ShowAll(lua_State* L);
void ShowMeshes(lua_State* L);
void ShowJoints(lua_State* L);
void SelectAll(lua_State* L);
void SelectNone(lua_State* L);
void InvertSelection(lua_State* L);

// The Mesh menu's operations (see editing/mesh_commands.h); the tolerance
// must lie between 0 and 1000.
int GenerateNormals(lua_State* L);
int FlipFaces(lua_State* L);
int MergeDuplicateVertices(lua_State* L, float tolerance);
int CenterPivot(lua_State* L);
int FreezeTransform(lua_State* L);
