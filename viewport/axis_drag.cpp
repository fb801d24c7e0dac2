#include "viewport/axis_drag.h"

#include <cmath>

#include "viewport/camera.h"

bool AxisParameterUnderPointer(const rgViewportState& state, int clientWidth, int clientHeight,
                               int x, int y, const vector3& origin, const vector3& axis,
                               float& t) {
    const matrix44 view = ViewMatrix(state);
    const matrix44 projection =
        ProjectionMatrix(state.projection, ViewportAspect(clientWidth, clientHeight));
    const rgViewportRect area = DrawingRect(clientWidth, clientHeight);
    vector3 near, far;
    if (!Unproject(x, clientHeight - y, 0.0, view, projection, area, near) ||
        !Unproject(x, clientHeight - y, 1.0, view, projection, area, far))
        return false;
    // Closest points of two lines: the axis (origin, axis) and the ray (near, d).
    const vector3 d = far - near, w = origin - near;
    const double a = axis.DotProduct(axis), b = axis.DotProduct(d), c = d.DotProduct(d);
    const double e = axis.DotProduct(w), f = d.DotProduct(w);
    const double denominator = a * c - b * b;
    if (!(a > 0) || !(c > 0) || std::fabs(denominator) <= 1e-9 * a * c) return false;
    t = static_cast<float>((b * f - c * e) / denominator);
    return std::isfinite(t);
}
