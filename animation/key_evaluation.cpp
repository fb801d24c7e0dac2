#include "animation/key_evaluation.h"

#include <vector>

#include "animation/tcb_position_spline.h"
#include "animation/tcb_rotation_spline.h"
#include "scene/rg_bone.h"

namespace {

// The evaluation point and the keys' places on the same axis: frames for
// EvaluateAtFrame, seconds for EvaluateAtTime.
struct Axis {
    bool inSeconds;
    float frame;    // evaluation frame (integer-valued) when !inSeconds
    float seconds;  // evaluation time when inSeconds
    rgAnimationSettings settings;

    float Place(const rgKeyframe& k) const {
        return inSeconds ? settings.KeyTime(k.frame) : static_cast<float>(k.frame);
    }
    float Point() const { return inSeconds ? seconds : frame; }
    bool Before(const rgKeyframe& k) const { return Place(k) < Point(); }  // key before the point
    bool After(const rgKeyframe& k) const { return Place(k) > Point(); }
};

vector3 Translation(const matrix44& m) { return m.pos_component(); }

matrix44 WithTranslation(const matrix44& rotation, const vector3& p) {
    matrix44 offset;
    offset.mult_simple(rotation);
    offset.translate(p.x, p.y, p.z);
    return offset;
}

matrix44 Linear(const rgKeyframe& k1, const rgKeyframe& k2, float t) {
    const vector3 p = Translation(k1.matrix) * (1.0f - t) + Translation(k2.matrix) * t;
    quaternion q;
    q.slerp(k1.matrix.get_quaternion(), k2.matrix.get_quaternion(), t);
    // get_quaternion and set_quaternion are mutually transposed: invert to
    // come back to the keys' own sense of rotation.
    q.invert();
    matrix44 rotation;
    rotation.set_quaternion(q);
    return WithTranslation(rotation, p);
}

matrix44 Spline(const rgKeyframe* keys[4], const rgAnimationSettings& settings, double time) {
    std::vector<TcbPositionSpline::Key> positions;
    std::vector<TcbRotationSpline::Key> rotations;
    for (int i = 0; i < 4; ++i) {
        const rgKeyframe& k = *keys[i];
        const double keyTime = settings.KeyTime(k.frame);
        const vector3 p = Translation(k.matrix);
        positions.push_back({keyTime, {p.x, p.y, p.z}, k.trans_tcb.x, k.trans_tcb.y, k.trans_tcb.z});
        quaternion q = k.matrix.get_quaternion();
        q.invert();
        vector3 axis;
        float angle = 0.0f;
        q.get_rotate_axis_angle(axis, angle);
        rotations.push_back({keyTime, {axis.x, axis.y, axis.z, angle}, k.rot_tcb.x, k.rot_tcb.y, k.rot_tcb.z});
    }
    const TcbPositionSpline::Vec p = TcbPositionSpline(positions).Evaluate(time);
    const TcbRotationSpline::AxisAngle r = TcbRotationSpline(rotations).Evaluate(time);
    matrix44 rotation;
    rotation.rotate(static_cast<float>(r.x), static_cast<float>(r.y), static_cast<float>(r.z),
                    static_cast<float>(r.angle));
    return WithTranslation(rotation, vector3(static_cast<float>(p.x), static_cast<float>(p.y),
                                             static_cast<float>(p.z)));
}

// One second before the first key or after the last: keeps the spline's
// end tangents defined.
rgKeyframe Phantom(const rgKeyframe& k, float frameShift) {
    rgKeyframe copy = k;
    copy.frame = static_cast<int>(static_cast<float>(k.frame) + frameShift);
    return copy;
}

void Evaluate(rgBone& joint, const Axis& axis) {
    const int n = joint.GetKeyCount();
    if (n == 0) return;
    if (n == 1) {
        joint.SetOffsetMatrix(joint.GetKey(0)->matrix);
        return;
    }
    // Outside the keys: hold the nearest end.
    float largest = axis.Place(*joint.GetKey(0));
    float smallest = axis.inSeconds ? axis.settings.KeyTime(rgBone::kNoNextKey)
                                    : static_cast<float>(rgBone::kNoNextKey);
    for (int i = 0; i < n; ++i) {
        const float place = axis.Place(*joint.GetKey(i));
        if (place > largest) largest = place;
        if (place < smallest) smallest = place;
    }
    if (axis.Point() > largest) {
        joint.SetOffsetMatrix(joint.GetKey(n - 1)->matrix);
        return;
    }
    if (axis.Point() < smallest) {
        joint.SetOffsetMatrix(joint.GetKey(0)->matrix);
        return;
    }

    // K1: the key at the point or the last one before it; K2: the key at
    // the point or the first one after it.
    int i1 = 0;
    while (axis.Before(*joint.GetKey(i1)) && i1 < n - 1) ++i1;
    if (axis.After(*joint.GetKey(i1)) && i1 > 0) --i1;
    int i2 = n - 1;
    while (axis.After(*joint.GetKey(i2)) && i2 > 0) --i2;
    if (axis.Before(*joint.GetKey(i2)) && i2 < n - 1) ++i2;

    const rgKeyframe& k1 = *joint.GetKey(i1);
    const rgKeyframe& k2 = *joint.GetKey(i2);
    const float fps = axis.settings.framesPerSecond;
    const rgKeyframe k0 = i1 > 0 ? *joint.GetKey(i1 - 1) : Phantom(k1, -fps);
    const rgKeyframe k3 = i2 < n - 1 ? *joint.GetKey(i2 + 1) : Phantom(k2, fps);

    float t = 0.0f;
    if (i1 != i2) {
        const float span = axis.Place(k2) - axis.Place(k1);
        t = span == 0.0f ? 0.0f : (axis.Point() - axis.Place(k1)) / span;
    }
    const double time = axis.inSeconds ? axis.seconds : axis.settings.KeyTime(static_cast<int>(axis.frame));

    switch (axis.settings.interpolation) {
        case kInterpConstant:
            joint.SetOffsetMatrix(t < 0.5f ? k1.matrix : k2.matrix);
            break;
        case kInterpLinear:
            joint.SetOffsetMatrix(Linear(k1, k2, t));
            break;
        default: {
            const rgKeyframe* four[4] = {&k0, &k1, &k2, &k3};
            joint.SetOffsetMatrix(Spline(four, axis.settings, time));
            break;
        }
    }
}

}  // namespace

void EvaluateAtFrame(rgBone& joint, int frame, const rgAnimationSettings& settings) {
    Evaluate(joint, {false, static_cast<float>(frame), 0.0f, settings});
}

void EvaluateAtTime(rgBone& joint, float seconds, const rgAnimationSettings& settings) {
    Evaluate(joint, {true, 0.0f, seconds, settings});
}
