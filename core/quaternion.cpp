#include "core/quaternion.h"

#include <algorithm>
#include <cmath>

float quaternion::magnitude() const {
    const float n = norm();
    return n > 0.0f ? std::sqrt(n) : 0.0f;
}

void quaternion::invert() {
    const float n = norm();
    if (n > 0.0f) scale(1.0f / n);
    conjugate();
}

void quaternion::normalize() {
    const float m = magnitude();
    if (m > 0.0f) {
        scale(1.0f / m);
    } else {
        ident();
    }
}

void quaternion::set_rotate_axis_angle(const vector3& axis, float a) {
    const float s = static_cast<float>(std::sin(a / 2.0));
    const float c = static_cast<float>(std::cos(a / 2.0));
    set(axis.x * s, axis.y * s, axis.z * s, c);
}

void quaternion::set_rotate_x(float a) { set_rotate_axis_angle(vector3(1, 0, 0), a); }
void quaternion::set_rotate_y(float a) { set_rotate_axis_angle(vector3(0, 1, 0), a); }
void quaternion::set_rotate_z(float a) { set_rotate_axis_angle(vector3(0, 0, 1), a); }

void quaternion::set_rotate_xyz(float a, float b, float c) {
    set_rotate_x(a);
    quaternion q;
    q.set_rotate_y(b);
    mult(q);
    q.set_rotate_z(c);
    mult(q);
}

void quaternion::slerp(const quaternion& q0, const quaternion& q1, float t) {
    float cosom = q0.dot(q1);
    bool flip = false;
    if (cosom < 0.0f) {
        cosom = -cosom;
        flip = true;
    }
    float w0;
    float w1;
    if (1.0f - cosom >= 1e-6f) {
        const double omega = std::acos(static_cast<double>(cosom));
        const double k = 1.0 / std::sin(omega);
        w0 = static_cast<float>(std::sin((1.0 - t) * omega) * k);
        w1 = static_cast<float>(std::sin(t * omega) * k);
    } else {
        w0 = 1.0f - t;
        w1 = t;
    }
    if (flip) w1 = -w1;
    set(w0 * q0.x + w1 * q1.x, w0 * q0.y + w1 * q1.y, w0 * q0.z + w1 * q1.z,
        w0 * q0.w + w1 * q1.w);
}

void quaternion::mult(const quaternion& q) {
    const float x1 = x, y1 = y, z1 = z, w1 = w;
    x = w1 * q.x + x1 * q.w + y1 * q.z - z1 * q.y;
    y = w1 * q.y + y1 * q.w + z1 * q.x - x1 * q.z;
    z = w1 * q.z + z1 * q.w + x1 * q.y - y1 * q.x;
    w = w1 * q.w - x1 * q.x - y1 * q.y - z1 * q.z;
}

void quaternion::get_rotate_axis_angle(vector3& axis, float& angle) const {
    const float s = x * x + y * y + z * z;
    if (s > -1e-5f && s < 1e-5f) {
        axis.set(0.0f, 0.0f, 1.0f);
        angle = 0.0f;
        return;
    }
    axis.set(x / s, y / s, z / s);
    axis.norm();
    // Clamped: a slightly non-unit quaternion must not turn into a NaN angle.
    angle = static_cast<float>(2.0 * std::acos(std::clamp(static_cast<double>(w), -1.0, 1.0)));
}
