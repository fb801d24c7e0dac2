#include "viewport/gizmo_shape.h"

#include <cmath>

namespace {

// The fixed ring of the arrowheads: one turn, first point repeated at the end.
constexpr float kRing[13][2] = {{-1, 0},        {-0.75f, -0.66f}, {-0.5f, -0.86f}, {0, -1},
                                {0.5f, -0.86f}, {0.75f, -0.66f},  {1, 0},          {0.75f, 0.66f},
                                {0.5f, 0.86f},  {0, 1},           {-0.5f, 0.86f},  {-0.75f, 0.66f},
                                {-1, 0}};

vector3 Unit(int axis) {
    return axis == 0 ? vector3(1, 0, 0) : axis == 1 ? vector3(0, 1, 0) : vector3(0, 0, 1);
}

// Appends triangle (a, b, c) turned so that it winds counter-clockwise seen
// from the side `outward` points to; degenerate triangles are dropped.
void AddOriented(rgTriangleList& list, const vector3& a, const vector3& b, const vector3& c,
                 const vector3& outward) {
    const vector3 n = (b - a).CrossProduct(c - a);
    if (n.len_squared() == 0.0f) return;
    const int base = static_cast<int>(list.positions.size());
    const bool flip = n.DotProduct(outward) < 0.0f;
    list.positions.push_back(a);
    list.positions.push_back(flip ? c : b);
    list.positions.push_back(flip ? b : c);
    list.corners.insert(list.corners.end(), {base, base + 1, base + 2});
}

}  // namespace

bool GizmoWorldAligned(const rgGizmoOptions& o, bool isJoint) {
    return (o.globalAxes || (o.ikToolDown && isJoint)) && !o.scaleToolDown;
}

matrix44 GizmoFrame(const matrix44& global, bool worldAligned) {
    if (!worldAligned) return global;
    matrix44 frame;
    const vector3 p = global.pos_component();
    frame.translate(p.x, p.y, p.z);
    return frame;
}

float GizmoLength(const matrix44& view, const vector3& nodePosition) {
    const float s = view.x_component().len();
    if (s > 0.999f && s < 1.001f) {
        const vector3 eye = -view.pos_component();
        return 0.75f * 0.2f * (nodePosition - eye).len();
    }
    return 0.3f / s;
}

rgGizmoColours GizmoColours(int activeAxis) {
    const vector3 yellow(1, 1, 0), grey(0.5f, 0.5f, 0.5f);
    rgGizmoColours c{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {0, 1, 1}};
    if (activeAxis >= 0 && activeAxis <= 2) {
        for (int k = 0; k < 3; ++k) c.axis[k] = k == activeAxis ? yellow : grey;
        c.centre = grey;
    } else if (activeAxis == 3) {
        for (vector3& a : c.axis) a = yellow;
        c.centre = yellow;
    }
    return c;
}

rgTriangleList GizmoArrowhead(int axis, float length) {
    // Across-axis directions in right-handed order: X (y, z), Y (z, x), Z (x, y).
    const vector3 along = Unit(axis), u = Unit((axis + 1) % 3), v = Unit((axis + 2) % 3);
    const float r = 0.1f * length;
    const vector3 tip = along * length, base = along * (0.6f * length);
    vector3 ring[13];
    for (int i = 0; i < 13; ++i) ring[i] = base + u * (kRing[i][0] * r) + v * (kRing[i][1] * r);
    rgTriangleList list;
    for (int i = 0; i + 1 < 13; ++i) {
        const vector3 mid = (ring[i] + ring[i + 1]) * 0.5f;
        AddOriented(list, tip, ring[i], ring[i + 1], mid - base + (tip - base) * 0.1f);
    }
    // The cap faces back along the axis.
    for (int i = 1; i + 1 < 12; ++i) AddOriented(list, ring[0], ring[i], ring[i + 1], -along);
    return list;
}

rgTriangleList SphereTriangles(float radius, int slices, int stacks) {
    rgTriangleList list;
    if (slices < 2 || stacks < 1) return list;
    const double pi = 3.14159265358979323846;
    const double drho = pi / stacks, dtheta = 2.0 * pi / slices;
    auto point = [&](int i, int j) {
        const double rho = i * drho, theta = j == slices ? 0.0 : j * dtheta;
        return vector3(static_cast<float>(-std::sin(theta) * std::sin(rho)),
                       static_cast<float>(std::cos(theta) * std::sin(rho)),
                       static_cast<float>(std::cos(rho)));
    };
    for (int i = 0; i < stacks; ++i)
        for (int j = 0; j < slices; ++j) {
            const vector3 a = point(i, j), b = point(i + 1, j), c = point(i + 1, j + 1),
                          d = point(i, j + 1);
            const vector3 centre = (a + b + c + d) * 0.25f;
            AddOriented(list, a * radius, b * radius, c * radius, centre);
            AddOriented(list, a * radius, c * radius, d * radius, centre);
        }
    list.normals.reserve(list.positions.size());
    for (const vector3& p : list.positions) {
        vector3 n = p;
        n.norm();
        list.normals.push_back(n);
    }
    return list;
}
