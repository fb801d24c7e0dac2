#include "editing/rg_object_prop.h"

#include "editing/rg_editor.h"
#include "editing/tool_manager.h"
#include "scene/rg_bone.h"
#include "scene/rg_scene.h"

rgObjectProp::rgObjectProp(rgToolManager& owner) : rgSelect(owner) {
    regionEnabled = false;
}

void rgObjectProp::MouseUp(int button, int s, int x, int y, rgToolViewport& viewport) {
    rgSelect::MouseUp(button, s, x, y, viewport);
    FindCurrent();
    ShowProperties();
}

void rgObjectProp::TakeCurrent(rgSceneNode* node) {
    if (node->GetSelected()) current_ = node;
}

void rgObjectProp::KeepOnlyCurrent(rgSceneNode* node) {
    rgBone* joint = ToBone(node);
    if (node == current_) {
        if (joint) joint->parentselected = false;
        return;
    }
    node->SetSelected(false);
    if (joint) joint->parentselected = joint->CheckParentSelection();
}

void rgObjectProp::FindCurrent() {
    current_ = nullptr;
    scene().ForEach([&](rgSceneNode* node) { TakeCurrent(node); });
    scene().ForEach([&](rgSceneNode* node) { KeepOnlyCurrent(node); });
    ShowJointSelectionInTree();
}

void rgObjectProp::ShowProperties() {
    shown_ = rgObjectProperties::Of(current_);
    owner().SetPageVisible(kPageGeneral, shown_.hasNode);
    owner().SetPageVisible(kPageJoint, shown_.isJoint);
    owner().view().ShowObjectProperties(shown_);
    owner().RedrawViewports();
}

void rgObjectProp::Activate() {
    FindCurrent();
    ShowProperties();
}

void rgObjectProp::Deactivate() {
    current_ = nullptr;
    shown_ = rgObjectProperties();
    owner().SetPageVisible(kPageGeneral | kPageJoint, false);
    owner().view().ShowObjectProperties(shown_);
}

void rgObjectProp::ForgetNodes() {
    current_ = nullptr;
}

void rgObjectProp::ForgetNode(rgSceneNode* node) {
    if (!InSubtree(current_, node)) return;
    current_ = nullptr;
    ShowProperties();
}

void rgObjectProp::SetName(const std::string& name) {
    if (!current_) return;
    current_->SetName(name);
    shown_.name = current_->GetName();
}

void rgObjectProp::SetColour(int red, int green, int blue) {
    if (!current_) return;
    current_->SetColor(static_cast<float>(red) / 255.0f, static_cast<float>(green) / 255.0f,
                       static_cast<float>(blue) / 255.0f);
    shown_ = rgObjectProperties::Of(current_);
    owner().RedrawViewports();
}

void rgObjectProp::SetIKChainEnd(bool on) {
    if (rgBone* joint = ToBone(current_)) joint->SetIKChainEnd(on ? 1 : 0);
}

void rgObjectProp::SetIKWeight(float weight) {
    if (rgBone* joint = ToBone(current_)) joint->SetIKWeight(weight);
}
