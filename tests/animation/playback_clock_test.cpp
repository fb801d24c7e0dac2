#include <gtest/gtest.h>

#include <limits>

#include "animation/playback_clock.h"
#include "state/rg_state.h"
#include "tests/animation/fake_stopwatch.h"

namespace {

class PlaybackClockTest : public ::testing::Test {
protected:
    FakeStopwatch stopwatch;
    rgPlaybackClock clock{stopwatch};
    rgState state;  // 24 frames per second, speed 1, frames 1..48
};

TEST_F(PlaybackClockTest, StartsAtTheCurrentFrameOrTheFirstOne) {
    struct Case {
        int current, first, last;
        int start;
    } cases[] = {{1, 1, 48, 1}, {30, 1, 48, 30}, {48, 1, 48, 48}, {60, 1, 48, 1}, {3, 5, 20, 5}};
    for (const Case& c : cases) {
        state.currentFrame = c.current;
        state.segmentStart = c.first;
        state.segmentEnd = c.last;
        stopwatch.Pass(3);  // time before Play does not count
        EXPECT_EQ(clock.Start(state), c.start);
        EXPECT_FLOAT_EQ(clock.Time(), c.start / 24.0f);
        EXPECT_EQ(clock.Advance(state), c.start);
    }
}

TEST_F(PlaybackClockTest, TimeFollowsTheStopwatchAndWrapsOverTheRange) {
    state.playSpeed = 2;
    clock.Start(state);
    EXPECT_FLOAT_EQ(clock.Time(), 1.0f / 48);  // frame 1 at 48 frames per second
    stopwatch.Pass(47.0 / 48);
    EXPECT_EQ(clock.Advance(state), 48);  // the last frame, exactly 1 s in
    EXPECT_FLOAT_EQ(clock.Time(), 1.0f);
    stopwatch.Pass(1.0 / 96);  // half a frame past the end: back by 47 frames
    EXPECT_EQ(clock.Advance(state), 1);
    EXPECT_NEAR(clock.Time(), 1.5f / 48, 1e-6f);
    // A long stall wraps as many times as it takes, and never stops playback.
    stopwatch.Pass(1000.25);
    const int frame = clock.Advance(state);
    EXPECT_GE(frame, 1);
    EXPECT_LE(frame, 48);
    EXPECT_LE(clock.Time(), 1.0f);
}

TEST_F(PlaybackClockTest, ARateChangeKeepsTheFrame) {
    state.currentFrame = 12;
    clock.Start(state);
    stopwatch.Pass(0.25);  // 6 frames on: frame 18
    EXPECT_EQ(clock.Advance(state), 18);
    const float oldRate = rgPlaybackClock::Rate(state);
    state.playSpeed = 4;
    clock.KeepFrame(oldRate, rgPlaybackClock::Rate(state));
    EXPECT_EQ(clock.Advance(state), 18);
    stopwatch.Pass(0.0625);  // 6 frames at 96 frames per second
    EXPECT_EQ(clock.Advance(state), 24);
}

TEST_F(PlaybackClockTest, RangesAndRatesThatCannotLoopDoNotHang) {
    // One frame: playback stays on it.
    state.segmentStart = state.segmentEnd = 5;
    state.currentFrame = 5;
    clock.Start(state);
    stopwatch.Pass(2);
    EXPECT_EQ(clock.Advance(state), 5);
    // A rate of 0 or infinity (state set around the commands) stands still.
    for (float rate : {0.0f, std::numeric_limits<float>::infinity()}) {
        state.framesPerSecond = rate;
        state.segmentStart = 1;
        state.segmentEnd = 48;
        clock.Start(state);
        stopwatch.Pass(1);
        EXPECT_EQ(clock.Advance(state), 5);
    }
}

}  // namespace
