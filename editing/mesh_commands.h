#pragma once

class rgEditor;

// The Mesh menu's operations on the selected meshes. Each is one undo step
// named as its menu item; with no mesh selected each says so in the status
// bar, records no step and answers 0.

// "Generate Normals": smooth normals across split vertices. Answers the
// number of meshes changed.
int GenerateMeshNormals(rgEditor& editor);
// "Flip Faces": every triangle turned the other way round, normals reversed.
int FlipMeshFaces(rgEditor& editor);
// "Merge Duplicate Vertices": vertices whose position and texture
// coordinates lie within `tolerance` (on every axis) of an earlier vertex
// become that vertex; triangles that collapse go. UV seams stay split.
// Answers the number of vertices removed. `tolerance` must be finite and 0
// or more (the caller checks).
int MergeDuplicateVertices(rgEditor& editor, float tolerance);
// "Center Pivot": the mesh's origin moves to the centre of its bounding box;
// its vertices, its skin and its children stay where they are in the world.
int CenterMeshPivots(rgEditor& editor);
// "Freeze Transform": the mesh's local matrix goes into its vertices and
// normals and becomes the identity; nothing moves in the world.
int FreezeMeshTransforms(rgEditor& editor);
