#pragma once

#include "core/vector3.h"

class rgBone;

// Inverse kinematics by cyclic coordinate descent, as one job: the joints
// above an end joint turn, one joint per step, so that the end joint's world
// position comes to the goal.
//
// The chain is the end joint's parent, its parent, ... up to and including
// the first joint marked IK chain end, or up to the topmost joint; the end
// joint itself never turns. Each step turns one joint of the chain, starting
// over at the end's parent after the top, by the angle that would point it
// at the goal, scaled by the joint's IK weight and never more than one
// degree. The turns go into the joints' pose offsets (RotateOffset, in the
// world axes); world matrices are kept up to date as the solve goes.
struct rgIKSolveJob {
    // E: the joint whose world position is driven. Must hang in its scene's
    // hierarchy (so the scene walk reaches it) below a joint. Not owned.
    rgBone* endJoint = nullptr;
    // G: where E should go, in world space. Must be finite.
    vector3 goal{0, 0, 0};
    // Each turn is clamped to the turned joint's rotation limits.
    bool useLimits = false;
    // Most single-joint turns of one solve. Must be 0 or more.
    int maxSteps = 100;
    // Distance (world units) from E to G at which the goal counts as
    // reached. Must be finite and 0 or more.
    float threshold = 0.0001f;

    // Whether Run can do its work: every condition above holds, and the
    // scene is at the Animation level (at the Objects level world matrices
    // leave pose offsets out, so turns would never show in E's position).
    bool Validate() const;
    // Solves; returns the number of steps used: 0 when the job is not valid
    // or E is at the goal already, maxSteps when the goal is out of reach.
    int Run() const;
};

// One solve with the editor-wide settings of E's scene: at most
// ikMaxIterations steps, the ikThreshold distance, limits when
// useJointLimits is set (values out of range give the defaults, 100 and
// 0.0001). Returns the steps used.
int Solve(rgBone& endJoint, const vector3& goal);
// The same with the joint limits chosen by the caller.
int Solve(rgBone& endJoint, const vector3& goal, bool useLimits);
