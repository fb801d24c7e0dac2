#include "editing/rg_bone_create.h"

#include "editing/rg_editor.h"
#include "editing/tool_manager.h"
#include "scene/rg_bone.h"
#include "scene/rg_scene.h"

rgBoneCreate::rgBoneCreate(rgToolManager& owner) : rgSelect(owner) {
    regionEnabled = false;
}

void rgBoneCreate::MouseDown(int, int, int, int, rgToolViewport&) {}

void rgBoneCreate::MouseMove(int, int, int, rgToolViewport&) {}

void rgBoneCreate::MouseUp(int, int, int x, int y, rgToolViewport& viewport) {
    CreateJoint(x, y, viewport);
}

rgBone* rgBoneCreate::CurrentJoint() {
    if (!current_) return nullptr;
    // A script may have deleted it meanwhile.
    bool found = false;
    scene().ForEach([&](rgSceneNode* node) { found = found || node == current_; });
    if (!found) current_ = nullptr;
    return current_;
}

void rgBoneCreate::CreateJoint(int x, int y, rgToolViewport& viewport) {
    rgBone* parentJoint = CurrentJoint();
    editor().PushUndo("Create Joint");
    scene().UpdateScene();
    matrix44 parentWorld;
    if (parentJoint) parentWorld = parentJoint->GetGlobalMatrix();
    vector3 clicked(0, 0, 0);
    viewport.ScreenToWorld(x, y, clicked);
    const vector3 d = clicked - parentWorld.pos_component();

    rgBone* joint = scene().CreateBone();
    (parentJoint ? static_cast<rgSceneNode*>(parentJoint) : scene().GetRootNode())
        ->AttachChild(joint);
    // D in the parent's axes puts the joint at the clicked point in the world.
    matrix44 inverse = parentWorld;
    inverse.invert();
    const vector3 t = FrameVector(inverse, d);
    joint->GetLocalMatrix().translate(t.x, t.y, t.z);

    if (parentJoint) parentJoint->SetSelected(false);
    joint->SetSelected(true);
    current_ = joint;
    scene().ForEach([&](rgSceneNode* node) { RefreshParentMark(node); });
    ShowJointSelectionInTree();
    owner().RedrawViewports();
}

void rgBoneCreate::TakeCurrent(rgSceneNode* node) {
    if (node->IsBone() && node->GetSelected()) current_ = ToBone(node);
}

void rgBoneCreate::KeepOnlyCurrent(rgSceneNode* node) {
    if (node->IsBone() && node->GetSelected() && node != current_) node->SetSelected(false);
}

void rgBoneCreate::RefreshParentMark(rgSceneNode* node) {
    rgBone* joint = ToBone(node);
    if (!joint) return;
    joint->parentselected = joint == current_ ? false : joint->CheckParentSelection();
}

void rgBoneCreate::Activate() {
    current_ = nullptr;
    scene().ForEach([&](rgSceneNode* node) { TakeCurrent(node); });
}

void rgBoneCreate::Deactivate() {
    current_ = nullptr;
}

void rgBoneCreate::TreeRowReleased(rgBone* joint) {
    current_ = joint;
    if (current_ && CurrentJoint() != joint) return;  // not a joint of this scene
    scene().ForEach([&](rgSceneNode* node) { KeepOnlyCurrent(node); });
    scene().ForEach([&](rgSceneNode* node) { RefreshParentMark(node); });
    ShowJointSelectionInTree();
    owner().RedrawViewports();
}

void rgBoneCreate::ForgetNode(rgSceneNode* node) {
    if (InSubtree(current_, node)) current_ = nullptr;
}
