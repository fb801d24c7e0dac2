#pragma once

struct rgState;
class rgStopwatch;

// The continuous time of playback. Frames and seconds meet at the playback
// rate, frame rate x play speed: frame f lies at f / rate seconds. The time
// follows the stopwatch (so slow redraws skip frames rather than slow the
// motion) and wraps back over the range first..last (segmentStart,
// segmentEnd of the state) whenever it passes the last frame.
class rgPlaybackClock {
public:
    explicit rgPlaybackClock(rgStopwatch& stopwatch) : stopwatch_(&stopwatch) {}

    void SetStopwatch(rgStopwatch& stopwatch) { stopwatch_ = &stopwatch; }

    // Resets the stopwatch and puts the time at the current frame when it
    // lies in first..last, else at the first frame. Returns that frame.
    int Start(const rgState& state);
    // Adds the seconds since the previous reading and wraps. Returns the
    // frame the time lies in, trunc(rate x t).
    int Advance(const rgState& state);
    // The rate changed while playing: the time moves so that it still lies
    // at the same frame, and playback goes on from there at the new rate.
    void KeepFrame(float oldRate, float newRate);

    // Seconds.
    float Time() const { return t_; }

    // Frame rate x play speed, or 0 when that is not a usable rate (not
    // positive, not finite).
    static float Rate(const rgState& state);

private:
    rgStopwatch* stopwatch_;
    float t_ = 0.0f;
};
