#include "viewport/framing.h"

#include <cmath>

#include "scene/rg_scene.h"
#include "viewport/navigation.h"
#include "viewport/viewport_state.h"

bool FrameSelected(rgViewportState& state, rgScene& scene) {
    vector3 centre;
    float radius = 0.0f;
    scene.UpdateScene();
    if (!scene.GetSelectionBoundingSphere(centre, radius)) return false;
    // Nodes without extent (an empty mesh) frame a unit around them.
    const float r = std::isfinite(radius) && radius > 1e-6f ? radius : 1.0f;
    ZoomAll(state, true, centre, r * kFrameMargin);
    return true;
}
