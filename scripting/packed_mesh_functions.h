#pragma once

struct lua_State;

// rgMesh methods that move vertices and faces as packed text (see
// packed_mesh_data.h): the scene file's way to keep large meshes fast.
//   rgMesh:GetPackedVertices([first [, count]]) -> text
//   rgMesh:WritePackedVertices(file [, first [, count]]) -> true, or nil and a message
//   rgMesh:AddPackedVertices(text) -> index of the first vertex added
//   rgMesh:GetPackedFaces([first [, count]]) -> text
//   rgMesh:WritePackedFaces(file [, first [, count]]) -> true, or nil and a message
//   rgMesh:AddPackedFaces(text)
// Write* put the text into an open io file, a few kilobytes at a time, so
// saving a large mesh makes no large strings. Text comes from files: the Add
// methods check all of it before they add anything and raise an error that
// says what is wrong.
void OpenPackedMeshFunctions(lua_State* L);
