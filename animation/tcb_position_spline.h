#pragma once

#include <vector>

// Kochanek-Bartels (TCB) cubic spline of positions, in double precision.
// Built from N >= 4 keys, it has N - 3 segments; segment i runs from key
// i + 1 to key i + 2, with keys i and i + 3 shaping the tangents.
class TcbPositionSpline {
public:
    struct Vec {
        double x = 0, y = 0, z = 0;
    };
    struct Key {
        double time;
        Vec position;
        double tension, continuity, bias;
    };

    // Fewer than 4 keys give an empty spline (Evaluate returns zeros).
    explicit TcbPositionSpline(const std::vector<Key>& keys);

    // Before the first segment: its start; after the last: its end.
    Vec Evaluate(double time) const;

private:
    struct Segment {
        Vec p1, c1, c2, c3;  // P(u) = p1 + c1 u + c2 u^2 + c3 u^3
        double t1, t2, span;
    };
    std::vector<Segment> segments_;
};
