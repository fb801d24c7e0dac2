#include "animation/tcb_rotation_spline.h"

#include <algorithm>
#include <cmath>

#include "animation/spline_segments.h"

namespace {

using Quat = TcbRotationSpline::Quat;

Quat Mul(const Quat& a, const Quat& b) {
    return {a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z, a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
            a.w * b.y + a.y * b.w + a.z * b.x - a.x * b.z, a.w * b.z + a.z * b.w + a.x * b.y - a.y * b.x};
}
Quat Conj(const Quat& q) { return {q.w, -q.x, -q.y, -q.z}; }
Quat Scaled(const Quat& q, double s) { return {q.w * s, q.x * s, q.y * s, q.z * s}; }
Quat Add(const Quat& a, const Quat& b) { return {a.w + b.w, a.x + b.x, a.y + b.y, a.z + b.z}; }
Quat Sub(const Quat& a, const Quat& b) { return {a.w - b.w, a.x - b.x, a.y - b.y, a.z - b.z}; }
double Dot(const Quat& a, const Quat& b) { return a.w * b.w + a.x * b.x + a.y * b.y + a.z * b.z; }

double TimeScale(double t1, double t2, double ta, double tb) {
    const double width = tb - ta;
    return width == 0.0 ? 0.0 : 2.0 * (t2 - t1) / width;
}

}  // namespace

Quat TcbRotationSpline::FromAngleAxis(const AxisAngle& r) {
    const double s = std::sin(r.angle / 2.0);
    return {std::cos(r.angle / 2.0), r.x * s, r.y * s, r.z * s};
}

TcbRotationSpline::AxisAngle TcbRotationSpline::ToAngleAxis(const Quat& q) {
    const double sq = q.x * q.x + q.y * q.y + q.z * q.z;
    if (!(sq > 0.0)) return {1, 0, 0, 0};
    const double len = std::sqrt(sq);
    // Clamped: an unnormalised squad result must not give a NaN angle.
    const double angle = q.w > 0.999999 ? 0.0 : 2.0 * std::acos(std::clamp(q.w, -1.0, 1.0));
    return {q.x / len, q.y / len, q.z / len, angle};
}

Quat TcbRotationSpline::Log(const Quat& q) {
    Quat r{0.0, q.x, q.y, q.z};
    if (std::fabs(q.w) < 1.0) {
        const double a = std::acos(q.w);
        const double s = std::sin(a);
        if (std::fabs(s) >= 0.001) {
            const double k = a / s;
            r.x *= k;
            r.y *= k;
            r.z *= k;
        }
    }
    return r;
}

Quat TcbRotationSpline::Exp(const Quat& q) {
    const double a = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z);
    Quat r{std::cos(a), q.x, q.y, q.z};
    const double s = std::sin(a);
    if (std::fabs(s) >= 0.001) {
        const double k = s / a;
        r.x *= k;
        r.y *= k;
        r.z *= k;
    }
    return r;
}

Quat TcbRotationSpline::Slerp(double u, const Quat& p, const Quat& q) {
    const double c = std::clamp(Dot(p, q), -1.0, 1.0);
    const double a = std::acos(c);
    const double s = std::sin(a);
    if (s < 0.001) return p;
    return Scaled(Add(Scaled(p, std::sin((1.0 - u) * a)), Scaled(q, std::sin(u * a))), 1.0 / s);
}

Quat TcbRotationSpline::Squad(double u, const Quat& p, const Quat& a, const Quat& b, const Quat& q) {
    return Slerp(2.0 * u * (1.0 - u), Slerp(u, p, q), Slerp(u, a, b));
}

TcbRotationSpline::TcbRotationSpline(std::vector<Key>& keys) {
    for (size_t i = 0; i + 3 < keys.size(); ++i) {
        const Key &k0 = keys[i], &k1 = keys[i + 1], &k3 = keys[i + 3];
        Key& k2 = keys[i + 2];
        const Quat q0 = FromAngleAxis(k0.rotation), q1 = FromAngleAxis(k1.rotation);
        Quat q2 = FromAngleAxis(k2.rotation);
        const Quat q3 = FromAngleAxis(k3.rotation);
        if (Dot(q1, q2) < 0.0) {
            q2 = Scaled(q2, -1.0);
            k2.rotation = ToAngleAxis(q2);
        }
        const Quat l0 = Log(Mul(Conj(q0), q1));
        const Quat l1 = Log(Mul(Conj(q1), q2));
        const Quat l2 = Log(Mul(Conj(q2), q3));

        const double g = TimeScale(k1.time, k2.time, k0.time, k2.time);
        const double outA = 0.5 * g * (1.0 - k1.tension) * (1.0 + k1.continuity) * (1.0 + k1.bias);
        const double outB = 0.5 * g * (1.0 - k1.tension) * (1.0 - k1.continuity) * (1.0 - k1.bias);
        const Quat tOut = Add(Scaled(l0, outA), Scaled(l1, outB));

        const double h = TimeScale(k1.time, k2.time, k1.time, k3.time);
        const double inA = 0.5 * h * (1.0 - k2.tension) * (1.0 - k2.continuity) * (1.0 + k2.bias);
        const double inB = 0.5 * h * (1.0 - k2.tension) * (1.0 + k2.continuity) * (1.0 - k2.bias);
        const Quat tIn = Add(Scaled(l1, inA), Scaled(l2, inB));

        Segment s;
        s.q1 = q1;
        s.q2 = q2;
        s.a = Mul(q1, Exp(Scaled(Sub(tOut, l1), 0.5)));
        s.b = Mul(q2, Exp(Scaled(Sub(l1, tIn), 0.5)));
        s.t1 = k1.time;
        s.t2 = k2.time;
        s.span = k2.time - k1.time;
        segments_.push_back(s);
    }
}

TcbRotationSpline::AxisAngle TcbRotationSpline::Evaluate(double time) const {
    double u = 0.0;
    const Segment* s = FindSegment(segments_, time, u);
    if (!s) return {};
    return ToAngleAxis(Squad(u, s->q1, s->a, s->b, s->q2));
}
