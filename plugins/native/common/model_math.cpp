#include "plugins/native/common/model_math.h"

#include <cmath>

namespace kinemo_plugin {

bool Mat4::IsIdentity(double tolerance) const {
    const Mat4 identity;
    for (int i = 0; i < 16; ++i)
        if (std::fabs(m[i] - identity.m[i]) > tolerance) return false;
    return true;
}

Mat4 Mul(const Mat4& a, const Mat4& b) {
    Mat4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) sum += a(i, k) * b(k, j);
            r(i, j) = sum;
        }
    return r;
}

Mat4 Inverse(const Mat4& a) {
    // Gauss-Jordan with partial pivoting.
    double w[4][8];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            w[i][j] = a(i, j);
            w[i][j + 4] = i == j ? 1 : 0;
        }
    for (int c = 0; c < 4; ++c) {
        int pivot = c;
        for (int r = c + 1; r < 4; ++r)
            if (std::fabs(w[r][c]) > std::fabs(w[pivot][c])) pivot = r;
        if (std::fabs(w[pivot][c]) < 1e-300) return Mat4();
        for (int j = 0; j < 8; ++j) std::swap(w[c][j], w[pivot][j]);
        const double d = w[c][c];
        for (int j = 0; j < 8; ++j) w[c][j] /= d;
        for (int r = 0; r < 4; ++r) {
            if (r == c) continue;
            const double f = w[r][c];
            if (f == 0) continue;
            for (int j = 0; j < 8; ++j) w[r][j] -= f * w[c][j];
        }
    }
    Mat4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) r(i, j) = w[i][j + 4];
    return r;
}

namespace {

double Det3(const Mat4& a) {
    return a(0, 0) * (a(1, 1) * a(2, 2) - a(1, 2) * a(2, 1)) -
           a(0, 1) * (a(1, 0) * a(2, 2) - a(1, 2) * a(2, 0)) +
           a(0, 2) * (a(1, 0) * a(2, 1) - a(1, 1) * a(2, 0));
}

Mat4 Linear(const Mat4& a) {
    Mat4 r = a;
    r(3, 0) = r(3, 1) = r(3, 2) = 0;
    return r;
}

}  // namespace

Trs Decompose(const Mat4& a) {
    Trs out;
    for (int i = 0; i < 3; ++i) {
        out.t[i] = a(3, i);
        out.s[i] = std::sqrt(a(i, 0) * a(i, 0) + a(i, 1) * a(i, 1) + a(i, 2) * a(i, 2));
    }
    if (Det3(a) < 0) out.s[0] = -out.s[0];
    // R[r][c] of column vectors is a(c, r) / s[c].
    double R[3][3];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) R[r][c] = out.s[c] != 0 ? a(c, r) / out.s[c] : (r == c ? 1 : 0);
    Quat& q = out.r;
    const double trace = R[0][0] + R[1][1] + R[2][2];
    if (trace > 0) {
        const double s = std::sqrt(trace + 1.0) * 2;
        q.w = 0.25 * s;
        q.x = (R[2][1] - R[1][2]) / s;
        q.y = (R[0][2] - R[2][0]) / s;
        q.z = (R[1][0] - R[0][1]) / s;
    } else if (R[0][0] > R[1][1] && R[0][0] > R[2][2]) {
        const double s = std::sqrt(1.0 + R[0][0] - R[1][1] - R[2][2]) * 2;
        q.w = (R[2][1] - R[1][2]) / s;
        q.x = 0.25 * s;
        q.y = (R[0][1] + R[1][0]) / s;
        q.z = (R[0][2] + R[2][0]) / s;
    } else if (R[1][1] > R[2][2]) {
        const double s = std::sqrt(1.0 + R[1][1] - R[0][0] - R[2][2]) * 2;
        q.w = (R[0][2] - R[2][0]) / s;
        q.x = (R[0][1] + R[1][0]) / s;
        q.y = 0.25 * s;
        q.z = (R[1][2] + R[2][1]) / s;
    } else {
        const double s = std::sqrt(1.0 + R[2][2] - R[0][0] - R[1][1]) * 2;
        q.w = (R[1][0] - R[0][1]) / s;
        q.x = (R[0][2] + R[2][0]) / s;
        q.y = (R[1][2] + R[2][1]) / s;
        q.z = 0.25 * s;
    }
    q = Normalized(q);
    return out;
}

Mat4 Compose(const Trs& trs) {
    const Quat q = Normalized(trs.r);
    const double x = q.x, y = q.y, z = q.z, w = q.w;
    const double R[3][3] = {{1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + y * w)},
                            {2 * (x * y + z * w), 1 - 2 * (x * x + z * z), 2 * (y * z - x * w)},
                            {2 * (x * z - y * w), 2 * (y * z + x * w), 1 - 2 * (x * x + y * y)}};
    Mat4 a;
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 3; ++r) a(c, r) = R[r][c] * trs.s[c];
    for (int i = 0; i < 3; ++i) a(3, i) = trs.t[i];
    return a;
}

double Dot(const Quat& a, const Quat& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
}

Quat Normalized(const Quat& q) {
    const double n = std::sqrt(Dot(q, q));
    if (!(n > 0)) return Quat();
    return {q.x / n, q.y / n, q.z / n, q.w / n};
}

Quat Negated(const Quat& q) {
    return {-q.x, -q.y, -q.z, -q.w};
}

Quat Slerp(const Quat& a, const Quat& b0, double u) {
    Quat b = b0;
    double d = Dot(a, b);
    if (d < 0) {
        b = Negated(b);
        d = -d;
    }
    double ka = 1 - u, kb = u;
    if (d < 0.9999995) {
        const double angle = std::acos(d < 1 ? d : 1);
        const double s = std::sin(angle);
        ka = std::sin((1 - u) * angle) / s;
        kb = std::sin(u * angle) / s;
    }
    return Normalized(
        {ka * a.x + kb * b.x, ka * a.y + kb * b.y, ka * a.z + kb * b.z, ka * a.w + kb * b.w});
}

Mat4 PoseMatrix(const Mat4& local, const Mat4& offset) {
    Mat4 pose = Mul(Linear(local), Linear(offset));
    for (int i = 0; i < 3; ++i) pose(3, i) = offset(3, i) + local(3, i);
    return pose;
}

Mat4 OffsetFor(const Mat4& local, const Mat4& pose) {
    Mat4 offset = Mul(Inverse(Linear(local)), Linear(pose));
    for (int i = 0; i < 3; ++i) offset(3, i) = pose(3, i) - local(3, i);
    for (int i = 0; i < 3; ++i) offset(i, 3) = 0;
    offset(3, 3) = 1;
    return offset;
}

bool IsFinite(const Mat4& a) {
    for (double v : a.m)
        if (!std::isfinite(v)) return false;
    return true;
}

}  // namespace kinemo_plugin
