#pragma once

// Double-precision matrix and rotation helpers of the native plug-ins, in
// the editor's conventions: a matrix is 16 values row by row, points are
// row vectors (p' = p * M), rows 0..2 are the axes and row 3 the
// translation. The 16 values in this order are what glTF stores for the
// same transform (column-major, column vectors).
namespace kinemo_plugin {

struct Mat4 {
    double m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    double operator()(int row, int col) const { return m[4 * row + col]; }
    double& operator()(int row, int col) { return m[4 * row + col]; }
    template <typename T>
    static Mat4 From(const T* values) {
        Mat4 r;
        for (int i = 0; i < 16; ++i) r.m[i] = static_cast<double>(values[i]);
        return r;
    }
    bool IsIdentity(double tolerance = 0) const;
};

// A rotation quaternion for column vectors (as glTF stores it): x, y, z, w.
struct Quat {
    double x = 0, y = 0, z = 0, w = 1;
};

// Translation, rotation and scale: the matrix T * R * S of column vectors.
struct Trs {
    double t[3] = {0, 0, 0};
    Quat r;
    double s[3] = {1, 1, 1};
};

// a * b: a applied first.
Mat4 Mul(const Mat4& a, const Mat4& b);
// The inverse; a singular matrix gives the identity.
Mat4 Inverse(const Mat4& a);

// Splits an affine matrix into translation, rotation and scale (a mirrored
// matrix gets a negative x scale).
Trs Decompose(const Mat4& a);
Mat4 Compose(const Trs& trs);

double Dot(const Quat& a, const Quat& b);
Quat Normalized(const Quat& q);
Quat Negated(const Quat& q);
// Spherical interpolation along the shorter arc.
Quat Slerp(const Quat& a, const Quat& b, double u);

// A joint's matrix relative to its parent for a rest placement and a pose
// offset, as the editor poses it: the offset's rotation follows the rest
// rotation, the offset's translation is added to the rest position.
Mat4 PoseMatrix(const Mat4& local, const Mat4& offset);
// The offset that gives `pose` on top of `local` (PoseMatrix's inverse).
Mat4 OffsetFor(const Mat4& local, const Mat4& pose);

bool IsFinite(const Mat4& a);

}  // namespace kinemo_plugin
