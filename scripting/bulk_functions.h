#pragma once

struct lua_State;

// Bulk access to meshes, keys and matrices for plug-ins that read or write
// large files: one call moves a whole list as a flat table of numbers
// instead of one call per vertex or key. Registered as methods of rgMesh,
// rgBone and matrix44 (see the README's script section for the layouts).
void OpenBulkFunctions(lua_State* L);
