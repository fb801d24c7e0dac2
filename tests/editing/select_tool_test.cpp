#include <set>

#include "editing/rg_select.h"
#include "tests/editing/tool_fixture.h"

namespace {

// Two overlapping squares at the origin (B nearer the front view than A), a
// joint L behind their corner, joints J and K to the right and left.
class SelectToolTest : public ToolTest {
protected:
    SelectToolTest() {
        a = AddSquare(0, 0, 0);
        a->SetName("A");
        b = AddSquare(0, 0, 1);
        b->SetName("B");
        l = AddJoint(nullptr, {1.5f, 1.5f, -5});
        l->SetName("L");
        j = AddJoint(nullptr, {5, 0, 0});
        j->SetName("J");
        k = AddJoint(nullptr, {-5, 0, 0});
        k->SetName("K");
        scene().RebuildTree();
        tools().Click(rgToolButton::EditSelect);
    }

    rgSceneNode* Named(const std::string& name) {
        for (rgSceneNode* n : {static_cast<rgSceneNode*>(a), static_cast<rgSceneNode*>(b),
                               static_cast<rgSceneNode*>(l), static_cast<rgSceneNode*>(j),
                               static_cast<rgSceneNode*>(k)})
            if (n->GetName() == name) return n;
        return nullptr;
    }
    void SelectOnly(const std::set<std::string>& names) {
        scene().ForEach([&](rgSceneNode* n) { n->SetSelected(names.count(n->GetName()) != 0); });
    }
    std::set<std::string> Selected() {
        std::set<std::string> names;
        scene().ForEach([&](rgSceneNode* n) {
            if (n->GetSelected()) names.insert(n->GetName());
        });
        return names;
    }

    rgMesh* a;
    rgMesh* b;
    rgBone* l;
    rgBone* j;
    rgBone* k;
};

struct SelectCase {
    const char* name;
    std::set<std::string> before;
    int shift;
    vector3 from, to;  // world points of press and release; equal for a click
    std::set<std::string> after;
    bool step;
};

TEST_F(SelectToolTest, ClicksAndFramesFollowTheModifierRules) {
    const SelectCase cases[] = {
        {"click a joint", {"A"}, 0, {5, 0, 0}, {5, 0, 0}, {"J"}, true},
        {"click empty space", {"J", "A"}, 0, {0, 8, 0}, {0, 8, 0}, {}, true},
        {"shift locks", {"J"}, kShiftKey, {0, 8, 0}, {0, 8, 0}, {"J"}, false},
        {"nearer mesh wins", {}, 0, {0, 0, 0}, {0, 0, 0}, {"B"}, true},
        {"ctrl adds the nearer mesh only", {"J"}, kCtrlKey, {0, 0, 0}, {0, 0, 0}, {"J", "B"}, true},
        {"alt removes", {"J", "B"}, kAltKey, {5, 0, 0}, {5, 0, 0}, {"B"}, true},
        {"alt on nothing", {"J"}, kAltKey, {0, 8, 0}, {0, 8, 0}, {"J"}, false},
        {"joint behind a mesh wins", {}, 0, {1.5f, 1.5f, 0}, {1.5f, 1.5f, 0}, {"L"}, true},
        {"frame takes everything inside",
         {},
         0,
         {-6, -1, 0},
         {6, 1, 0},
         {"A", "B", "J", "K"},
         true},
        {"ctrl frame adds", {"L"}, kCtrlKey, {4, -1, 0}, {6, 1, 0}, {"L", "J"}, true},
        {"alt frame removes", {"J", "K", "A"}, kAltKey, {4, -1, 0}, {7, 1, 0}, {"K", "A"}, true},
        {"same selection again", {"J"}, 0, {5, 0, 0}, {5, 0, 0}, {"J"}, false},
    };
    for (const SelectCase& c : cases) {
        SCOPED_TRACE(c.name);
        SelectOnly(c.before);
        editor.ClearUndo();
        state().modified = false;
        Press(PX(c.from.x), PY(c.from.y), c.shift);
        Move(PX(c.to.x), PY(c.to.y), c.shift);
        Release(PX(c.to.x), PY(c.to.y), c.shift);
        EXPECT_EQ(Selected(), c.after);
        EXPECT_EQ(editor.undo.Count(), c.step ? 1 : 0);
        if (c.step) {
            EXPECT_EQ(editor.undo.TopLabel(), "Change Selection");
        }
        EXPECT_TRUE(state().modified);  // every release marks the document
    }
}

TEST_F(SelectToolTest, TheJointTreeAndParentMarksFollowTheSelection) {
    rgBone* child = AddJoint(j, {1, 0, 0});
    child->SetName("child");
    scene().RebuildTree();
    Click(PX(5), PY(0));
    EXPECT_TRUE(tree.items.at(j).selected);
    EXPECT_FALSE(tree.items.at(k).selected);
    EXPECT_TRUE(child->parentselected);
    Click(PX(-5), PY(0));
    EXPECT_FALSE(tree.items.at(j).selected);
    EXPECT_FALSE(child->parentselected);
}

TEST_F(SelectToolTest, UntickedMeshesAndTheAnimationLevelLeaveMeshesAlone) {
    for (int variant = 0; variant < 2; ++variant) {
        SCOPED_TRACE(variant == 0 ? "Meshes unticked" : "Animation level");
        editor.toolOptions.selectMeshes = variant != 0;
        state().editLevel = variant == 0 ? kEditObjects : kEditAnimation;
        SelectOnly({"A"});
        Click(PX(0), PY(0));  // on the meshes only
        EXPECT_EQ(Selected(), (std::set<std::string>{"A"}));
        Drag(PX(-6), PY(-1), PX(6), PY(1));
        EXPECT_EQ(Selected(), (std::set<std::string>{"A", "J", "K"}));
    }
}

TEST_F(SelectToolTest, PressAndReleaseOnOnePixelIsAClickEvenWithAFrame) {
    // A click between the overlapping meshes takes only the nearer one; a
    // frame would take both.
    Press(PX(0), PY(0));
    Move(PX(3), PY(-3));
    Move(PX(0), PY(0));
    Release(PX(0), PY(0));
    EXPECT_EQ(Selected(), (std::set<std::string>{"B"}));
}

TEST_F(SelectToolTest, MovesRedrawEveryViewportAndShowTheFrameWhileDragging) {
    const int redraws = docView.redraws;
    Move(10, 10);
    Move(11, 10);
    EXPECT_EQ(docView.redraws, redraws + 2);
    EXPECT_TRUE(viewport.frames.empty());  // no button held: no frame
    Press(10, 10);
    Move(40, 30);
    ASSERT_EQ(viewport.frames.size(), 1u);
    EXPECT_EQ(viewport.frames.back(), (FakeToolViewport::Rect{10, 10, 40, 30}));
    Release(40, 30);
    Move(50, 50);
    EXPECT_EQ(viewport.frames.size(), 1u);  // the frame ends with the release
}

TEST_F(SelectToolTest, UndoBringsBackTheSceneAndANoOpClickKeepsTheStackAndTheNodes) {
    SelectOnly({"K"});
    const std::string before = SceneText(scene());
    Click(PX(5), PY(0));
    ASSERT_EQ(editor.undo.Count(), 1);
    editor.Undo();
    EXPECT_EQ(SceneText(scene()), before);

    // A full stack stays full and its nodes stay the same objects.
    state().maxUndoLevels = 2;
    editor.PushUndo("first");
    editor.PushUndo("second");
    rgSceneNode* first = scene().GetFirstNode();
    SelectOnly({"J"});
    Click(PX(5), PY(0));
    EXPECT_EQ(editor.undo.Count(), 2);
    EXPECT_EQ(editor.undo.TopLabel(), "second");
    EXPECT_EQ(scene().GetFirstNode(), first);
}

TEST_F(SelectToolTest, DegenerateInputChangesNothingUnexpected) {
    // A release far outside the window after a drag that left it.
    Press(PX(5), PY(0));
    Move(-500, 900);
    Release(-500, 900);
    // Release without a press, and a zero-size frame.
    Release(PX(0), PY(8));
    Drag(PX(5), PY(0), PX(5), PY(0));
    EXPECT_EQ(Selected(), (std::set<std::string>{"J"}));
    // An empty scene.
    scene().Clear();
    editor.ClearUndo();
    Click(PX(0), PY(0));
    Drag(0, 0, kSize, kSize);
    EXPECT_FALSE(editor.undo.HasSteps());
}

}  // namespace
