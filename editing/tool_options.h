#pragma once

#include "scene/tool_links.h"

// The values of the Tool Options window that tools and nodes read. The
// engine owns them; the window shows and edits them.
struct rgToolOptions : public rgToolOptionsValues {
    bool selectMeshes = true;    // "Meshes" (enabled only at the Objects level)
    bool selectJoints = true;    // "Joints"
    bool selectVertices = true;  // "Vertices"
    bool affectChildren = true;  // "Affect Children"
    float currentWeight = 1.0f;  // the "Weight" page's weight, 0 to 1
    bool showNormalized = true;  // "Show normalized": weight dots divide by the vertex's sum

    bool AffectChildren() const override { return affectChildren; }
};
