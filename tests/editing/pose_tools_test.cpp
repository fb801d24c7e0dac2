#include <functional>
#include <numbers>

#include "editing/animation_control.h"
#include "editing/rg_bone_rotate.h"
#include "editing/rg_bone_translate.h"
#include "tests/editing/tool_fixture.h"

namespace {

constexpr float kHalfPi = static_cast<float>(std::numbers::pi / 2);

// At the Animation level: joint P at (2, 1, 0) with a child C 2 above it,
// joint Q at (-2, 3, 0) and a mesh square M at (-3, -3, 0). P is selected.
class PoseToolTest : public ToolTest {
protected:
    PoseToolTest() {
        p = AddJoint(nullptr, {2, 1, 0});
        c = AddJoint(p, {0, 2, 0});
        q = AddJoint(nullptr, {-2, 3, 0});
        m = AddSquare(-3, -3, 0, 1);
        tools().ChangeLevel(kEditAnimation);
        p->SetSelected(true);
    }
    void TakeNodesAfresh() {
        p = ToBone(scene().GetRootNode()->GetChild(0));
        c = ToBone(p->GetChild(0));
        q = ToBone(scene().GetRootNode()->GetChild(1));
        m = ToMesh(scene().GetRootNode()->GetChild(2));
    }
    static matrix44 TurnedAboutZ(float angle) {
        matrix44 r;
        r.rotate(0, 0, 1, angle);
        return r;
    }

    rgBone *p, *c, *q;
    rgMesh* m;
};

TEST_F(PoseToolTest, HandleDragsPoseTheSelectedJointsOffsets) {
    const struct {
        const char* name;
        rgToolButton tool;
        int coord;
        float restTurnZ;  // P's rest matrix turned about Z first
        int axis;
        int dx;
        vector3 p, c;  // world positions afterwards
        const char* label;
    } cases[] = {
        {"translate X, global",
         rgToolButton::AnimateTranslate,
         kCoordGlobal,
         0,
         kAxisX,
         50,
         {4.5f, 1, 0},
         {4.5f, 3, 0},
         "Translate Objects"},
        {"translate X, local axes turned to world Y",
         rgToolButton::AnimateTranslate,
         kCoordLocal,
         -kHalfPi,
         kAxisX,
         50,
         {2, 3.5f, 0},
         {0, 3.5f, 0},
         "Translate Objects"},
        {"translate by the centre in the view plane",
         rgToolButton::AnimateTranslate,
         kCoordLocal,
         0,
         kAxisCentre,
         30,
         {5, 1, 0},
         {5, 3, 0},
         "Translate Objects"},
        {"rotate Z, 180 pixels: 90 degrees",
         rgToolButton::AnimateRotate,
         kCoordGlobal,
         0,
         kAxisZ,
         180,
         {2, 1, 0},
         {4, 1, 0},
         "Rotate Objects"},
        {"rotate X in the local frame of a turned rest: about world Y",
         rgToolButton::AnimateRotate,
         kCoordLocal,
         -kHalfPi,
         kAxisX,
         180,
         {2, 1, 0},
         {2, 1, -2},
         "Rotate Objects"},
    };
    m->SetSelected(true);  // a mesh selected with the joints stays where it is
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        tools().SetDown(k.tool, true);
        tools().SetCoordSystem(k.coord);
        p->GetLocalMatrix() = TurnedAboutZ(k.restTurnZ);
        p->GetLocalMatrix().translate(2, 1, 0);
        const matrix44 rest = p->GetLocalMatrix();
        editor.ClearUndo();
        const std::string before = SceneText(scene());
        DragHandle(p, k.axis, k.dx, 0, 3);
        EXPECT_TRUE(Near(WorldPosition(p), k.p));
        EXPECT_TRUE(Near(WorldPosition(c), k.c));
        EXPECT_EQ(p->GetLocalMatrix(), rest);
        EXPECT_EQ(m->GetMatrix(), matrix44());
        EXPECT_EQ(q->GetOffsetMatrix(), matrix44());
        EXPECT_EQ(editor.undo.Count(), 1);
        EXPECT_EQ(editor.undo.TopLabel(), k.label);
        editor.Undo();
        EXPECT_EQ(SceneText(scene()), before);
        TakeNodesAfresh();
    }
}

TEST_F(PoseToolTest, NumericEntryGoesToThePoseToolsAtTheAnimationLevel) {
    matrix44 rest;
    rest.translate(2, 1, 0);
    tools().RotateSelection(0, 45, 0);
    scene().UpdateScene();
    EXPECT_TRUE(Near(p->GetGlobalMatrix().x_component(), {0.7071068f, 0, 0.7071068f}));
    EXPECT_EQ(p->GetLocalMatrix(), rest);
    EXPECT_EQ(editor.undo.TopLabel(), "Rotate Objects");
    tools().TranslateSelection(0, 0, 2);  // "Local": along P's own Z, turned by the pose
    EXPECT_TRUE(Near(WorldPosition(p), {2 - 1.4142136f, 1, 1.4142136f}));
    EXPECT_EQ(editor.undo.TopLabel(), "Translate Objects");
    tools().SetCoordSystem(kCoordGlobal);
    tools().TranslateSelection(0, 0, 2);
    EXPECT_TRUE(Near(WorldPosition(p), {2 - 1.4142136f, 1, 3.4142136f}));
    EXPECT_EQ(p->GetLocalMatrix(), rest);
    for (int i = 0; i < 3; ++i) editor.Undo();
    TakeNodesAfresh();
    EXPECT_EQ(p->GetOffsetMatrix(), matrix44());

    // At the Objects level the same entry turns rest matrices.
    tools().ChangeLevel(kEditObjects);
    p->SetSelected(true);
    tools().RotateSelection(0, 45, 0);
    EXPECT_EQ(p->GetOffsetMatrix(), matrix44());
    EXPECT_TRUE(Near(p->GetLocalMatrix().x_component(), {0.7071068f, 0, 0.7071068f}));
}

TEST_F(PoseToolTest, AutoKeyframingKeysTheSelectedJointsAfterEachPoseChange) {
    rgAnimationControl& animation = editor.animation();
    animation.GoToFrame(12);
    const struct {
        const char* name;
        rgToolButton tool;
        bool autoKeys;
        std::function<void()> act;
        bool poses;  // the action changes P's pose
        bool keyed;
    } cases[] = {
        {"a rotate drag", rgToolButton::AnimateRotate, true,
         [this] { DragHandle(p, kAxisZ, 40, 0); }, true, true},
        {"a translate drag", rgToolButton::AnimateTranslate, true,
         [this] { DragHandle(p, kAxisX, 40, 0); }, true, true},
        {"a press on a handle without moving", rgToolButton::AnimateRotate, true,
         [this] { PressAndRelease(p, kAxisY); }, false, true},
        {"numeric rotation", rgToolButton::AnimateRotate, true,
         [this] { tools().RotateSelection(10, 0, 0); }, true, true},
        {"numeric translation", rgToolButton::AnimateSelect, true,
         [this] { tools().TranslateSelection(1, 0, 0); }, true, true},
        {"a selection click", rgToolButton::AnimateRotate, true,
         [this] { Click(PX(-2), PY(3), kCtrlKey); }, false, false},
        {"a drag with auto keys off", rgToolButton::AnimateRotate, false,
         [this] { DragHandle(p, kAxisZ, 40, 0); }, true, false},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        tools().SetDown(k.tool, true);
        animation.SetAutoKeyframing(k.autoKeys);
        p->SetSelected(true);
        q->SetSelected(false);
        scene().ForEach([](rgSceneNode* node) {
            if (rgBone* joint = ToBone(node)) joint->DeleteKey(12);
        });
        const matrix44 before = p->GetOffsetMatrix();
        k.act();
        EXPECT_EQ(p->GetOffsetMatrix() != before, k.poses);
        EXPECT_EQ(p->HasKey(12), k.keyed);
        if (k.keyed) {
            EXPECT_EQ(*p->GetKeyMatrix(12), p->GetOffsetMatrix());
        }
        EXPECT_EQ(p->GetKeyCount(), k.keyed ? 1 : 0);
        EXPECT_FALSE(c->HasKey(12));  // not selected
        EXPECT_FALSE(q->HasKey(12));
    }

    // Unkeyed, a pose lasts until the frame changes on a joint with keys;
    // a joint without keys keeps it.
    p->ResetOffset();
    p->SetKeyFromOffset(12);
    q->SetSelected(true);
    tools().RotateSelection(0, 0, 30);
    const matrix44 qPose = q->GetOffsetMatrix();
    EXPECT_NE(p->GetOffsetMatrix(), matrix44());
    animation.GoToFrame(13);
    EXPECT_EQ(p->GetOffsetMatrix(), matrix44());
    EXPECT_EQ(q->GetOffsetMatrix(), qPose);
}

}  // namespace
