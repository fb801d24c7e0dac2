#pragma once

#include <chrono>

// The time source of playback. Tests hand the clock a stopwatch they step
// by hand, so playback arithmetic runs without waiting.
class rgStopwatch {
public:
    virtual ~rgStopwatch() = default;
    // The next reading answers 0.
    virtual void Reset() = 0;
    // Seconds since the previous reading (0 for the first reading after Reset).
    virtual double Lap() = 0;
};

// The wall clock: a monotonic clock, unaffected by changes of the system time.
class rgSteadyStopwatch final : public rgStopwatch {
public:
    void Reset() override { fresh_ = true; }
    double Lap() override {
        const auto now = std::chrono::steady_clock::now();
        const double seconds = fresh_ ? 0.0 : std::chrono::duration<double>(now - last_).count();
        fresh_ = false;
        last_ = now;
        return seconds;
    }

private:
    bool fresh_ = true;
    std::chrono::steady_clock::time_point last_;
};
