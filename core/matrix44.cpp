#include "core/matrix44.h"

#include <cmath>
#include <cstring>

matrix44::matrix44(const float* p) { std::memcpy(m, p, sizeof(m)); }

void matrix44::set(float m00, float m01, float m02, float m03, float m10, float m11, float m12,
                   float m13, float m20, float m21, float m22, float m23, float m30, float m31,
                   float m32, float m33) {
    const float v[16] = {m00, m01, m02, m03, m10, m11, m12, m13,
                         m20, m21, m22, m23, m30, m31, m32, m33};
    std::memcpy(m, v, sizeof(m));
}

void matrix44::ident() {
    static constexpr float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    std::memcpy(m, kIdentity, sizeof(m));
}

void matrix44::transpose() {
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j) {
            const float t = m[4 * i + j];
            m[4 * i + j] = m[4 * j + i];
            m[4 * j + i] = t;
        }
}

namespace {

// Adjugate (transposed cofactor matrix) of a 4x4 matrix; determinant from row 0.
float adjugate(const float* a, float* inv) {
    inv[0] = a[5] * a[10] * a[15] - a[5] * a[11] * a[14] - a[9] * a[6] * a[15] +
             a[9] * a[7] * a[14] + a[13] * a[6] * a[11] - a[13] * a[7] * a[10];
    inv[4] = -a[4] * a[10] * a[15] + a[4] * a[11] * a[14] + a[8] * a[6] * a[15] -
             a[8] * a[7] * a[14] - a[12] * a[6] * a[11] + a[12] * a[7] * a[10];
    inv[8] = a[4] * a[9] * a[15] - a[4] * a[11] * a[13] - a[8] * a[5] * a[15] +
             a[8] * a[7] * a[13] + a[12] * a[5] * a[11] - a[12] * a[7] * a[9];
    inv[12] = -a[4] * a[9] * a[14] + a[4] * a[10] * a[13] + a[8] * a[5] * a[14] -
              a[8] * a[6] * a[13] - a[12] * a[5] * a[10] + a[12] * a[6] * a[9];
    inv[1] = -a[1] * a[10] * a[15] + a[1] * a[11] * a[14] + a[9] * a[2] * a[15] -
             a[9] * a[3] * a[14] - a[13] * a[2] * a[11] + a[13] * a[3] * a[10];
    inv[5] = a[0] * a[10] * a[15] - a[0] * a[11] * a[14] - a[8] * a[2] * a[15] +
             a[8] * a[3] * a[14] + a[12] * a[2] * a[11] - a[12] * a[3] * a[10];
    inv[9] = -a[0] * a[9] * a[15] + a[0] * a[11] * a[13] + a[8] * a[1] * a[15] -
             a[8] * a[3] * a[13] - a[12] * a[1] * a[11] + a[12] * a[3] * a[9];
    inv[13] = a[0] * a[9] * a[14] - a[0] * a[10] * a[13] - a[8] * a[1] * a[14] +
              a[8] * a[2] * a[13] + a[12] * a[1] * a[10] - a[12] * a[2] * a[9];
    inv[2] = a[1] * a[6] * a[15] - a[1] * a[7] * a[14] - a[5] * a[2] * a[15] +
             a[5] * a[3] * a[14] + a[13] * a[2] * a[7] - a[13] * a[3] * a[6];
    inv[6] = -a[0] * a[6] * a[15] + a[0] * a[7] * a[14] + a[4] * a[2] * a[15] -
             a[4] * a[3] * a[14] - a[12] * a[2] * a[7] + a[12] * a[3] * a[6];
    inv[10] = a[0] * a[5] * a[15] - a[0] * a[7] * a[13] - a[4] * a[1] * a[15] +
              a[4] * a[3] * a[13] + a[12] * a[1] * a[7] - a[12] * a[3] * a[5];
    inv[14] = -a[0] * a[5] * a[14] + a[0] * a[6] * a[13] + a[4] * a[1] * a[14] -
              a[4] * a[2] * a[13] - a[12] * a[1] * a[6] + a[12] * a[2] * a[5];
    inv[3] = -a[1] * a[6] * a[11] + a[1] * a[7] * a[10] + a[5] * a[2] * a[11] -
             a[5] * a[3] * a[10] - a[9] * a[2] * a[7] + a[9] * a[3] * a[6];
    inv[7] = a[0] * a[6] * a[11] - a[0] * a[7] * a[10] - a[4] * a[2] * a[11] +
             a[4] * a[3] * a[10] + a[8] * a[2] * a[7] - a[8] * a[3] * a[6];
    inv[11] = -a[0] * a[5] * a[11] + a[0] * a[7] * a[9] + a[4] * a[1] * a[11] -
              a[4] * a[3] * a[9] - a[8] * a[1] * a[7] + a[8] * a[3] * a[5];
    inv[15] = a[0] * a[5] * a[10] - a[0] * a[6] * a[9] - a[4] * a[1] * a[10] +
              a[4] * a[2] * a[9] + a[8] * a[1] * a[6] - a[8] * a[2] * a[5];
    return a[0] * inv[0] + a[1] * inv[4] + a[2] * inv[8] + a[3] * inv[12];
}

}  // namespace

float matrix44::det() const {
    float inv[16];
    return adjugate(m, inv);
}

void matrix44::invert() {
    float inv[16];
    const float d = adjugate(m, inv);
    if (d == 0.0f) return;
    const float r = 1.0f / d;
    for (int i = 0; i < 16; ++i) m[i] = inv[i] * r;
}

void matrix44::mult_simple(const matrix44& n) {
    float r[16];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 3; ++j)
            r[4 * i + j] = m[4 * i] * n.m[j] + m[4 * i + 1] * n.m[4 + j] +
                           m[4 * i + 2] * n.m[8 + j];
    r[12] += n.m[12];
    r[13] += n.m[13];
    r[14] += n.m[14];
    r[3] = r[7] = r[11] = 0.0f;
    r[15] = 1.0f;
    std::memcpy(m, r, sizeof(m));
}

void matrix44::mult_full(const matrix44& n) { *this = *this * n; }

matrix44 operator*(const matrix44& a, const matrix44& b) {
    matrix44 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[4 * i + j] = a.m[4 * i] * b.m[j] + a.m[4 * i + 1] * b.m[4 + j] +
                             a.m[4 * i + 2] * b.m[8 + j] + a.m[4 * i + 3] * b.m[12 + j];
    return r;
}

vector3 FrameVector(const matrix44& frame, const vector3& d) {
    return frame.x_component() * d.x + frame.y_component() * d.y + frame.z_component() * d.z;
}

void RotateAboutOwnPosition(matrix44& m, const vector3& a, const matrix44& frame) {
    const vector3 X = frame.x_component(), Y = frame.y_component(), Z = frame.z_component();
    matrix44 rx, ry, rz;
    rx.rotate(X.x, X.y, X.z, a.x);
    ry.rotate(Y.x, Y.y, Y.z, a.y);
    rz.rotate(Z.x, Z.y, Z.z, a.z);
    const vector3 p = m.pos_component();
    m.translate(-p.x, -p.y, -p.z);
    m.mult_full(rx);
    m.mult_full(ry);
    m.mult_full(rz);
    m.translate(p.x, p.y, p.z);
}

void matrix44::translate(float x, float y, float z) {
    m[12] += x;
    m[13] += y;
    m[14] += z;
}

void matrix44::scale(float x, float y, float z) {
    for (int i = 0; i < 4; ++i) {
        m[4 * i] *= x;
        m[4 * i + 1] *= y;
        m[4 * i + 2] *= z;
    }
}

void matrix44::rotate_x(float a) {
    const float c = static_cast<float>(std::cos(static_cast<double>(a)));
    const float s = static_cast<float>(std::sin(static_cast<double>(a)));
    for (int i = 0; i < 4; ++i) {
        const float y = m[4 * i + 1], z = m[4 * i + 2];
        m[4 * i + 1] = y * c - z * s;
        m[4 * i + 2] = y * s + z * c;
    }
}

void matrix44::rotate_y(float a) {
    const float c = static_cast<float>(std::cos(static_cast<double>(a)));
    const float s = static_cast<float>(std::sin(static_cast<double>(a)));
    for (int i = 0; i < 4; ++i) {
        const float x = m[4 * i], z = m[4 * i + 2];
        m[4 * i] = x * c + z * s;
        m[4 * i + 2] = -x * s + z * c;
    }
}

void matrix44::rotate_z(float a) {
    const float c = static_cast<float>(std::cos(static_cast<double>(a)));
    const float s = static_cast<float>(std::sin(static_cast<double>(a)));
    for (int i = 0; i < 4; ++i) {
        const float x = m[4 * i], y = m[4 * i + 1];
        m[4 * i] = x * c - y * s;
        m[4 * i + 1] = x * s + y * c;
    }
}

void matrix44::rotate(float ax, float ay, float az, float a) {
    const float c = static_cast<float>(std::cos(static_cast<double>(a)));
    const float s = static_cast<float>(std::sin(static_cast<double>(a)));
    const float t = 1.0f - c;
    set(c + t * ax * ax, t * ax * ay - az * s, t * ax * az + ay * s, 0.0f,  //
        t * ax * ay + az * s, c + t * ay * ay, t * ay * az - ax * s, 0.0f,  //
        t * ax * az - ay * s, t * ay * az + ax * s, c + t * az * az, 0.0f,  //
        0.0f, 0.0f, 0.0f, 1.0f);
}

quaternion matrix44::get_quaternion() const {
    float q[4];  // x, y, z, w
    const float trace = M(0, 0) + M(1, 1) + M(2, 2);
    if (trace > 0.0f) {
        float s = std::sqrt(trace + 1.0f);
        q[3] = s / 2.0f;
        s = 0.5f / s;
        q[0] = (M(1, 2) - M(2, 1)) * s;
        q[1] = (M(2, 0) - M(0, 2)) * s;
        q[2] = (M(0, 1) - M(1, 0)) * s;
    } else {
        static constexpr int kNext[3] = {1, 2, 0};
        int i = 0;
        if (M(1, 1) > M(0, 0)) i = 1;
        if (M(2, 2) > M(i, i)) i = 2;
        const int j = kNext[i];
        const int k = kNext[j];
        float s = std::sqrt(M(i, i) - (M(j, j) + M(k, k)) + 1.0f);
        q[i] = s / 2.0f;
        s = 0.5f / s;
        q[3] = (M(j, k) - M(k, j)) * s;
        q[j] = (M(i, j) + M(j, i)) * s;
        q[k] = (M(i, k) + M(k, i)) * s;
    }
    return {q[0], q[1], q[2], q[3]};
}

void matrix44::set_quaternion(const quaternion& q) {
    const float x = q.x, y = q.y, z = q.z, w = q.w;
    set(1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + y * w), 0.0f,  //
        2 * (x * y + z * w), 1 - 2 * (x * x + z * z), 2 * (y * z - x * w), 0.0f,  //
        2 * (x * z - y * w), 2 * (y * z + x * w), 1 - 2 * (x * x + y * y), 0.0f,  //
        0.0f, 0.0f, 0.0f, 1.0f);
}

namespace {

vector3 raw_eulers(const matrix44& mat) {
    const float b = static_cast<float>(-std::asin(static_cast<double>(mat.M(0, 2))));
    const float cb = static_cast<float>(std::cos(static_cast<double>(b)));
    float a;
    float c;
    if (std::fabs(cb) > 0.005f) {
        a = static_cast<float>(std::atan2(mat.M(1, 2) / cb, mat.M(2, 2) / cb));
        const float u = mat.M(0, 0) / cb;
        float v = mat.M(0, 1) / cb;
        if (v > 0.98f) v = 0.98f;
        if (v < -0.98f) v = -0.98f;
        c = static_cast<float>(std::atan2(v, u));
    } else {
        a = 0.0f;
        c = static_cast<float>(std::atan2(mat.M(1, 0), mat.M(1, 1)));
    }
    return {a, b, c};
}

vector3 abs3(const vector3& v) { return {std::fabs(v.x), std::fabs(v.y), std::fabs(v.z)}; }

}  // namespace

vector3 matrix44::get_eulers() const {
    const vector3 e = raw_eulers(*this);
    matrix44 r;
    r.rotate_x(e.x);
    r.rotate_y(e.y);
    r.rotate_z(e.z);
    const vector3 e2 = raw_eulers(r);
    if (e.isequal(e2, 1e-6f)) return e;
    // The gimbal branch can lose the sign of c; the rebuilt matrix tells which.
    if (abs3(e).isequal(abs3(e2), 1e-6f)) return e2;
    return e;
}

void matrix44::lookat(const vector3& at, const vector3& up) {
    const vector3 eye = pos_component();
    vector3 z = eye - at;
    z.norm();
    vector3 x = up.CrossProduct(z);
    vector3 y = z.CrossProduct(x);
    x.norm();
    y.norm();
    set(x.x, x.y, x.z, 0.0f, y.x, y.y, y.z, 0.0f, z.x, z.y, z.z, 0.0f, eye.x, eye.y, eye.z, M(3, 3));
}

bool matrix44::operator==(const matrix44& o) const {
    for (int i = 0; i < 16; ++i)
        if (m[i] != o.m[i]) return false;
    return true;
}
