#pragma once

#include <cmath>

// Two-component single-precision vector (texture coordinates, screen points).
struct vector2 {
    float x = 0.0f;
    float y = 0.0f;

    vector2() = default;
    vector2(float x_, float y_) : x(x_), y(y_) {}
    // The first component only (scripts build vectors this way).
    explicit vector2(float first) : x(first) {}
    explicit vector2(const float* p) : x(p[0]), y(p[1]) {}

    void set(float x_, float y_) {
        x = x_;
        y = y_;
    }
    float len() const { return std::sqrt(x * x + y * y); }

    // Zero-length vectors fall back to (0, 1) so callers always get a direction.
    void norm() {
        const float l = len();
        if (static_cast<double>(l) > 1e-7) {
            x /= l;
            y /= l;
        } else {
            set(0.0f, 1.0f);
        }
    }

    // Strict on both sides: a difference of exactly tol is not equal.
    bool IsEqualTo(const vector2& v, float tol) const {
        return v.x - tol < x && x < v.x + tol && v.y - tol < y && y < v.y + tol;
    }
    bool isequal(const vector2& v, float tol) const {
        return std::fabs(v.x - x) <= tol && std::fabs(v.y - y) <= tol;
    }

    bool operator==(const vector2&) const = default;
};
