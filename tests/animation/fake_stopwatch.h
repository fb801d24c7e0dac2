#pragma once

#include "animation/stopwatch.h"

// A stopwatch the test moves by hand: Pass(s) makes s seconds go by.
class FakeStopwatch : public rgStopwatch {
public:
    void Reset() override {
        pending_ = 0;
        resets++;
    }
    double Lap() override {
        const double s = pending_;
        pending_ = 0;
        return s;
    }
    void Pass(double seconds) { pending_ += seconds; }

    int resets = 0;

private:
    double pending_ = 0;
};
