#include <cmath>
#include <numbers>

#include "editing/animation_control.h"
#include "editing/key_browser.h"
#include "tests/editing/tool_fixture.h"

namespace {

matrix44 At(float x, float turnDegrees = 0) {
    matrix44 m;
    m.rotate_z(turnDegrees * std::numbers::pi_v<float> / 180);
    m.translate(x, 0, 0);
    return m;
}

// A mesh, then joint A (keys at 5, 10, 20: x = 0, 10, 10, turned 0, 30, 30
// degrees about z), then joint B without keys. Spline interpolation.
class KeyBrowserTest : public ToolTest {
protected:
    KeyBrowserTest() {
        AddSquare(0, 0, 0);
        a = AddJoint(nullptr, {});
        b = AddJoint(a, {0, 1, 0});
        a->SetKey(5, At(0));
        a->SetKey(10, At(10, 30));
        a->SetKey(20, At(10, 30));
    }
    // A's pose at frame 11 after the browser's edits: its x and its turn.
    float XAt11() {
        editor.animation().GoToFrame(1);
        editor.animation().GoToFrame(11);
        return a->GetOffsetMatrix().pos_component().x;
    }
    float TurnAt11() {
        XAt11();
        return a->GetOffsetMatrix().get_eulers().z * 180 / std::numbers::pi_v<float>;
    }

    rgKeyBrowser browser{editor};
    rgBone* a;
    rgBone* b;
};

TEST_F(KeyBrowserTest, SteppingThroughTheKeysOfAJoint) {
    // Opened with no joint: the first joint in walk order, its first key.
    browser.Open(nullptr);
    EXPECT_EQ(browser.Joints(), (std::vector<rgBone*>{a, b}));
    EXPECT_EQ(browser.CurrentJoint(), a);
    const struct {
        void (rgKeyBrowser::*step)();
        const char *key, *frame;
    } steps[] = {
        {&rgKeyBrowser::PreviousKey, "1/3", "5/48"},  // stays on the first
        {&rgKeyBrowser::NextKey, "2/3", "10/48"},     {&rgKeyBrowser::NextKey, "3/3", "20/48"},
        {&rgKeyBrowser::NextKey, "3/3", "20/48"},  // and on the last
        {&rgKeyBrowser::PreviousKey, "2/3", "10/48"},
    };
    for (const auto& s : steps) {
        (browser.*s.step)();
        const rgKeyInfo info = browser.Shown();
        EXPECT_TRUE(info.hasKey);
        EXPECT_EQ(info.keyLabel, s.key);
        EXPECT_EQ(info.frameLabel, s.frame);
    }
    const rgKeyInfo info = browser.Shown();
    EXPECT_EQ(info.translation, vector3(10, 0, 0));
    EXPECT_TRUE(info.rotation.isequal(vector3(0, 0, 30), 1e-4f));
    EXPECT_EQ(state().currentFrame, 1);  // Objects level: the frame stays

    // A joint without keys, then none at all.
    browser.ChooseJoint(1);
    EXPECT_EQ(browser.KeyIndex(), 0);
    EXPECT_FALSE(browser.Shown().hasKey);
    EXPECT_EQ(browser.Shown().keyLabel, "n/a (no keys))");
    EXPECT_EQ(browser.Shown().frameLabel, "n/a (no keys)");
    browser.NextKey();
    browser.PreviousKey();
    EXPECT_EQ(browser.KeyIndex(), 0);
    browser.SetTranslation({1, 2, 3});  // nothing to edit: nothing happens
    browser.ChooseJoint(7);
    EXPECT_EQ(browser.CurrentJoint(), nullptr);
    EXPECT_EQ(browser.Shown().keyLabel, "n/a");

    // Opened on a joint, at the Animation level: the frame follows the key.
    tools().ChangeLevel(kEditAnimation);
    browser.Open(a);
    EXPECT_EQ(state().currentFrame, 5);
    browser.NextKey();
    EXPECT_EQ(state().currentFrame, 10);
    browser.Open(b);
    EXPECT_EQ(browser.JointIndex(), 1);
    EXPECT_EQ(state().currentFrame, 10);
}

TEST_F(KeyBrowserTest, EditsChangeTheKeyInPlaceAndTheNextEvaluation) {
    tools().ChangeLevel(kEditAnimation);
    browser.Open(a);
    browser.NextKey();  // the key at frame 10
    const matrix44 pose = a->GetOffsetMatrix();
    browser.SetTranslation({10, 0, 5});
    EXPECT_EQ(a->GetKeyAt(10)->matrix.pos_component(), vector3(10, 0, 5));
    EXPECT_TRUE(browser.Shown().rotation.isequal(vector3(0, 0, 30), 1e-4f));
    EXPECT_EQ(a->GetOffsetMatrix(), pose);  // the pose changes at the next frame change
    EXPECT_EQ(editor.undo.Count(), 0);
    browser.SetTranslation({10, 0, 0});

    // From 10 to 20 the joint stands still; the key at 10 decides how it
    // leaves the motion it came with: its outgoing tangent is c = 20/3 (1 - T)
    // (1 + C) (1 + B), and x(11) = 10 + 0.081 c (u = 0.1 of the segment).
    const struct {
        vector3 tcb;
        float x;
    } translations[] = {
        {{0, 0, 0}, 10.54f}, {{1, 0, 0}, 10.0f},   // tension 1: no tangent
        {{0, 0, 1}, 11.08f}, {{0, 0, -1}, 10.0f},  // bias: all incoming, all outgoing
        {{0, 1, 0}, 11.08f}, {{-1, 0, 0}, 11.08f},
    };
    for (const auto& t : translations) {
        browser.SetTranslationTcb(t.tcb);
        EXPECT_EQ(a->GetKeyAt(10)->trans_tcb, t.tcb);
        EXPECT_NEAR(XAt11(), t.x, 1e-4f) << t.tcb.x << " " << t.tcb.y << " " << t.tcb.z;
        browser.Open(a);
        browser.NextKey();
    }
    browser.SetTranslationTcb({0, 0, 0});
    // The same for the turn: bias -1 holds it at 30 degrees, +1 carries it on.
    browser.SetRotationTcb({0, 0, -1});
    EXPECT_NEAR(TurnAt11(), 30.0f, 1e-3f);
    browser.Open(a);
    browser.NextKey();
    browser.SetRotationTcb({0, 0, 1});
    EXPECT_GT(TurnAt11(), 30.5f);
    EXPECT_EQ(a->GetKeyAt(10)->rot_tcb, vector3(0, 0, 1));
}

}  // namespace
