#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editing/rg_editor.h"
#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"
#include "tests/scene/recording_ui.h"

namespace {

class RecordingView : public rgDocumentView {
public:
    void SetUndoItem(bool enabled, const std::string& caption) override {
        undoEnabled = enabled;
        undoCaption = caption;
    }
    void SetTitle(const std::string& t) override { title = t; }
    void RedrawViewports() override { ++redraws; }
    bool undoEnabled = false;
    std::string undoCaption = "Can't Undo";
    std::string title;
    int redraws = 0;
};

class ReactivationCounter : public rgToolReferences {
public:
    void ReactivateSceneTools() override { ++reactivations; }
    int reactivations = 0;
};

class UndoTest : public ::testing::Test {
protected:
    UndoTest() {
        editor.context.SetJointTree(&tree);
        editor.context.SetToolReferences(&tools);
        editor.SetDocumentView(&view);
        editor.state().SetFileName("walk.rig");
    }
    ~UndoTest() override { editor.context.SetJointTree(nullptr); }

    rgBone* AddJoint(float x) {
        rgBone* joint = editor.scene().CreateBone();
        joint->GetLocalMatrix().translate(x, 0, 0);
        editor.scene().GetRootNode()->AttachChild(joint);
        return joint;
    }
    rgBone* FirstJoint() { return ToBone(editor.scene().GetFirstNode()); }

    RecordingJointTree tree;
    ReactivationCounter tools;
    RecordingView view;
    rgEditor editor;
};

TEST_F(UndoTest, PushNamesTheStepAndMarksTheDocument) {
    editor.PushUndo("Translate Objects");
    EXPECT_TRUE(view.undoEnabled);
    EXPECT_EQ(view.undoCaption, "&Undo: Translate Objects");
    EXPECT_TRUE(editor.state().modified);
    EXPECT_EQ(view.title, "Kinemo - walk.rig*");
    EXPECT_EQ(editor.undo.TopLabel(), "Translate Objects");
    editor.PushUndo(std::string(200, 'L'));
    EXPECT_EQ(editor.undo.TopLabel().size(), 127u);
}

TEST_F(UndoTest, UndoRestoresPositionsSelectionAndKeys) {
    rgBone* joint = AddJoint(1);
    editor.PushUndo("Create Joint");
    joint->SetSelected(true);
    joint->SetKey(5, matrix44());
    editor.PushUndo("Translate Objects");
    joint->Translate({4, 0, 0}, matrix44());
    joint->SetSelected(false);
    joint->DeleteKey(5);
    rgBone* extra = AddJoint(7);
    (void)extra;

    const int redraws = view.redraws;
    editor.Undo();
    rgBone* restored = FirstJoint();
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(restored->GetLocalMatrix().pos_component().x, 1.0f);
    EXPECT_TRUE(restored->GetSelected());
    EXPECT_EQ(restored->GetKeyCount(), 1);
    EXPECT_EQ(editor.scene().GetNextNode(), nullptr);  // the joint added later is gone
    EXPECT_EQ(view.undoCaption, "&Undo: Create Joint");
    EXPECT_TRUE(editor.state().modified);  // undo does not clean the document
    EXPECT_EQ(view.redraws, redraws + 1);
    EXPECT_EQ(tools.reactivations, 1);
    EXPECT_TRUE(tree.HasItem(restored));  // the tree shows the restored scene

    editor.Undo();
    EXPECT_FALSE(FirstJoint()->GetSelected());
    EXPECT_EQ(FirstJoint()->GetKeyCount(), 0);
    EXPECT_FALSE(view.undoEnabled);
    EXPECT_EQ(view.undoCaption, "Can't Undo");
}

TEST_F(UndoTest, TheStepLimitDropsTheOldestSteps) {
    rgBone* joint = AddJoint(0);
    for (int step = 1; step <= 17; ++step) {
        editor.PushUndo("Step " + std::to_string(step));
        FirstJoint()->GetLocalMatrix().translate(1, 0, 0);  // after step n the joint is at x = n
    }
    (void)joint;
    EXPECT_EQ(editor.undo.Count(), 16);
    for (int i = 0; i < 16; ++i) editor.Undo();
    EXPECT_EQ(FirstJoint()->GetLocalMatrix().pos_component().x,
              1.0f);  // the state after the first step
    EXPECT_EQ(view.undoCaption, "Can't Undo");
    const int reactivations = tools.reactivations;
    editor.Undo();  // the 17th does nothing
    EXPECT_EQ(FirstJoint()->GetLocalMatrix().pos_component().x, 1.0f);
    EXPECT_EQ(tools.reactivations, reactivations);
}

TEST_F(UndoTest, ALimitOfZeroKeepsNothing) {
    editor.state().maxUndoLevels = 0;
    AddJoint(3);
    editor.PushUndo("IK Move");
    EXPECT_FALSE(editor.undo.HasSteps());
    EXPECT_EQ(view.undoCaption, "&Undo: IK Move");  // the item still names it
    FirstJoint()->GetLocalMatrix().translate(1, 0, 0);
    editor.Undo();
    EXPECT_EQ(FirstJoint()->GetLocalMatrix().pos_component().x, 4.0f);
    EXPECT_EQ(view.undoCaption, "Can't Undo");
}

TEST_F(UndoTest, ExpandedBranchesStayExpandedAcrossUndo) {
    rgBone* hip = AddJoint(0);
    hip->SetName("Hip");
    rgBone* knee = editor.scene().CreateBone();
    knee->SetName("Knee");
    hip->AttachChild(knee);
    editor.scene().RebuildTree();
    tree.ExpandItem(hip);
    editor.PushUndo("Change Selection");
    editor.Undo();
    rgBone* restoredHip = FirstJoint();
    EXPECT_TRUE(tree.items.at(restoredHip).expanded);
    EXPECT_FALSE(tree.items.at(ToBone(restoredHip->GetChild(0))).expanded);
    EXPECT_FALSE(tree.suspendedNow);
}

TEST_F(UndoTest, StepsHoldNoDerivedDataAndMeshesReskinAfterRestore) {
    editor.state().editLevel = kEditAnimation;
    rgBone* joint = AddJoint(0);
    joint->TranslateOffset({0, 2, 0}, matrix44());
    rgMesh* mesh = editor.scene().CreateMesh();
    editor.scene().GetRootNode()->AttachChild(mesh);
    rgVertex v;
    v.position.set(1, 0, 0);
    v.bone[0] = joint->GetId();
    v.weight[0] = 1;
    mesh->AddVertex(v);
    editor.scene().UpdateScene();
    mesh->Deform();
    const vector3 skinned = mesh->DeformedPositions()[0];
    editor.PushUndo("Bind Skin");
    editor.Undo();
    rgMesh* restored = ToMesh(editor.scene().GetRootNode()->GetChild(1));
    ASSERT_NE(restored, nullptr);
    EXPECT_FALSE(restored->IsDeformed());
    EXPECT_TRUE(restored->DeformedPositions().empty());
    editor.scene().UpdateScene();
    restored->Deform();
    EXPECT_EQ(restored->DeformedPositions()[0], skinned);
}

TEST_F(UndoTest, DroppingAStepThatChangedNothingGivesBackTheStepItPushedOut) {
    editor.state().maxUndoLevels = 2;
    AddJoint(1);
    editor.PushUndo("A");
    editor.PushUndo("B");
    rgBone* joint = FirstJoint();
    editor.PushUndo("C");  // pushes A out
    editor.DropNewestUndo();
    EXPECT_EQ(editor.undo.Count(), 2);
    EXPECT_EQ(view.undoCaption, "&Undo: B");
    EXPECT_EQ(FirstJoint(), joint);  // the scene stays as it is
    editor.Undo();
    editor.Undo();
    EXPECT_EQ(view.undoCaption, "Can't Undo");
    editor.DropNewestUndo();  // an empty stack stays empty
    EXPECT_FALSE(editor.undo.HasSteps());
}

TEST_F(UndoTest, ClearUndoEmptiesTheStack) {
    editor.PushUndo("A");
    editor.PushUndo("B");
    editor.ClearUndo();
    EXPECT_FALSE(editor.undo.HasSteps());
    EXPECT_FALSE(view.undoEnabled);
    EXPECT_EQ(view.undoCaption, "Can't Undo");
}

}  // namespace
