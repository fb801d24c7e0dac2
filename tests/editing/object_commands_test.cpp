#include <set>

#include "editing/object_commands.h"
#include "editing/rg_bone_create.h"
#include "editing/rg_object_prop.h"
#include "tests/editing/tool_fixture.h"

namespace {

class FakeDialogs : public rgCommandDialogs {
public:
    bool AskMirrorAxes(bool& x, bool& y, bool& z) override {
        ++asked;
        x = axes[0], y = axes[1], z = axes[2];
        return confirm;
    }
    bool confirm = true;
    bool axes[3] = {false, false, false};
    int asked = 0;
};

// A joint A with a child B and a grandchild C; a mesh M beside them.
class ObjectCommandsTest : public ToolTest {
protected:
    ObjectCommandsTest() {
        editor.SetDialogs(&dialogs);
        a = AddJoint(nullptr, {1, 0, 0});
        a->SetName("A");
        b = AddJoint(a, {0, 1, 0});
        b->SetName("B");
        c = AddJoint(b, {0, 1, 0});
        c->SetName("C");
        m = AddSquare(-4, 0, 0);
        m->SetName("M");
        scene().RebuildTree();
    }
    ~ObjectCommandsTest() override { editor.SetDialogs(nullptr); }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        scene().ForEach([&](rgSceneNode* n) { names.push_back(n->GetName()); });
        return names;
    }
    std::set<std::string> Selected() {
        std::set<std::string> names;
        scene().ForEach([&](rgSceneNode* n) {
            if (n->GetSelected()) names.insert(n->GetName());
        });
        return names;
    }

    FakeDialogs dialogs;
    rgBone *a, *b, *c;
    rgMesh* m;
};

TEST_F(ObjectCommandsTest, DuplicateAndDeleteWorkOnSubtreesAndUndoInOneStep) {
    b->SetSelected(true);
    c->SetSelected(true);
    const std::string before = SceneText(scene());
    ASSERT_TRUE(editor.commands.Run("Edit.DuplicateObjects"));
    EXPECT_EQ(Names(),
              (std::vector<std::string>{"A", "B", "C", "C Copy", "B Copy", "C Copy", "M"}));
    EXPECT_EQ(editor.undo.TopLabel(), "Duplicate Objects");
    editor.Undo();
    EXPECT_EQ(SceneText(scene()), before);

    // Deleting a selected joint and its selected child: both go, one step brings them back.
    a = ToBone(scene().GetFirstNode());
    rgBone* child = ToBone(a->GetChild(0));
    m = ToMesh(scene().GetRootNode()->GetChild(1));
    const int childId = child->GetId();
    m->GetVertex(0)->bone[0] = childId;
    child->SetSelected(true);
    tools().Click(rgToolButton::EditCreateBone);  // takes the selected child as its current joint
    ASSERT_NE(tools().boneCreate().CurrentJoint(), nullptr);
    ASSERT_TRUE(editor.commands.Run("Edit.DeleteObjects"));
    EXPECT_EQ(Names(), (std::vector<std::string>{"A", "M"}));
    EXPECT_EQ(tools().boneCreate().CurrentJoint(), nullptr);
    EXPECT_EQ(m->GetVertex(0)->bone[0], childId);  // weights are not touched
    editor.Undo();
    m = ToMesh(scene().GetRootNode()->GetChild(1));
    m->GetVertex(0)->bone[0] = -1;
    EXPECT_EQ(SceneText(scene()), before);
}

TEST_F(ObjectCommandsTest, MirrorAsksForItsAxes) {
    m->SetSelected(true);
    dialogs.confirm = false;
    editor.commands.Run("Edit.MirrorObjects");
    EXPECT_FALSE(editor.undo.HasSteps());  // cancelled: nothing
    dialogs.confirm = true;
    editor.commands.Run("Edit.MirrorObjects");  // no axis ticked: a step all the same
    EXPECT_EQ(editor.undo.TopLabel(), "Mirror Objects");
    EXPECT_TRUE(Near(m->GetVertex(1)->position, {-2, -2, 0}));
    dialogs.axes[0] = true;
    editor.commands.Run("Edit.MirrorObjects");
    EXPECT_TRUE(Near(m->GetVertex(1)->position, {2, -2, 0}));
    EXPECT_EQ(dialogs.asked, 3);
}

TEST_F(ObjectCommandsTest, HideShowAndSelectLeaveTheUndoListAndTheDocumentAlone) {
    b->SetSelected(true);
    const struct {
        const char* command;
        std::set<std::string> visible;
        std::set<std::string> selected;
    } steps[] = {
        {"Edit.HideSelected", {"A", "M"}, {}},
        {"Edit.SelectAll", {"A", "M"}, {"A", "M"}},
        {"Edit.InvertSelection", {"A", "M"}, {}},
        {"Edit.ShowAll", {"A", "B", "C", "M"}, {}},
        {"Edit.HideMeshes", {"A", "B", "C"}, {}},
        {"Edit.InvertSelection", {"A", "B", "C"}, {"A", "B", "C"}},
        {"Edit.HideJoints", {}, {}},
        {"Edit.ShowMeshes", {"M"}, {}},
        {"Edit.ShowJoints", {"A", "B", "C", "M"}, {}},
        {"Edit.SelectAll", {"A", "B", "C", "M"}, {"A", "B", "C", "M"}},
        {"Edit.HideUnselected", {"A", "B", "C", "M"}, {"A", "B", "C", "M"}},
        {"Edit.SelectNone", {"A", "B", "C", "M"}, {}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.command);
        ASSERT_TRUE(editor.commands.Run(step.command));
        std::set<std::string> visible;
        scene().ForEach([&](rgSceneNode* n) {
            if (n->IsVisible()) visible.insert(n->GetName());
        });
        EXPECT_EQ(visible, step.visible);
        EXPECT_EQ(Selected(), step.selected);
    }
    EXPECT_FALSE(editor.undo.HasSteps());
    EXPECT_FALSE(state().modified);
    EXPECT_FALSE(c->parentselected);
}

TEST_F(ObjectCommandsTest, HideActsOnVerticesWhileTheVertexToolIsOn) {
    m->GetVertex(1)->selected = true;
    m->SetSelected(true);
    tools().Click(rgToolButton::EditVertexAssign);
    editor.commands.Run("Edit.HideSelected");
    EXPECT_TRUE(m->IsVisible());
    EXPECT_FALSE(m->GetVertex(1)->visible);
    EXPECT_TRUE(m->GetVertex(0)->visible);
    editor.commands.Run("Edit.HideUnselected");
    EXPECT_FALSE(m->GetVertex(0)->visible);
    editor.commands.Run("Edit.ShowAll");
    EXPECT_TRUE(m->GetVertex(1)->visible);
}

TEST_F(ObjectCommandsTest, ThePropertiesToolShowsAndEditsTheClickedNode) {
    tools().Click(rgToolButton::EditObjectProperties);
    EXPECT_EQ(toolView.pages, kPageSelect);
    matrix44 placed;
    placed.rotate_z(0.5f);
    placed.translate(0, 1, 0.123456f);
    b->GetLocalMatrix() = placed;
    a->SetSelected(true);
    Click(PX(1), PY(1));  // on B
    EXPECT_EQ(Selected(), (std::set<std::string>{"B"}));
    const rgObjectProperties& p = tools().objectProp().Properties();
    EXPECT_TRUE(p.isJoint);
    EXPECT_EQ(p.name, "B");
    EXPECT_EQ(p.position[1], "1.00000");
    EXPECT_EQ(p.position[2], "0.12300");
    EXPECT_EQ(toolView.pages, kPageSelect | kPageGeneral | kPageJoint);
    tools().objectProp().SetName("Elbow");
    tools().objectProp().SetColour(255, 0, 128);
    tools().objectProp().SetIKChainEnd(true);
    EXPECT_EQ(b->GetName(), "Elbow");
    EXPECT_FLOAT_EQ(b->GetColor().z, 128.0f / 255.0f);
    EXPECT_EQ(b->IsIKChainEnd(), 1);

    Click(PX(-4), PY(0));  // on the mesh: "General" only
    EXPECT_EQ(toolView.pages, kPageSelect | kPageGeneral);
    Click(PX(8), PY(8));  // on nothing: emptied and hidden
    EXPECT_FALSE(tools().objectProp().Properties().hasNode);
    EXPECT_EQ(tools().objectProp().Properties().position[0], "0");
    EXPECT_EQ(toolView.pages, kPageSelect);
    tools().objectProp().SetName("ignored");  // no current node
    tools().Click(rgToolButton::EditObjectProperties);
    EXPECT_EQ(toolView.pages, kPageSelect);
}

TEST(PropertyNumberText, ThreeSignificantDigitsFiveDecimals) {
    const struct {
        double value;
        const char* text;
    } cases[] = {{0, "0.00000"},         {1.23456, "1.23000"}, {-0.000123456, "-0.00012"},
                 {1234.5, "1230.00000"}, {-0.0, "0.00000"},    {99.96, "100.00000"}};
    for (const auto& c : cases) EXPECT_EQ(PropertyNumberText(c.value), c.text) << c.value;
}

}  // namespace
