#include <set>

#include "editing/rg_vertex_assign.h"
#include "editing/skin_commands.h"
#include "tests/editing/tool_fixture.h"

namespace {

// A chain of three joints up the Y axis, 2 apart, and a column of mesh
// vertices beside it.
class SkinToolTest : public ToolTest {
protected:
    SkinToolTest() {
        j1 = AddJoint(nullptr, {0, 0, 0});
        j2 = AddJoint(j1, {0, 2, 0});
        j3 = AddJoint(j2, {0, 2, 0});
        mesh = scene().CreateMesh();
        scene().GetRootNode()->AttachChild(mesh);
        for (float y : {0.5f, 3.0f, 5.0f}) {
            rgVertex v;
            v.position.set(0.5f, y, 0);
            mesh->AddVertex(v, false);
        }
        scene().RebuildTree();
    }
    rgVertexAssign& tool() { return tools().vertexAssign(); }
    std::set<int> SelectedVertices() {
        std::set<int> out;
        for (int i = 0; i < mesh->GetVertexCount(); ++i)
            if (mesh->GetVertex(i)->selected) out.insert(i);
        return out;
    }
    rgVertex& V(int i) { return *mesh->GetVertex(i); }

    rgBone* j1;
    rgBone* j2;
    rgBone* j3;
    rgMesh* mesh;
};

TEST_F(SkinToolTest, ActivationTakesTheLastSelectedJointAndShowsItsWeights) {
    j1->SetSelected(true);
    j3->SetSelected(true);
    tools().Click(rgToolButton::EditVertexAssign);
    EXPECT_EQ(tool().CurrentJoint(), j3);
    EXPECT_FALSE(j1->GetSelected());
    EXPECT_TRUE(state().vertexMode);
    EXPECT_TRUE(toolView.vertices);
    EXPECT_EQ(toolView.pages, kPageSelect | kPageAssign | kPageWeight);
    tools().Click(rgToolButton::EditVertexAssign);
    EXPECT_FALSE(state().vertexMode);
    EXPECT_FALSE(toolView.vertices);
}

struct PickCase {
    const char* name;
    int shift;
    vector3 from, to;
    std::set<int> vertices;  // selected afterwards, from {1} before
    int current;             // the current joint afterwards: 1 to 3, 0 for none
};

TEST_F(SkinToolTest, ClicksAndFramesPickVerticesAndTheCurrentJoint) {
    const PickCase cases[] = {
        {"frame over two vertices", 0, {0.3f, 2.5f, 0}, {1, 5.5f, 0}, {1, 2}, 0},
        {"ctrl adds", kCtrlKey, {0.3f, 0, 0}, {1, 1, 0}, {0, 1}, 2},
        {"alt removes", kAltKey, {0.3f, 2.5f, 0}, {1, 3.5f, 0}, {}, 2},
        {"shift keeps", kShiftKey, {0.3f, 0, 0}, {1, 6, 0}, {1}, 2},
        {"a click on a joint makes it current", 0, {0, 4, 0}, {0, 4, 0}, {}, 3},
        {"ctrl on nothing keeps the joint", kCtrlKey, {3, 8, 0}, {3, 8, 0}, {1}, 2},
    };
    for (const PickCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (int i = 0; i < 3; ++i) V(i).selected = i == 1;
        scene().ForEach([&](rgSceneNode* n) { n->SetSelected(n == j2); });
        tools().SetDown(rgToolButton::EditVertexAssign, false);
        tools().Click(rgToolButton::EditVertexAssign);
        editor.ClearUndo();
        Press(PX(c.from.x), PY(c.from.y), c.shift);
        Move(PX(c.to.x), PY(c.to.y), c.shift);
        Release(PX(c.to.x), PY(c.to.y), c.shift);
        EXPECT_EQ(SelectedVertices(), c.vertices);
        rgBone* const joints[] = {nullptr, j1, j2, j3};
        EXPECT_EQ(tool().CurrentJoint(), joints[c.current]);
        EXPECT_EQ(editor.undo.TopLabel(), "Change Selection");  // kept even when nothing changed
    }
}

TEST_F(SkinToolTest, ClickingNothingClearsTheCurrentJointAndUndoBringsTheSelectionBack) {
    j2->SetSelected(true);
    V(1).selected = true;
    tools().Click(rgToolButton::EditVertexAssign);
    const std::string before = SceneText(scene());
    Click(PX(3), PY(8));
    EXPECT_EQ(tool().CurrentJoint(), nullptr);
    EXPECT_FALSE(j2->GetSelected());
    EXPECT_TRUE(SelectedVertices().empty());
    tool().Assign();  // without a current joint: a step, no change
    EXPECT_EQ(editor.undo.TopLabel(), "Assign Vertices");
    EXPECT_EQ(V(1).bone[0], -1);
    editor.Undo();
    editor.Undo();
    EXPECT_EQ(SceneText(scene()), before);
    EXPECT_TRUE(tools().IsDown(rgToolButton::EditVertexAssign));
    EXPECT_NE(tool().CurrentJoint(), nullptr);  // taken afresh from the restored selection
}

TEST_F(SkinToolTest, AssignWeightsSelectsAndNormalizes) {
    j2->SetSelected(true);
    tools().Click(rgToolButton::EditVertexAssign);
    V(0).selected = V(1).selected = true;
    editor.toolOptions.currentWeight = 0.2f;
    tool().Assign();
    editor.toolOptions.currentWeight = 0.6f;
    tool().Assign();  // the same joint again: its slot, not a second one
    EXPECT_EQ(V(0).bone[3], j2->GetId());
    EXPECT_FLOAT_EQ(V(0).weight[3], 0.6f);
    EXPECT_EQ(V(0).bone[2], -1);
    EXPECT_EQ(V(2).bone[3], -1);  // not selected

    mesh->GetVertex(0)->bone[0] = j1->GetId();
    mesh->GetVertex(0)->weight[0] = 0.2f;
    tool().SelectUnassigned();
    EXPECT_EQ(SelectedVertices(), (std::set<int>{2}));
    tool().SelectAssigned();
    EXPECT_EQ(SelectedVertices(), (std::set<int>{0, 1}));
    tool().Normalize();
    EXPECT_EQ(editor.undo.TopLabel(), "Normalize Weights");
    EXPECT_FLOAT_EQ(V(0).weight[0], 0.25f);
    EXPECT_FLOAT_EQ(V(0).weight[3], 0.75f);
    EXPECT_FLOAT_EQ(V(1).weight[3], 1.0f);

    V(1).selected = false;
    tool().Unassign();
    EXPECT_EQ(editor.undo.TopLabel(), "Unassign Vertices");
    EXPECT_EQ(V(0).bone[3], -1);
    EXPECT_EQ(V(1).bone[3], j2->GetId());
}

TEST_F(SkinToolTest, BindDetachAndUndo) {
    const std::string unbound = SceneText(scene());
    std::string error;
    EXPECT_FALSE(BindSkin(editor, {false, 7, 5, 15}, &error));  // out of range: nothing at all
    EXPECT_EQ(error, "joints per vertex must be 2, 3 or 4");
    EXPECT_FALSE(editor.undo.HasSteps());

    ASSERT_TRUE(BindSkin(editor, {false, 2, 5, 15}));
    EXPECT_EQ(editor.undo.TopLabel(), "Bind Skin");
    EXPECT_EQ(V(1).bone[0], j2->GetId());  // on the middle bone
    EXPECT_EQ(V(1).bone[1], j1->GetId());  // its parent before its child: same weight, walk order
    const int steps = editor.undo.Count();
    DetachSkin(editor);
    EXPECT_EQ(editor.undo.TopLabel(), "Detach Skin");
    EXPECT_EQ(V(1).bone[0], -1);
    editor.Undo();
    mesh = ToMesh(scene().GetRootNode()->GetChild(1));
    EXPECT_EQ(V(1).bone[0], scene().FindJointById(2)->GetId());
    EXPECT_EQ(editor.undo.Count(), steps);
    editor.Undo();
    EXPECT_EQ(SceneText(scene()), unbound);
}

// A bound chain bends with its joints: the middle joint turned half a turn
// about Z at the Animation level swings the vertices bound to it about it.
// The geodesic kind through the same command: one undo step; a run the
// user cancels leaves the scene and the undo list as they were.
TEST_F(SkinToolTest, GeodesicBindIsOneStepAndCancelChangesNothing) {
    const std::string unbound = SceneText(scene());
    const int steps = editor.undo.Count();
    std::string error = "x";
    EXPECT_FALSE(BindSkinGeodesic(editor, {64, 0.5f, 2}, &error, nullptr,
                                  [](float) { return false; }));
    EXPECT_TRUE(error.empty());
    EXPECT_EQ(editor.undo.Count(), steps);
    EXPECT_FALSE(state().modified);
    EXPECT_EQ(SceneText(scene()), unbound);

    rgBindSkinSettings settings;
    settings.geodesic = true;
    settings.geodesicSettings = {64, 0.5f, 2};
    ASSERT_TRUE(BindSkin(editor, settings, &error)) << error;
    EXPECT_EQ(editor.undo.TopLabel(), "Bind Skin");
    EXPECT_GE(V(1).bone[0], 0);
    editor.Undo();
    EXPECT_EQ(SceneText(scene()), unbound);
}

TEST_F(SkinToolTest, ABoundChainBendsWhenItsJointsTurn) {
    for (bool rigid : {true, false}) {
        SCOPED_TRACE(rigid ? "rigid" : "deformable");
        ASSERT_TRUE(BindSkin(editor, {rigid, 2, 5, 15}));
        state().editLevel = kEditAnimation;
        j2->RotateOffset({0, 0, 3.14159265f}, matrix44());
        scene().UpdateScene();
        mesh->Deform();
        const std::vector<vector3>& p = mesh->DeformedPositions();
        // Half a turn about (0, 2): (0.5, 3) goes to (-0.5, 1), (0.5, 0.5) to (-0.5, 3.5).
        const vector3 rest0(0.5f, 0.5f, 0), swung0(-0.5f, 3.5f, 0);
        const vector3 rest1(0.5f, 3, 0), swung1(-0.5f, 1, 0);
        auto weight = [](float d) { return 1 / std::pow(1 + d / 5, 4.0f); };
        if (rigid) {
            EXPECT_TRUE(Near(p[0], rest0));   // on the first bone only
            EXPECT_TRUE(Near(p[1], swung1));  // on the middle bone only
        } else {
            // Vertex 0: 0.5 from the first bone, sqrt(2.5) from the middle one.
            const float a = weight(0.5f), b = weight(std::sqrt(2.5f));
            EXPECT_TRUE(Near(p[0], (rest0 * a + swung0 * b) / (a + b)));
            // Vertex 1: 0.5 from the middle bone, sqrt(1.25) from the first.
            const float c = weight(0.5f), d = weight(std::sqrt(1.25f));
            EXPECT_TRUE(Near(p[1], (swung1 * c + rest1 * d) / (c + d)));
        }
        j2->ResetOffset();
        state().editLevel = kEditObjects;
    }
}

}  // namespace
