#include <numbers>

#include "editing/rg_rotate.h"
#include "editing/rg_scale.h"
#include "editing/rg_translate.h"
#include "tests/editing/tool_fixture.h"

namespace {

constexpr float kHalfPi = static_cast<float>(std::numbers::pi / 2);

// One selected joint N at (2, 1, 0) and a mesh square M (side 1) at (-3, -3, 0).
class TransformToolTest : public ToolTest {
protected:
    TransformToolTest() {
        n = AddJoint(nullptr, {2, 1, 0});
        n->SetName("N");
        n->SetSelected(true);
        m = AddSquare(-3, -3, 0, 1);
        m->SetName("M");
    }

    // Undo brings back copies of the nodes.
    void TakeNodesAfresh() {
        n = ToBone(scene().GetRootNode()->GetChild(0));
        m = ToMesh(scene().GetRootNode()->GetChild(1));
    }

    rgBone* n;
    rgMesh* m;
};

struct TranslateCase {
    const char* name;
    int projection;
    float zoom;
    int coord;
    float turnZ;  // radians the node is turned about Z first
    int axis;
    int dx, dy;
    vector3 moved;  // world displacement
};

TEST_F(TransformToolTest, TranslateHandleDragsMoveAlongTheChosenAxis) {
    const TranslateCase cases[] = {
        {"top view, X, zoom 0.01", kProjTop, 0.01f, kCoordGlobal, 0, kAxisX, 100, 0, {50, 0, 0}},
        {"front, X", kProjFront, 0.1f, kCoordGlobal, 0, kAxisX, 100, 0, {5, 0, 0}},
        {"front, Y follows the horizontal move",
         kProjFront,
         0.1f,
         kCoordGlobal,
         0,
         kAxisY,
         100,
         0,
         {0, 5, 0}},
        {"front, up and down alone do nothing",
         kProjFront,
         0.1f,
         kCoordGlobal,
         0,
         kAxisX,
         0,
         -60,
         {0, 0, 0}},
        {"top, Z", kProjTop, 0.1f, kCoordGlobal, 0, kAxisZ, -40, 0, {0, 0, -2}},
        {"local X of a node turned about Z is world Y",
         kProjFront,
         0.1f,
         kCoordLocal,
         -kHalfPi,
         kAxisX,
         100,
         0,
         {0, 5, 0}},
        {"global X of the same node",
         kProjFront,
         0.1f,
         kCoordGlobal,
         -kHalfPi,
         kAxisX,
         100,
         0,
         {5, 0, 0}},
    };
    tools().Click(rgToolButton::EditTranslate);
    for (const TranslateCase& c : cases) {
        SCOPED_TRACE(c.name);
        viewport.state.projection = c.projection;
        viewport.state.orthoView.set(0, 0, c.zoom);
        tools().SetCoordSystem(c.coord);
        n->GetLocalMatrix().ident();
        n->GetLocalMatrix().translate(2, 1, 0);
        n->Rotate({0, 0, c.turnZ}, matrix44());
        editor.ClearUndo();
        const std::string before = SceneText(scene());
        const vector3 start = WorldPosition(n);
        DragHandle(n, c.axis, c.dx, c.dy, 3);
        EXPECT_TRUE(Near(WorldPosition(n) - start, c.moved));
        EXPECT_EQ(editor.undo.TopLabel(), "Translate Objects");
        EXPECT_EQ(state().activeAxis, kAxisNone);
        EXPECT_TRUE(n->GetSelected());
        editor.Undo();
        EXPECT_EQ(SceneText(scene()), before);
        TakeNodesAfresh();
    }
}

TEST_F(TransformToolTest, PerspectiveArrowDragScalesWithTheDistanceToTheEye) {
    // The default perspective camera's eye point is (0, 30, 100): N at (0, 30, 0) is 100 away.
    viewport.state.projection = kProjPerspective;
    n->GetLocalMatrix().ident();
    n->GetLocalMatrix().translate(0, 30, 0);
    tools().SetCoordSystem(kCoordGlobal);
    tools().Click(rgToolButton::EditTranslate);
    DragHandle(n, kAxisX, 100, 0);
    EXPECT_TRUE(Near(WorldPosition(n), {20, 30, 0}));
}

// "Handles follow the pointer": the point grabbed on an arrow stays under
// the pointer (as far as the arrow's line allows), in flat and deep views,
// in several steps and with the arrow turned on screen.
TEST_F(TransformToolTest, WithHandlesFollowingThePointerTheGrabbedPointStaysUnderIt) {
    editor.state().handlesFollowPointer = true;
    const struct {
        const char* name;
        int projection;
        float turnZ;
        int axis;
        int dx, dy, steps;
    } cases[] = {
        {"front view, x", kProjFront, 0, kAxisX, 37, 0, 1},
        {"front view, x turned 30 degrees, dragged along it", kProjFront, 0.5235988f, kAxisX, 26, -15, 3},
        {"perspective, x", kProjPerspective, 0, kAxisX, 40, 0, 4},
        {"perspective, y", kProjPerspective, 0, kAxisY, 0, -30, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        viewport.state.projection = c.projection;
        n->GetLocalMatrix().ident();
        n->GetLocalMatrix().rotate_z(c.turnZ);
        n->GetLocalMatrix().translate(2, 1, 0);
        tools().SetCoordSystem(kCoordLocal);
        tools().Click(rgToolButton::EditTranslate);
        scene().UpdateScene();
        const rgPixel before = viewport.PixelOf(WorldPosition(n));
        DragHandle(n, c.axis, c.dx, c.dy, c.steps);
        const rgPixel after = viewport.PixelOf(WorldPosition(n));
        EXPECT_NEAR(after.x - before.x, c.dx, 1.5);
        EXPECT_NEAR(after.y - before.y, c.dy, 1.5);
        tools().Click(rgToolButton::EditSelect);
        TakeNodesAfresh();
    }
}

TEST_F(TransformToolTest, TheCentreSphereKeepsANodeUnderTheCursor) {
    rgBone* child = AddJoint(n, {1, 1, 0});  // a translated joint under a translated joint
    n->SetSelected(false);
    child->SetSelected(true);
    tools().Click(rgToolButton::EditTranslate);
    const rgPixel h = Handle(child, kAxisCentre);
    Press(h.x, h.y);
    Move(h.x + 13, h.y - 7);
    Move(h.x + 20, h.y - 20);
    Release(h.x + 20, h.y - 20);
    EXPECT_TRUE(Near(WorldPosition(child), {5, 4, 0}));
}

TEST_F(TransformToolTest, RotateAndScaleDrags) {
    tools().SetCoordSystem(kCoordGlobal);
    tools().Click(rgToolButton::EditRotate);
    const std::string before = SceneText(scene());
    DragHandle(n, kAxisY, 180, 0, 4);  // half a degree per pixel: 90 degrees about Y
    scene().UpdateScene();
    EXPECT_TRUE(Near(n->GetGlobalMatrix().x_component(), {0, 0, 1}));
    EXPECT_TRUE(Near(WorldPosition(n), {2, 1, 0}));
    EXPECT_EQ(editor.undo.TopLabel(), "Rotate Objects");
    editor.Undo();
    EXPECT_EQ(SceneText(scene()), before);
    TakeNodesAfresh();

    // Scaling out and back returns the mesh to its size; one axis scales that axis.
    scene().ForEach([](rgSceneNode* node) { node->SetSelected(node->IsMesh()); });
    tools().Click(rgToolButton::EditScale);
    const rgPixel h = Handle(m, kAxisCentre);
    Press(h.x, h.y);
    Move(h.x + 100, h.y);
    Move(h.x, h.y);
    Release(h.x, h.y);
    EXPECT_TRUE(Near(m->GetVertex(2)->position, {-2.5f, -2.5f, 0}));
    DragHandle(m, kAxisX, 100, 0);
    EXPECT_TRUE(Near(m->GetVertex(2)->position, {-3.75f, -2.5f, 0}));
    EXPECT_EQ(editor.undo.TopLabel(), "Scale Objects");
}

TEST_F(TransformToolTest, APressOnAHandleWithoutMovingKeepsOrDropsItsStep) {
    for (rgToolButton button : {rgToolButton::EditTranslate, rgToolButton::EditRotate}) {
        tools().Click(button);
        editor.ClearUndo();
        const std::string before = SceneText(scene());
        PressAndRelease(n, kAxisX);
        EXPECT_EQ(editor.undo.Count(), 1);
        EXPECT_EQ(SceneText(scene()), before);
    }
    // The scale tool drops its step when its last selection pass changed
    // nothing, and keeps it right after a click that selected the node.
    tools().Click(rgToolButton::EditScale);
    editor.ClearUndo();
    PressAndRelease(n, kAxisX);
    EXPECT_EQ(editor.undo.Count(), 0);
    EXPECT_EQ(state().activeAxis, kAxisX);  // lit until the next press
    n->SetSelected(false);
    Click(Handle(n, kAxisCentre).x, Handle(n, kAxisCentre).y);
    ASSERT_TRUE(n->GetSelected());
    editor.ClearUndo();
    PressAndRelease(n, kAxisX);
    EXPECT_EQ(editor.undo.Count(), 1);
}

TEST_F(TransformToolTest, APressAwayFromTheHandlesSelects) {
    tools().Click(rgToolButton::EditTranslate);
    const rgPixel mesh = viewport.PixelOf({-3, -3, 0});
    Click(mesh.x, mesh.y, kCtrlKey);
    EXPECT_TRUE(m->GetSelected());
    EXPECT_TRUE(n->GetSelected());
    EXPECT_EQ(editor.undo.TopLabel(), "Change Selection");
    Click(mesh.x, mesh.y);
    EXPECT_FALSE(n->GetSelected());
}

TEST_F(TransformToolTest, NumericEntryMovesTurnsAndScalesTheSelection) {
    n->Rotate({0, 0, -kHalfPi}, matrix44());
    m->SetSelected(true);
    tools().TranslateSelection(1, 0, 0);  // "Local": along N's own X, world Y
    EXPECT_TRUE(Near(WorldPosition(n), {2, 2, 0}));
    EXPECT_TRUE(Near(WorldPosition(m), {1, 0, 0}));
    tools().SetCoordSystem(kCoordGlobal);
    tools().TranslateSelection(0, 0, 2);
    EXPECT_TRUE(Near(WorldPosition(n), {2, 2, 2}));
    EXPECT_EQ(editor.undo.TopLabel(), "Translate Objects");

    tools().RotateSelection(0, 0, 90);
    scene().UpdateScene();
    EXPECT_TRUE(Near(n->GetGlobalMatrix().x_component(), {1, 0, 0}));
    EXPECT_EQ(editor.undo.TopLabel(), "Rotate Objects");

    const int steps = editor.undo.Count();
    tools().ScaleSelection(2, 0, 1);  // refused
    EXPECT_EQ(editor.undo.Count(), steps);
    tools().ScaleSelection(2, 1, 1);
    EXPECT_TRUE(Near(m->GetVertex(1)->position, {-5, -3.5f, 0}));
    EXPECT_EQ(editor.undo.TopLabel(), "Scale Objects");
}

TEST_F(TransformToolTest, DragsThatCannotActChangeNothingAndNeverCrash) {
    // Without an active viewport window the drag moves nothing; the step stays.
    toolView.activeViewport = false;
    tools().Click(rgToolButton::EditTranslate);
    DragHandle(n, kAxisX, 100, 0);
    EXPECT_TRUE(Near(WorldPosition(n), {2, 1, 0}));
    EXPECT_EQ(editor.undo.TopLabel(), "Translate Objects");
    toolView.activeViewport = true;

    // A handle of a node a script deleted is not there to press.
    const rgPixel h = Handle(n, kAxisX);
    delete n;
    editor.ClearUndo();
    Press(h.x, h.y);
    Move(h.x + 50, h.y);
    Release(h.x + 50, h.y);
    EXPECT_EQ(editor.undo.TopLabel(), "");
    EXPECT_FALSE(tools().translate().Dragging());
}

}  // namespace
