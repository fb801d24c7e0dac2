#pragma once

#include <vector>

// Kochanek-Bartels spline of rotations given as axis and angle, evaluated
// with squad between quaternions, in double precision. Built from N >= 4
// keys like the position spline: segment i runs from key i + 1 to i + 2.
class TcbRotationSpline {
public:
    struct Quat {
        double w = 1, x = 0, y = 0, z = 0;
    };
    struct AxisAngle {
        double x = 1, y = 0, z = 0;  // axis
        double angle = 0;            // radians
    };
    struct Key {
        double time;
        AxisAngle rotation;  // may be rewritten: see below
        double tension, continuity, bias;
    };

    // Where consecutive keys lie on opposite hemispheres, the later key's
    // quaternion is negated (shortest arc) and its stored axis and angle are
    // rewritten in `keys` accordingly.
    explicit TcbRotationSpline(std::vector<Key>& keys);

    AxisAngle Evaluate(double time) const;

    // The quaternion helpers, exposed for testing.
    static Quat FromAngleAxis(const AxisAngle& r);
    static AxisAngle ToAngleAxis(const Quat& q);
    static Quat Log(const Quat& q);
    static Quat Exp(const Quat& q);
    static Quat Slerp(double u, const Quat& p, const Quat& q);
    static Quat Squad(double u, const Quat& p, const Quat& a, const Quat& b, const Quat& q);

private:
    struct Segment {
        Quat q1, a, b, q2;
        double t1, t2, span;
    };
    std::vector<Segment> segments_;
};
