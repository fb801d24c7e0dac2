#pragma once

class rgScene;
class rgNodePainter;

// Draws the scene into the current frame: global matrices are brought up to
// date first, then the top-level meshes, then the meshes under top-level
// plain nodes, then the top-level joints (each with its subtree), then the
// joints under top-level plain nodes, then every top-level node's gizmos.
// So skeletons always come after meshes and gizmos after both, and nothing
// is left out because its parent is neither a mesh nor a joint.
void DrawScene(rgScene& scene, rgNodePainter& painter, int drawMode, bool showVertices);
