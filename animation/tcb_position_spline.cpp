#include "animation/tcb_position_spline.h"

#include <cstddef>

#include "animation/spline_segments.h"

namespace {

using Vec = TcbPositionSpline::Vec;

Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec operator*(Vec a, double s) { return {a.x * s, a.y * s, a.z * s}; }

// 2 (t2 - t1) / (tb - ta) * 0.5, with coinciding key times giving a flat tangent.
double TimeScale(double t1, double t2, double ta, double tb) {
    const double width = tb - ta;
    return width == 0.0 ? 0.0 : (t2 - t1) * 2.0 / width * 0.5;
}

}  // namespace

TcbPositionSpline::TcbPositionSpline(const std::vector<Key>& keys) {
    for (size_t i = 0; i + 3 < keys.size(); ++i) {
        const Key &k0 = keys[i], &k1 = keys[i + 1], &k2 = keys[i + 2], &k3 = keys[i + 3];
        const Vec d = k2.position - k1.position;

        // Outgoing tangent at key 1.
        const double g = TimeScale(k1.time, k2.time, k0.time, k2.time) * (1.0 - k1.tension);
        const Vec c = (k1.position - k0.position) * (g * (1.0 + k1.continuity) * (1.0 + k1.bias)) +
                      d * (g * (1.0 - k1.continuity) * (1.0 - k1.bias));
        // Incoming tangent at key 2.
        const double h = TimeScale(k1.time, k2.time, k1.time, k3.time) * (1.0 - k2.tension);
        const Vec dd = (k3.position - k2.position) * (h * (1.0 + k2.continuity) * (1.0 - k2.bias)) +
                       d * (h * (1.0 - k2.continuity) * (1.0 + k2.bias));

        Segment s;
        s.p1 = k1.position;
        s.c1 = c;
        s.c2 = d * 3.0 - c * 2.0 - dd;
        s.c3 = dd + c - d * 2.0;
        s.t1 = k1.time;
        s.t2 = k2.time;
        s.span = k2.time - k1.time;
        segments_.push_back(s);
    }
}

TcbPositionSpline::Vec TcbPositionSpline::Evaluate(double time) const {
    double u = 0.0;
    const Segment* s = FindSegment(segments_, time, u);
    if (!s) return {};
    return s->p1 + (s->c1 + (s->c2 + s->c3 * u) * u) * u;
}
