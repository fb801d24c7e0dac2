#include "animation/playback_clock.h"

#include <cmath>

#include "animation/stopwatch.h"
#include "state/rg_state.h"

float rgPlaybackClock::Rate(const rgState& state) {
    const float rate = state.framesPerSecond * state.playSpeed;
    return rate > 0.0f && std::isfinite(rate) ? rate : 0.0f;
}

int rgPlaybackClock::Start(const rgState& state) {
    stopwatch_->Reset();
    const int first = state.segmentStart, last = state.segmentEnd;
    const int start =
        first <= state.currentFrame && state.currentFrame <= last ? state.currentFrame : first;
    const float rate = Rate(state);
    t_ = rate > 0.0f ? static_cast<float>(start) / rate : 0.0f;
    return start;
}

int rgPlaybackClock::Advance(const rgState& state) {
    t_ += static_cast<float>(stopwatch_->Lap());
    const float rate = Rate(state);
    if (rate == 0.0f) return state.currentFrame;
    const float lastTime = static_cast<float>(state.segmentEnd) / rate;
    const float span = static_cast<float>(state.segmentEnd - state.segmentStart) / rate;
    if (lastTime < t_) {
        if (span > 0.0f) {
            // Whole spans at once: after a long stall the time would
            // otherwise be wrapped one span per loop turn.
            t_ -= std::ceil((t_ - lastTime) / span) * span;
            while (lastTime < t_) t_ -= span;  // rounding
        } else {
            // A range of one frame (or none) has nowhere to go.
            t_ = static_cast<float>(state.segmentStart) / rate;
        }
    }
    return static_cast<int>(std::trunc(rate * t_));
}

void rgPlaybackClock::KeepFrame(float oldRate, float newRate) {
    if (oldRate > 0.0f && newRate > 0.0f && std::isfinite(oldRate) && std::isfinite(newRate))
        t_ = t_ * oldRate / newRate;
}
