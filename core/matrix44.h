#pragma once

#include "core/quaternion.h"
#include "core/vector3.h"

// 4x4 single-precision matrix stored row by row: element (i, j) lives at
// m[4*i + j]. Rows 0..2 are the x, y and z axes, row 3 the translation.
// Points are row vectors (p' = p * M), so A * B applies A first; a node's
// global matrix is its local matrix times its parent's global matrix. The
// memory image is what OpenGL's load/multiply-matrix calls expect.
struct matrix44 {
    float m[16];

    matrix44() { ident(); }
    explicit matrix44(const float* p);

    float M(int i, int j) const { return m[4 * i + j]; }
    void S(int i, int j, float value) { m[4 * i + j] = value; }
    float& operator()(int i, int j) { return m[4 * i + j]; }
    float operator()(int i, int j) const { return m[4 * i + j]; }
    const float* data() const { return m; }

    // Values in storage order m00, m01, m02, m03, m10, ... m33.
    void set(float m00, float m01, float m02, float m03, float m10, float m11, float m12,
             float m13, float m20, float m21, float m22, float m23, float m30, float m31,
             float m32, float m33);
    void ident();
    matrix44 clone() const { return *this; }
    void transpose();
    float det() const;
    // Full inverse; a matrix whose determinant is exactly 0 is left unchanged.
    void invert();

    // Affine product M := M * N treating column 3 of both as (0, 0, 0, 1);
    // column 3 of the result is forced to (0, 0, 0, 1).
    void mult_simple(const matrix44& n);
    // Full 4x4 product M := M * N.
    void mult_full(const matrix44& n);

    vector3 x_component() const { return {m[0], m[1], m[2]}; }
    vector3 y_component() const { return {m[4], m[5], m[6]}; }
    vector3 z_component() const { return {m[8], m[9], m[10]}; }
    vector3 pos_component() const { return {m[12], m[13], m[14]}; }

    // p * M including the translation row.
    vector3 Transform(const vector3& p) const {
        return {p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12],
                p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13],
                p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14]};
    }
    // p * upper 3x3 (directions and normals).
    vector3 TransformDirection(const vector3& p) const {
        return {p.x * m[0] + p.y * m[4] + p.z * m[8], p.x * m[1] + p.y * m[5] + p.z * m[9],
                p.x * m[2] + p.y * m[6] + p.z * m[10]};
    }

    void translate(float x, float y, float z);
    // Scales columns 0..2 in all four rows, so the translation scales too.
    void scale(float x, float y, float z);
    void clear_translation() { m[12] = m[13] = m[14] = 0.0f; }

    // Post-multiply by a rotation about a fixed axis (all four rows, radians).
    void rotate_x(float a);
    void rotate_y(float a);
    void rotate_z(float a);
    // Overwrites the matrix with an axis-angle rotation; the axis is not normalised.
    void rotate(float ax, float ay, float az, float a);

    quaternion get_quaternion() const;
    void set_quaternion(const quaternion& q);
    // Angles (a, b, c) with M == ident().rotate_x(a).rotate_y(b).rotate_z(c).
    vector3 get_eulers() const;
    // Keeps row 3; rebuilds rows 0..2 so that z points from `at` towards the position.
    void lookat(const vector3& at, const vector3& up);

    bool operator==(const matrix44& o) const;
};

// Full product A * B (A applied first).
matrix44 operator*(const matrix44& a, const matrix44& b);

// d.x * X + d.y * Y + d.z * Z with X, Y, Z the rows 0..2 of `frame`: a move
// expressed in a reference frame.
vector3 FrameVector(const matrix44& frame, const vector3& d);
// Turns m about its own position (row 3) by angles a about the axes X, Y and
// Z of `frame`, in that order (each `rotate` about the axis as given).
void RotateAboutOwnPosition(matrix44& m, const vector3& a, const matrix44& frame);
