#pragma once

#include <cmath>

// Single-precision 4D vector.
struct vector4 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;

    vector4() = default;
    vector4(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}
    // The first component only (scripts build vectors this way).
    explicit vector4(float first) : x(first) {}
    explicit vector4(const float* p) : x(p[0]), y(p[1]), z(p[2]), w(p[3]) {}

    void set(float x_, float y_, float z_, float w_) {
        x = x_;
        y = y_;
        z = z_;
        w = w_;
    }
    float len() const { return std::sqrt(x * x + y * y + z * z + w * w); }

    // Unlike vector3, a zero vector is left as it is.
    void norm() {
        const float l = len();
        if (l > 0.0f) {
            x /= l;
            y /= l;
            z /= l;
            w /= l;
        }
    }

    bool isequal(const vector4& v, float tol) const {
        return std::fabs(static_cast<double>(v.x) - x) <= tol &&
               std::fabs(static_cast<double>(v.y) - y) <= tol &&
               std::fabs(static_cast<double>(v.z) - z) <= tol &&
               std::fabs(static_cast<double>(v.w) - w) <= tol;
    }

    bool operator==(const vector4&) const = default;
};
