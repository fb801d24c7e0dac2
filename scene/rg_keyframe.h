#pragma once

#include "core/matrix44.h"
#include "core/vector3.h"

// One key of a joint: the joint's offset matrix at an integer frame and the
// Kochanek-Bartels parameters (x = tension, y = continuity, z = bias) of its
// translation and rotation splines.
struct rgKeyframe {
    int frame = 0;
    matrix44 matrix;
    vector3 trans_tcb;
    vector3 rot_tcb;
};
