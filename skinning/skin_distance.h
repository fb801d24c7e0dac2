#pragma once

#include "core/vector3.h"

// The distance arithmetic of binding, in 32-bit floats, shared by the bind
// job and the tests' reference implementation.

// Distance from p to the segment from a along ab: to the closest point of
// the segment; a segment of zero length is its start point.
inline float SegmentDistanceAlong(const vector3& p, const vector3& a, const vector3& ab) {
    const float length2 = ab.len_squared();
    vector3 q = a;
    if (length2 != 0.0f) {
        float t = (p - a).DotProduct(ab) / length2;
        if (t < 0.0f)
            t = 0.0f;
        else if (t > 1.0f)
            t = 1.0f;
        q = a + ab * t;
    }
    return (p - q).len();
}

// Distance from p to the segment a -> b.
inline float SegmentDistance(const vector3& p, const vector3& a, const vector3& b) {
    return SegmentDistanceAlong(p, a, b - a);
}

// Falloff weight of a distance: 1 on the bone, 1/16 at one radius; a radius
// of 0 counts as 1.
inline float FalloffWeight(float distance, float radius) {
    const float r = radius == 0.0f ? 1.0f : radius;
    const float q = 1.0f + distance / r;
    return 1.0f / (q * q * q * q);
}

// Order of influence records: larger weights first. A weight that is not a
// number (a vertex at a NaN position) sorts after every real one.
inline float WeightOrderKey(float weight) {
    return weight == weight ? weight : -1.0f;
}
