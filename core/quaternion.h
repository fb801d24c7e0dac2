#pragma once

#include "core/vector3.h"

// Single-precision quaternion (x, y, z, w with w last).
//
// The quaternion family and the matrix family (matrix44::rotate*) describe
// rotations in opposite senses: matrix44::set_quaternion(q) equals the
// transpose of the matrix rotation that q was built for. Callers convert
// between the two by inverting the quaternion on the way back.
struct quaternion {
    // Default is all zeros, not the identity; ident() gives (0, 0, 0, 1).
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;

    quaternion() = default;
    quaternion(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}

    void set(float x_, float y_, float z_, float w_) {
        x = x_;
        y = y_;
        z = z_;
        w = w_;
    }
    void ident() { set(0.0f, 0.0f, 0.0f, 1.0f); }
    void conjugate() {
        x = -x;
        y = -y;
        z = -z;
    }
    void scale(float s) {
        x *= s;
        y *= s;
        z *= s;
        w *= s;
    }
    // Squared length.
    float norm() const { return x * x + y * y + z * z + w * w; }
    float magnitude() const;
    void invert();
    // A zero quaternion becomes the identity.
    void normalize();

    // The axis is used as given (not normalised). Angles in radians.
    void set_rotate_axis_angle(const vector3& axis, float a);
    void set_rotate_x(float a);
    void set_rotate_y(float a);
    void set_rotate_z(float a);
    void set_rotate_xyz(float a, float b, float c);

    // Spherical interpolation between q0 and q1 along the shorter arc. The
    // result is deliberately not renormalised.
    void slerp(const quaternion& q0, const quaternion& q1, float t);

    // Hamilton product in place: this := this * q.
    void mult(const quaternion& q);

    // Axis (unit) and angle (radians) of the rotation; a near-zero vector part
    // gives axis (0, 0, 1) and angle 0.
    void get_rotate_axis_angle(vector3& axis, float& angle) const;

    float dot(const quaternion& q) const { return x * q.x + y * q.y + z * q.z + w * q.w; }
    bool operator==(const quaternion&) const = default;
};
