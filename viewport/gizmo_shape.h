#pragma once

#include <vector>

#include "core/matrix44.h"
#include "core/vector3.h"

// The transform gizmo of a selected node: three axes with arrowheads, a
// centre sphere and labels. Shared by drawing and handle picking, so both
// see the same geometry.

// Main-window choices that decide whether the gizmo follows the node's axes.
struct rgGizmoOptions {
    bool globalAxes = false;     // the coordinate-system selector says "Global"
    bool ikToolDown = false;     // the animation IK tool button is down
    bool scaleToolDown = false;  // the object scale tool button is down
};

// World-aligned gizmo ("Global", or the IK tool on a joint), never while scaling.
bool GizmoWorldAligned(const rgGizmoOptions& options, bool isJoint);

// The matrix the gizmo is drawn under: the node's global matrix, or only its
// position when the gizmo is world-aligned.
matrix44 GizmoFrame(const matrix44& global, bool worldAligned);

// Axis length: in an unscaled view a fixed share of the distance to the
// eye, in a zoomed orthographic view a fixed share of the view height.
float GizmoLength(const matrix44& view, const vector3& nodePosition);

struct rgGizmoColours {
    vector3 axis[3];
    vector3 centre;
};
// Colours for the editor state's active axis (0..2 an axis, 3 all, 4 none).
rgGizmoColours GizmoColours(int activeAxis);

struct rgTriangleList {
    std::vector<vector3> positions;
    std::vector<vector3> normals;  // per position; empty where not needed
    std::vector<int> corners;      // three per triangle
};

// Arrowhead of axis 0..2 for length L: a cone from the tip at L to a ring of
// 13 points at 0.6 L, radius 0.1 L, closed by the ring as a cap. Outside
// faces wind counter-clockwise.
rgTriangleList GizmoArrowhead(int axis, float length);
// A sphere of `radius` about the origin with GLU's slicing (slices around
// z, stacks from +z to -z); outward normals, outside faces counter-clockwise.
rgTriangleList SphereTriangles(float radius, int slices, int stacks);
