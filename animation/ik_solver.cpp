#include "animation/ik_solver.h"

#include <cmath>
#include <numbers>

#include "state/rg_state.h"
#include "scene/rg_bone.h"
#include "scene/rg_scene.h"

namespace {

// Directions closer than this (the sine of the angle between them) count as
// aligned: their cross product is too short to normalise into an axis. Any
// wider limit leaves the end joint short of the goal by that angle times its
// distance from the joint, far more than the threshold.
constexpr float kAlignedSine = 1e-7f;
constexpr float kMaxTurnDegrees = 1.0f;
constexpr double kRadToDeg = 180.0 / std::numbers::pi;
constexpr float kOneDegree = static_cast<float>(std::numbers::pi / 180.0);

bool Finite(const vector3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

vector3 WorldPosition(rgSceneNode& node) {
    return node.GetGlobalMatrix().pos_component();
}

bool InSceneHierarchy(rgSceneNode& node) {
    rgScene* scene = node.GetScene();
    if (!scene) return false;
    rgSceneNode* top = &node;
    while (top->GetParent()) top = top->GetParent();
    return top == scene->GetRootNode();
}

// One step: turns J so that the line from J to E swings towards G.
void TurnTowards(rgBone& joint, rgBone& end, const vector3& goal, bool useLimits) {
    const vector3 e = WorldPosition(end);
    const vector3 j = WorldPosition(joint);
    vector3 u = e - j;
    u.norm();
    vector3 v = goal - j;
    v.norm();
    // The angle from its sine and cosine: arccos of the cosine alone loses
    // every angle below about 0.02 degrees to rounding, and with it the
    // last hundredths of a unit of the way to the goal.
    const vector3 cross = u.CrossProduct(v);
    const float sine = cross.len();
    const float cosine = u.DotProduct(v);
    if (cosine > 0.0f && sine <= kAlignedSine) return;  // no axis to turn about
    vector3 axis = cross;
    axis.norm();
    float angle = std::atan2(sine, cosine) * joint.GetIKWeight();
    if (!std::isfinite(angle)) return;  // a weight a script set to NaN or infinity
    if (std::fabs(angle) * kRadToDeg > kMaxTurnDegrees) angle = kOneDegree;
    matrix44 r;
    r.rotate(axis.x, axis.y, axis.z, angle);
    const vector3 angles = r.get_eulers();
    // The world axes, seen from the parent's space.
    rgSceneNode* parent = joint.GetParent();
    matrix44 worldAxes;
    if (parent) {
        worldAxes = parent->GetGlobalMatrix();
        worldAxes.invert();
    }
    joint.RotateOffset(angles, worldAxes, useLimits);
    // Only J's subtree moved: updating it from the parent's (unchanged)
    // world matrix gives exactly what a whole-scene update would.
    joint.UpdateMatrix(parent ? parent->GetGlobalMatrix() : matrix44());
}

}  // namespace

bool rgIKSolveJob::Validate() const {
    if (!endJoint || !InSceneHierarchy(*endJoint)) return false;
    if (endJoint->GetScene()->context().state.editLevel != kEditAnimation) return false;
    if (!ToBone(endJoint->GetParent())) return false;
    if (!Finite(goal)) return false;
    return maxSteps >= 0 && std::isfinite(threshold) && threshold >= 0.0f;
}

int rgIKSolveJob::Run() const {
    if (!Validate()) return 0;
    rgBone& end = *endJoint;
    end.GetScene()->UpdateScene();
    rgBone* first = ToBone(end.GetParent());
    rgBone* joint = first;
    int step = 0;
    while (step < maxSteps && (goal - WorldPosition(end)).len() > threshold) {
        TurnTowards(*joint, end, goal, useLimits);
        rgBone* turned = joint;
        joint = ToBone(joint->GetParent());
        if (!joint || turned->IsIKChainEnd()) joint = first;
        ++step;
    }
    return step;
}

int Solve(rgBone& endJoint, const vector3& goal) {
    const rgScene* scene = endJoint.GetScene();
    return Solve(endJoint, goal, scene && scene->context().state.useJointLimits);
}

int Solve(rgBone& endJoint, const vector3& goal, bool useLimits) {
    rgIKSolveJob job;
    job.endJoint = &endJoint;
    job.goal = goal;
    job.useLimits = useLimits;
    if (const rgScene* scene = endJoint.GetScene()) {
        const rgState& state = scene->context().state;
        if (state.ikMaxIterations >= 0) job.maxSteps = state.ikMaxIterations;
        if (std::isfinite(state.ikThreshold) && state.ikThreshold >= 0.0f)
            job.threshold = state.ikThreshold;
    }
    return job.Run();
}
