#pragma once

class rgScene;
class rgNodePainter;

// Draws the scene into the current frame: global matrices are brought up to
// date first, then the top-level meshes, then the top-level joints (each
// with its subtree), then every top-level node's gizmos. So skeletons always
// come after meshes and gizmos after both.
void DrawScene(rgScene& scene, rgNodePainter& painter, int drawMode, bool showVertices);
