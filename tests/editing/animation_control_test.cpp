#include <cmath>
#include <functional>
#include <limits>

#include "editing/animation_control.h"
#include "tests/animation/fake_stopwatch.h"
#include "tests/editing/tool_fixture.h"

namespace {

// What the Keyframer and the playback driver are told.
class RecordingAnimationView : public rgAnimationView {
public:
    void ShowFrame(int frame) override { frames.push_back(frame); }
    void ShowTotalFrames(int total) override { totalShown = total; }
    void ShowKeys(bool keyAtCurrentFrame) override {
        ++keyRepaints;
        deleteKeyEnabled = keyAtCurrentFrame;
    }
    void ShowPlaying(bool on) override { playing.push_back(on); }

    std::vector<int> frames;
    int totalShown = 0;
    int keyRepaints = 0;
    bool deleteKeyEnabled = false;
    std::vector<bool> playing;
};

matrix44 At(float x) {
    matrix44 m;
    m.translate(x, 0, 0);
    return m;
}

// Two joints at the Animation level: A keyed at frames 5 and 20, B at 12.
// With linear keys A's offset x is the frame number minus 5 between them.
class AnimationControlTest : public ToolTest {
protected:
    AnimationControlTest() {
        animation().SetView(&view);
        animation().SetStopwatch(&stopwatch);
        tools().ChangeLevel(kEditAnimation);
        state().interpolation = kInterpLinear;
        a = AddJoint(nullptr, {0, 0, 0});
        b = AddJoint(nullptr, {0, 3, 0});
        a->SetKey(5, At(0));
        a->SetKey(20, At(15));
        b->SetKey(12, At(1));
    }
    rgAnimationControl& animation() { return editor.animation(); }
    float AX() { return a->GetOffsetMatrix().pos_component().x; }

    RecordingAnimationView view;
    FakeStopwatch stopwatch;
    rgBone* a;
    rgBone* b;
};

TEST_F(AnimationControlTest, FrameControlsGoToFramesAndKeys) {
    using Op = std::function<void(rgAnimationControl&)>;
    const struct {
        const char* name;
        Op op;
        int frame;
        float ax;  // A's pose afterwards
        bool keyHere;
    } steps[] = {
        {"go to 10", [](auto& c) { c.GoToFrame(10); }, 10, 5, false},
        {"next key", [](auto& c) { c.NextKey(); }, 12, 7, true},
        {"next key again", [](auto& c) { c.NextKey(); }, 20, 15, true},
        {"no key after: the last frame", [](auto& c) { c.NextKey(); }, 48, 15, false},
        {"previous key", [](auto& c) { c.PreviousKey(); }, 20, 15, true},
        {"first frame", [](auto& c) { c.FirstFrame(); }, 1, 0, false},
        {"next frame", [](auto& c) { c.NextFrame(); }, 2, 0, false},
        {"previous frame", [](auto& c) { c.PreviousFrame(); }, 1, 0, false},
        {"field above the total", [](auto& c) { c.EnterCurrentFrame(500); }, 48, 15, false},
        {"field below 1", [](auto& c) { c.EnterCurrentFrame(-3); }, 1, 0, false},
        {"last frame", [](auto& c) { c.LastFrame(); }, 48, 15, false},
        {"previous key from the end", [](auto& c) { c.PreviousKey(); }, 20, 15, true},
        {"go to 6", [](auto& c) { c.GoToFrame(6); }, 6, 1, false},
        {"previous key", [](auto& c) { c.PreviousKey(); }, 5, 0, true},
        {"no key before: the first frame", [](auto& c) { c.PreviousKey(); }, 1, 0, false},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        s.op(animation());
        EXPECT_EQ(state().currentFrame, s.frame);
        EXPECT_EQ(view.frames.back(), s.frame);
        EXPECT_NEAR(AX(), s.ax, 1e-5f);
        EXPECT_EQ(view.deleteKeyEnabled, s.keyHere);
    }

    // A frame the slider already shows does nothing, so does the next-frame
    // button at the last frame; neither poses anything.
    animation().LastFrame();
    a->ResetOffset();
    const size_t shown = view.frames.size();
    animation().GoToFrame(48);
    animation().NextFrame();
    EXPECT_EQ(view.frames.size(), shown);
    EXPECT_EQ(AX(), 0);
}

TEST_F(AnimationControlTest, TheTotalFramesFieldSetsTheRange) {
    animation().GoToFrame(30);
    animation().EnterTotalFrames(0);
    EXPECT_EQ(state().totalFrames, 2);
    EXPECT_EQ(view.totalShown, 2);
    EXPECT_EQ(state().currentFrame, 2);  // pulled down with the slider
    EXPECT_EQ(state().segmentStart, 1);
    EXPECT_EQ(state().segmentEnd, 2);
    EXPECT_TRUE(state().modified);
    animation().EnterTotalFrames(100);
    EXPECT_EQ(state().segmentEnd, 100);
    EXPECT_EQ(state().currentFrame, 2);
}

TEST_F(AnimationControlTest, PlaybackFollowsTheClockLoopsAndStopsWhereItIs) {
    tools().Click(rgToolButton::AnimateRotate);
    animation().GoToFrame(5);
    animation().Play();
    EXPECT_TRUE(animation().IsPlaying());
    EXPECT_EQ(view.playing, std::vector<bool>{true});
    EXPECT_EQ(tools().ActiveButton(), rgToolButton::None);  // every tool goes off
    tools().Click(rgToolButton::AnimateTranslate);          // and stays off
    EXPECT_EQ(tools().ActiveButton(), rgToolButton::None);
    EXPECT_EQ(stopwatch.resets, 1);

    stopwatch.Pass(0.5 + 1.0 / 48);  // 12.5 frames at 24 per second
    animation().Step();
    EXPECT_EQ(state().currentFrame, 17);
    EXPECT_NEAR(AX(), 12.5f, 1e-4f);  // between frames: the motion is smooth

    // Twice the speed from here: the frame stays, then runs twice as fast.
    animation().SetPlaySpeed(2);
    animation().Step();
    EXPECT_EQ(state().currentFrame, 17);
    EXPECT_NEAR(AX(), 12.5f, 1e-4f);
    stopwatch.Pass(0.125);  // 6 frames at 48 per second
    animation().Step();
    EXPECT_EQ(state().currentFrame, 23);
    EXPECT_NEAR(AX(), 15, 1e-5f);  // after the last key

    // Past frame 48 the time goes back by 47 frames' worth.
    stopwatch.Pass(26.0 / 48);
    animation().Step();
    EXPECT_EQ(state().currentFrame, 2);
    EXPECT_NEAR(AX(), 0, 1e-5f);  // before the first key

    // The slider moves while playing without posing anything.
    animation().GoToFrame(10);
    EXPECT_EQ(state().currentFrame, 10);
    EXPECT_NEAR(AX(), 0, 1e-5f);

    stopwatch.Pass(4.0 / 48);  // the time was at frame 2.5, whatever the slider says
    animation().Step();
    const float ax = AX();
    EXPECT_NEAR(ax, 1.5f, 1e-4f);
    animation().Stop();
    EXPECT_FALSE(animation().IsPlaying());
    EXPECT_EQ(view.playing, (std::vector<bool>{true, false}));
    EXPECT_EQ(AX(), ax);  // the pose of the last time, not of the frame
    stopwatch.Pass(1);
    animation().Step();  // stopped: nothing moves
    EXPECT_EQ(AX(), ax);
    tools().Click(rgToolButton::AnimateTranslate);
    EXPECT_EQ(tools().ActiveButton(), rgToolButton::AnimateTranslate);
}

TEST_F(AnimationControlTest, GoingToTheObjectsLevelStopsPlayback) {
    animation().Play();
    tools().ChangeLevel(kEditObjects);
    EXPECT_FALSE(animation().IsPlaying());
    EXPECT_EQ(view.playing, (std::vector<bool>{true, false}));
    EXPECT_EQ(tools().ActiveButton(), rgToolButton::EditSelect);
}

TEST_F(AnimationControlTest, MenuSettingsRefuseValuesOutsideTheirChoices) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        float rate, stored;
    } rates[] = {{30, 30}, {12.5f, 12.5f}, {0, 1}, {-5, 1}, {nan, 1}, {inf, 1}};
    for (const auto& r : rates) {
        animation().SetFrameRate(r.rate);
        EXPECT_EQ(state().framesPerSecond, r.stored) << r.rate;
    }
    for (float speed : {0.25f, 0.5f, 1.0f, 2.0f, 4.0f}) {
        EXPECT_TRUE(animation().SetPlaySpeed(speed));
        EXPECT_EQ(state().playSpeed, speed);
    }
    for (float speed : {0.0f, 3.0f, -1.0f, nan}) EXPECT_FALSE(animation().SetPlaySpeed(speed));
    EXPECT_EQ(state().playSpeed, 4.0f);
    EXPECT_FALSE(animation().SetInterpolation(3));
    EXPECT_FALSE(animation().SetInterpolation(-1));
    EXPECT_EQ(state().interpolation, kInterpLinear);

    // A new mode takes effect at the next evaluation, not before.
    animation().GoToFrame(8);
    const float linear = AX();
    EXPECT_TRUE(animation().SetInterpolation(kInterpConstant));
    EXPECT_EQ(AX(), linear);
    animation().GoToFrame(9);
    EXPECT_EQ(AX(), 0);
}

}  // namespace
