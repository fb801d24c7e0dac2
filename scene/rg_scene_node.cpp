#include "scene/rg_scene_node.h"

#include <algorithm>
#include <strings.h>

#include "scene/node_painter.h"
#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"

rgSceneNode::rgSceneNode(rgScene* scene) : scene_(scene) {}

rgSceneNode::~rgSceneNode() {
    NotifyDestroyed(this);
    DestroyChildren();
    if (parent_) parent_->DetachChild(this);
}

void rgSceneNode::DestroyChildren() {
    // Each child detaches itself from this node while it is destroyed, so
    // walk a snapshot of the list.
    const std::vector<rgSceneNode*> snapshot = children_;
    for (rgSceneNode* child : snapshot) delete child;
    children_.clear();
}

bool rgSceneNode::IsClass(const char* className) const {
    return className && ::strcasecmp(className_, className) == 0;
}

rgMesh* ToMesh(rgSceneNode* node) {
    return node && node->IsMesh() ? static_cast<rgMesh*>(node) : nullptr;
}

rgBone* ToBone(rgSceneNode* node) {
    return node && node->IsBone() ? static_cast<rgBone*>(node) : nullptr;
}

void rgSceneNode::SetSelected(bool selected) { selected_ = selected; }

void rgSceneNode::SetName(const char* name) {
    if (!name) return;
    name_.assign(name, std::min(std::char_traits<char>::length(name), kMaxName));
    if (IsBone() && scene_) {
        rgJointTree& tree = scene_->context().tree();
        if (tree.HasItem(this)) tree.SetItemCaption(this, name_);
    }
}

void rgSceneNode::SetMatrix(const matrix44& m) {
    local_ = m;
    InvalidateSkins();
}

void rgSceneNode::Translate(const vector3& d, const matrix44& frame) {
    const vector3 delta = FrameVector(frame, d);
    local_.translate(delta.x, delta.y, delta.z);
    InvalidateSkins();
}

void rgSceneNode::Rotate(const vector3& a, const matrix44& frame) {
    RotateAboutOwnPosition(local_, a, frame);
    InvalidateSkins();
}

void rgSceneNode::Scale(float x, float y, float z) {
    pendingScale_.x *= x;
    pendingScale_.y *= y;
    pendingScale_.z *= z;
}

rgSceneNode* rgSceneNode::GetChild(int i) {
    return i >= 0 && static_cast<size_t>(i) < children_.size() ? children_[i] : nullptr;
}

void rgSceneNode::AttachChild(rgSceneNode* child) {
    if (!child) return;
    // A node under itself would make the walk endless.
    for (rgSceneNode* n = this; n; n = n->parent_)
        if (n == child) return;
    // A node lives in one children list only; two owners would delete it twice.
    if (child->parent_) child->parent_->DetachChild(child);
    children_.push_back(child);
    child->parent_ = this;
    NoteStructureChange();
    if (child->IsBone() && scene_) {
        scene_->context().tree().AddItem(static_cast<rgBone*>(child), ToBone(this),
                                         child->GetName(), false);
    }
}

void rgSceneNode::DetachChild(rgSceneNode* child) {
    if (!child) return;
    const auto it = std::find(children_.begin(), children_.end(), child);
    if (it != children_.end()) children_.erase(it);
    child->parent_ = nullptr;
    NoteStructureChange();
    if (child->IsBone() && scene_) {
        rgJointTree& tree = scene_->context().tree();
        if (tree.HasItem(child)) tree.RemoveItem(child);
    }
}

void rgSceneNode::UpdateMatrix(const matrix44& parentGlobal) {
    global_ = local_ * parentGlobal;
    for (rgSceneNode* child : children_) child->UpdateMatrix(global_);
}

void rgSceneNode::Draw(rgNodePainter& painter, int drawMode, bool flag) {
    if (!visible_) return;
    for (size_t i = 0; i < children_.size(); ++i) children_[i]->Draw(painter, drawMode, flag);
    painter.PushMatrix(global_);
    if (material_ < 0) {
        painter.UnbindMaterial();
    } else if (!painter.BindMaterial(material_)) {
        // The texture is gone: draw untextured from now on.
        painter.UnbindMaterial();
        material_ = -1;
    }
    DrawSelf(painter, drawMode, flag);
    painter.PopMatrix();
}

void rgSceneNode::DrawAxes(rgNodePainter& painter) {
    if (!visible_) return;
    for (size_t i = 0; i < children_.size(); ++i) children_[i]->DrawAxes(painter);
    if (selected_) painter.DrawGizmo(*this);
}

bool rgSceneNode::Pick(rgNodePicker& picker, int a, int b) {
    if (!visible_) return false;
    picker.PushMatrix(global_);
    const bool hit = PickSelf(picker, a, b);
    picker.PopMatrix();
    return hit;
}

bool rgSceneNode::PickAxis(rgNodePicker& picker) {
    if (!scene_ || !scene_->context().state.showHandles || !selected_) return false;
    return picker.PickGizmo(*this);
}

void rgSceneNode::Hide() {
    if (!visible_) return;
    for (size_t i = 0; i < children_.size(); ++i) children_[i]->Hide();
    visible_ = false;
    selected_ = false;
}

rgSceneNode* rgSceneNode::Clone(rgSceneNode* parent, rgScene* scene) {
    auto* copy = new rgSceneNode(scene);
    CloneBaseInto(copy, parent, scene);
    // Undo restores scenes from clones: a plain node must keep its name and colour.
    copy->name_ = name_;
    copy->colour_ = colour_;
    return copy;
}

void rgSceneNode::CloneBaseInto(rgSceneNode* copy, rgSceneNode* parent, rgScene* scene) {
    copy->selected_ = selected_;
    copy->visible_ = visible_;
    copy->material_ = material_;
    copy->local_ = local_;
    copy->parent_ = parent;
    copy->children_.reserve(children_.size());
    for (rgSceneNode* child : children_) copy->children_.push_back(child->Clone(copy, scene));
}

void rgSceneNode::AddToTree() {
    for (size_t i = 0; i < children_.size(); ++i) children_[i]->AddToTree();
}

void rgSceneNode::GetBoundingSphere(vector3& centre, float& radius) {
    centre.set(0, 0, 0);
    radius = 1.0f;
}

void rgSceneNode::AppendChildWithoutTree(rgSceneNode* parent, rgSceneNode* child) {
    parent->children_.push_back(child);
    child->parent_ = parent;
    parent->NoteStructureChange();
}

void rgSceneNode::NoteStructureChange() {
    if (scene_) scene_->NoteStructureChange();
}

void rgSceneNode::NotifyDestroyed(const void* object) const {
    if (scene_) scene_->context().ObjectDestroyed(object);
}

void rgSceneNode::InvalidateSkins() {
    if (scene_) scene_->InvalidateSkins();
}
