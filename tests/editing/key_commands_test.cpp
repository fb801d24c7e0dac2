#include <cstdio>
#include <functional>

#include "editing/animation_control.h"
#include "editing/key_commands.h"
#include "tests/editing/tool_fixture.h"

namespace {

class KeyRepaints : public rgAnimationView {
public:
    void ShowKeys(bool keyAtCurrentFrame) override {
        ++repaints;
        deleteKeyEnabled = keyAtCurrentFrame;
    }
    int repaints = 0;
    bool deleteKeyEnabled = false;
};

matrix44 At(float x) {
    matrix44 m;
    m.translate(x, 0, 0);
    return m;
}

// Every joint's keys: frame, matrix x and the two parameter triples.
std::string KeysText(rgScene& scene) {
    std::string out;
    char buf[96];
    scene.ForEach([&](rgSceneNode* node) {
        rgBone* joint = ToBone(node);
        if (!joint) return;
        out += joint->GetName() + ":";
        for (int i = 0; i < joint->GetKeyCount(); ++i) {
            const rgKeyframe& k = *joint->GetKey(i);
            std::snprintf(buf, sizeof buf, " %d(%g|%g %g %g|%g %g %g)", k.frame,
                          k.matrix.pos_component().x, k.trans_tcb.x, k.trans_tcb.y, k.trans_tcb.z,
                          k.rot_tcb.x, k.rot_tcb.y, k.rot_tcb.z);
            out += buf;
        }
        out += "\n";
    });
    return out;
}

// Frames of a joint's keys, as "1 5 9".
std::string Frames(const rgBone* joint) {
    std::string out;
    for (int i = 0; i < joint->GetKeyCount(); ++i)
        out += (out.empty() ? "" : " ") + std::to_string(joint->GetKey(i)->frame);
    return out;
}

// Three joints at the Animation level with linear keys: A at 1, 5, 9 (x =
// 0, 4, 8, with spline parameters), B at 5 and 20, C none; B is selected;
// the current frame is 5.
class KeyCommandsTest : public ToolTest {
protected:
    KeyCommandsTest() {
        editor.animation().SetView(&view);
        tools().ChangeLevel(kEditAnimation);
        state().interpolation = kInterpLinear;
        a = AddJoint(nullptr, {0, 0, 0});
        b = AddJoint(a, {0, 2, 0});
        c = AddJoint(nullptr, {3, 0, 0});
        for (int f : {1, 5, 9}) a->SetKey(f, At(static_cast<float>(f - 1)), 0.5f, 0, 0, 0, 0, -1);
        b->SetKey(5, At(1));
        b->SetKey(20, At(2));
        b->SetSelected(true);
        editor.animation().GoToFrame(5);
    }

    // Runs `edit`, checks its undo label, then undoes it and checks that the
    // scene and its keys are as before.
    void ExpectUndoable(const char* label, const std::function<void()>& edit,
                        const std::function<void()>& check) {
        const std::string scene = SceneText(this->scene());
        const std::string keys = KeysText(this->scene());
        const int steps = editor.undo.Count();
        edit();
        EXPECT_EQ(editor.undo.Count(), steps + 1);
        EXPECT_EQ(editor.undo.TopLabel(), label);
        check();
        editor.Undo();
        EXPECT_EQ(SceneText(this->scene()), scene);
        EXPECT_EQ(KeysText(this->scene()), keys);
        // Undo put new joints in place.
        std::vector<rgBone*> joints;
        this->scene().ForEach([&](rgSceneNode* n) {
            if (rgBone* j = ToBone(n)) joints.push_back(j);
        });
        a = joints[0], b = joints[1], c = joints[2];
    }

    KeyRepaints view;
    rgBone* a;
    rgBone* b;
    rgBone* c;
};

TEST_F(KeyCommandsTest, SettingKeysTakesThePresentPose) {
    b->TranslateOffset({3, 0, 0}, matrix44());
    ExpectUndoable(
        "Set Keyframe", [&] { SetKeyframe(editor, true); },
        [&] {
            EXPECT_EQ(Frames(a), "1 5 9");
            EXPECT_EQ(b->GetKeyAt(5)->matrix.pos_component().x, 4.0f);
            EXPECT_EQ(Frames(c), "");
            EXPECT_TRUE(view.deleteKeyEnabled);
        });
    editor.animation().GoToFrame(7);
    ExpectUndoable(
        "Set Keyframe", [&] { SetKeyframe(editor, false); },
        [&] {
            EXPECT_EQ(Frames(a), "1 5 7 9");
            EXPECT_EQ(Frames(b), "5 7 20");
            EXPECT_EQ(Frames(c), "7");
            EXPECT_EQ(a->GetKeyAt(7)->matrix.pos_component().x, 6.0f);
            EXPECT_EQ(a->GetKeyAt(7)->trans_tcb, vector3(0, 0, 0));
            EXPECT_TRUE(view.deleteKeyEnabled);
        });
}

TEST_F(KeyCommandsTest, DeletingTheKeyUnderTheCurrentFramePosesAgain) {
    ExpectUndoable(
        "Delete Keyframe", [&] { DeleteKeyframe(editor, true); },
        [&] {
            EXPECT_EQ(Frames(a), "1 5 9");
            EXPECT_EQ(Frames(b), "20");
            EXPECT_EQ(b->GetOffsetMatrix().pos_component().x, 2.0f);  // the one key left
            EXPECT_TRUE(view.deleteKeyEnabled);                       // A still has one here
        });
    ExpectUndoable(
        "Delete Keyframe", [&] { DeleteKeyframe(editor, false); },
        [&] {
            EXPECT_EQ(Frames(a), "1 9");
            EXPECT_EQ(Frames(b), "20");
            EXPECT_NEAR(a->GetOffsetMatrix().pos_component().x, 4.0f, 1e-5f);  // between 1 and 9
            EXPECT_FALSE(view.deleteKeyEnabled);
        });
    // With no joint selected the step is still recorded and the pose evaluated.
    b->SetSelected(false);
    a->TranslateOffset({100, 0, 0}, matrix44());
    ExpectUndoable(
        "Delete Keyframe", [&] { DeleteKeyframe(editor, true); },
        [&] {
            EXPECT_EQ(Frames(a), "1 5 9");
            EXPECT_EQ(a->GetOffsetMatrix().pos_component().x, 4.0f);
        });
}

TEST_F(KeyCommandsTest, BlocksOfKeysMoveCopyAndGo) {
    // Frames 4..8 of A and B move by 4: A's key at 5 replaces its key at 9,
    // B's key at 5 goes to 9.
    ExpectUndoable(
        "Move Keyframes",
        [&] {
            MoveKeyframes(editor, {{a, b}, 4, 8}, 4, false);
        },
        [&] {
            EXPECT_EQ(Frames(a), "1 9");
            EXPECT_EQ(a->GetKeyAt(9)->matrix.pos_component().x, 4.0f);
            EXPECT_EQ(a->GetKeyAt(9)->trans_tcb.x, 0.5f);  // moved keys keep them
            EXPECT_EQ(Frames(b), "9 20");
        });
    // A copy across joints: A's keys over frames 1..9 onto C, which has no
    // keys, go nowhere; A's own copies land 10 frames on without parameters.
    ExpectUndoable(
        "Copy Keyframes",
        [&] {
            MoveKeyframes(editor, {{a, c}, 1, 9}, 10, true);
        },
        [&] {
            EXPECT_EQ(Frames(a), "1 5 9 11 15 19");
            EXPECT_EQ(a->GetKeyAt(15)->matrix.pos_component().x, 4.0f);
            EXPECT_EQ(a->GetKeyAt(15)->trans_tcb.x, 0.0f);
            EXPECT_EQ(Frames(c), "");
        });
    ExpectUndoable(
        "Delete Keyframes",
        [&] {
            DeleteKeyframes(editor, {{b, c}, 1, 19});
        },
        [&] {
            EXPECT_EQ(Frames(a), "1 5 9");
            EXPECT_EQ(Frames(b), "20");
            EXPECT_TRUE(view.deleteKeyEnabled);  // A's key at 5
        });
}

TEST_F(KeyCommandsTest, EmptyOrStaleBlocksChangeNothing) {
    const std::string keys = KeysText(scene());
    const int repaints = view.repaints;
    EXPECT_FALSE(MoveKeyframes(editor, {{a, b}, 1, 9}, 0, false));  // a click, no drag
    EXPECT_FALSE(MoveKeyframes(editor, {{a, b}, 1, 9}, 0, true));
    EXPECT_FALSE(MoveKeyframes(editor, {{}, 1, 9}, 3, false));
    EXPECT_FALSE(DeleteKeyframes(editor, {{a}, 5, 4}));  // no selection: only a repaint
    EXPECT_EQ(view.repaints, repaints + 1);
    EXPECT_EQ(editor.undo.Count(), 0);
    EXPECT_EQ(KeysText(scene()), keys);

    // A joint deleted while its row is selected drops out of the block.
    rgKeyBlock block{{a, b, c}, 1, 20};
    a->DetachChild(b);
    delete b;
    EXPECT_TRUE(MoveKeyframes(editor, block, 2, false));
    EXPECT_EQ(Frames(a), "3 7 11");
}

}  // namespace
