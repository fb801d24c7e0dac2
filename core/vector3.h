#pragma once

#include <cmath>

// Three floats with the same layout as vector3; exists only as a construction source.
struct nVector3D {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// Single-precision 3D vector: positions, directions, colours (0..1), Euler
// triples (radians) and tension/continuity/bias triples.
struct vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    vector3() = default;
    vector3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
    vector3(const nVector3D& v) : x(v.x), y(v.y), z(v.z) {}  // NOLINT: implicit by design
    // The first component only (scripts build vectors this way).
    explicit vector3(float first) : x(first) {}
    explicit vector3(const float* p) : x(p[0]), y(p[1]), z(p[2]) {}

    void set(float x_, float y_, float z_) {
        x = x_;
        y = y_;
        z = z_;
    }
    float len_squared() const { return x * x + y * y + z * z; }
    float len() const { return std::sqrt(len_squared()); }

    // Near-zero vectors (length <= 1e-7) become (0, 1, 0) so a direction always results.
    void norm() {
        const float l = len();
        if (static_cast<double>(l) > 1e-7) {
            x /= l;
            y /= l;
            z /= l;
        } else {
            set(0.0f, 1.0f, 0.0f);
        }
    }

    bool isequal(const vector3& v, float tol) const {
        return std::fabs(static_cast<double>(v.x) - x) <= tol &&
               std::fabs(static_cast<double>(v.y) - y) <= tol &&
               std::fabs(static_cast<double>(v.z) - z) <= tol;
    }

    void MulS(float s) {
        x *= s;
        y *= s;
        z *= s;
    }
    void AddVector(const vector3& v) {
        x += v.x;
        y += v.y;
        z += v.z;
    }
    void SubVector(const vector3& v) {
        x -= v.x;
        y -= v.y;
        z -= v.z;
    }
    vector3 CrossProduct(const vector3& v) const {
        return {y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x};
    }
    float DotProduct(const vector3& v) const { return x * v.x + y * v.y + z * v.z; }

    vector3 operator-() const { return {-x, -y, -z}; }
    vector3 operator+(const vector3& v) const { return {x + v.x, y + v.y, z + v.z}; }
    vector3 operator-(const vector3& v) const { return {x - v.x, y - v.y, z - v.z}; }
    vector3 operator*(float s) const { return {x * s, y * s, z * s}; }
    // Division multiplies by the reciprocal, as the engine always has.
    vector3 operator/(float s) const {
        const float r = 1.0f / s;
        return {x * r, y * r, z * r};
    }
    vector3& operator+=(const vector3& v) {
        AddVector(v);
        return *this;
    }
    vector3& operator-=(const vector3& v) {
        SubVector(v);
        return *this;
    }
    bool operator==(const vector3&) const = default;

    float& operator[](int i) { return (&x)[i]; }
    float operator[](int i) const { return (&x)[i]; }
};

inline vector3 CrossProduct(const vector3& a, const vector3& b) { return a.CrossProduct(b); }
