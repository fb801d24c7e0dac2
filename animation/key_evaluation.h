#pragma once

#include "state/rg_state.h"

class rgBone;
struct rgKeyframe;

// What evaluation reads from the editor state.
struct rgAnimationSettings {
    int interpolation = kInterpSpline;  // 0 constant, 1 linear, 2 spline
    float framesPerSecond = 24.0f;
    float playSpeed = 1.0f;

    static rgAnimationSettings From(const rgState& state) {
        return {state.interpolation, state.framesPerSecond, state.playSpeed};
    }
    // Seconds of a frame: frame / (frame rate x play speed).
    float KeyTime(int frame) const { return static_cast<float>(frame) / (framesPerSecond * playSpeed); }
};

// Writes the joint's pose at an integer frame into its offset, interpolating
// its keys. Without keys the offset is left alone; with keys every skin is
// marked stale.
void EvaluateAtFrame(rgBone& joint, int frame, const rgAnimationSettings& settings);

// The same at a time in seconds (playback), keys at their key times.
void EvaluateAtTime(rgBone& joint, float seconds, const rgAnimationSettings& settings);
