#include "editing/rg_node_attach.h"

#include "editing/rg_editor.h"
#include "editing/tool_manager.h"
#include "scene/rg_bone.h"
#include "scene/rg_scene.h"

rgNodeAttach::rgNodeAttach(rgToolManager& owner) : rgSelect(owner) {
    regionEnabled = false;
}

void rgNodeAttach::ApplySelection(rgSceneNode* node) {
    node->SetSelected(node->picked);
}

bool rgNodeAttach::PickTest(rgSceneNode* node, const rgToolEvent& event) {
    if (!node->IsBone()) return false;
    return rgSelect::PickTest(node, event);
}

void rgNodeAttach::ForgetNodes() {
    child_ = parent_ = nullptr;
    dragging_ = false;
}

bool rgNodeAttach::InScene(const rgSceneNode* node) {
    bool found = false;
    scene().ForEach([&](rgSceneNode* n) { found = found || n == node; });
    return found;
}

rgBone* rgNodeAttach::PickJointAt(int x, int y, rgToolViewport& viewport) {
    regionActive = false;
    scene().UpdateScene();
    hits_.Reset(true);
    const rgToolEvent event{x, y, shift, &viewport};
    scene().ForEach([&](rgSceneNode* node) {
        if (!node->IsBone()) return;
        PickTest(node, event);
        ApplySelection(node);
    });
    if (hits_.entries.empty()) return nullptr;
    for (size_t i = 0; i + 1 < hits_.entries.size(); ++i)
        hits_.entries[i].node->SetSelected(hits_.entries[i].wasSelected);
    scene().ForEach([&](rgSceneNode* node) { AfterSelection(node); });
    return ToBone(hits_.entries.back().node);
}

void rgNodeAttach::MouseDown(int, int s, int x, int y, rgToolViewport& viewport) {
    shift = s;
    child_ = PickJointAt(x, y, viewport);
    dragging_ = child_ != nullptr;
    startPoint_ = endPoint_ = {x, y};
    ShowJointSelectionInTree();
    owner().RedrawViewports();
}

void rgNodeAttach::MouseMove(int s, int x, int y, rgToolViewport& viewport) {
    rgSelect::MouseMove(s, x, y, viewport);
    if (!dragging_) return;
    endPoint_ = {x, y};
    viewport.ShowOverlayLine(startPoint_.x, startPoint_.y, endPoint_.x, endPoint_.y);
}

void rgNodeAttach::MouseUp(int, int s, int x, int y, rgToolViewport& viewport) {
    shift = s;
    // The release picks whether or not a drag began, so its selection shows.
    parent_ = PickJointAt(x, y, viewport);
    if (dragging_) {
        if (child_ && parent_ && child_ != parent_ && InScene(child_)) {
            bool parentUnderChild = false;
            for (rgSceneNode* n = parent_; n; n = n->GetParent())
                parentUnderChild = parentUnderChild || n == child_;
            if (!parentUnderChild) Attach(child_, parent_);
        }
    }
    scene().ForEach([&](rgSceneNode* node) { AfterSelection(node); });
    ShowJointSelectionInTree();
    owner().RedrawViewports();
    dragging_ = false;
    child_ = parent_ = nullptr;
}

void rgNodeAttach::Attach(rgBone* child, rgBone* parent) {
    editor().PushUndo("Attach Joints");
    scene().UpdateScene();
    const matrix44 childWorld = child->GetGlobalMatrix();
    if (rgSceneNode* old = child->GetParent()) old->DetachChild(child);
    child->GetLocalMatrix() = childWorld;
    scene().RebuildTree();
    parent->AttachChild(child);
    matrix44 inverseParent = parent->GetGlobalMatrix();
    inverseParent.invert();
    child->GetLocalMatrix() = childWorld * inverseParent;
    scene().InvalidateSkins();
    scene().RebuildTree();
}

void rgNodeAttach::ForgetNode(rgSceneNode* node) {
    if (InSubtree(child_, node) || InSubtree(parent_, node)) ForgetNodes();
}
