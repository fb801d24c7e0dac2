#include "scene/rg_bone.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "state/rg_state.h"
#include "scene/node_painter.h"
#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"

namespace {

void SetDescendantsParentSelected(rgSceneNode* node) {
    for (rgSceneNode* child : node->Children()) {
        if (rgBone* joint = ToBone(child)) joint->parentselected = true;
        SetDescendantsParentSelected(child);
    }
}

bool InHierarchy(const rgSceneNode* node, const rgScene& scene) {
    while (node->Parent()) node = node->Parent();
    return node == scene.GetRootNode();
}

matrix44 WithoutTranslation(matrix44 m) {
    m.clear_translation();
    return m;
}

}  // namespace

rgBone::rgBone(rgScene* scene) : rgSceneNode(scene) {
    SetClassName("rgBone");
    if (scene_) number_ = scene_->context().nextJointNumber++;
    name_ = "Joint" + std::to_string(number_);
}

rgBone::~rgBone() {
    for (const auto& key : keys_) NotifyDestroyed(key.get());
    // Vertices refer to joints by number: drop the references to this one.
    // A scene being torn down as a whole has nobody left to tell, and a
    // joint outside the hierarchy (one a script made and let go) was never
    // a joint of its meshes.
    if (scene_ && !scene_->IsTearingDown() && InHierarchy(this, *scene_)) {
        const int number = number_;
        scene_->ForEach([number](rgSceneNode* node) {
            if (rgMesh* mesh = ToMesh(node)) mesh->RemoveJointReferences(number);
        });
    }
    DestroyChildren();
    if (scene_) {
        rgJointTree& tree = scene_->context().tree();
        if (tree.HasItem(this)) tree.RemoveItem(this);
    }
    SetClassName("rgSceneNode");
}

void rgBone::SetSelected(bool selected) {
    selected_ = selected;
    // Provisional: the selection tools follow up with CheckParentSelection.
    SetDescendantsParentSelected(this);
}

matrix44& rgBone::GetMatrix() {
    matrixCache_ = local_;
    if (scene_ && scene_->context().state.editLevel == kEditAnimation) matrixCache_ = local_ * offset_;
    return matrixCache_;
}

void rgBone::UpdateMatrix(const matrix44& parentGlobal) {
    relaxed_ = local_;
    if (rgBone* parent = ToBone(parent_)) relaxed_.mult_simple(parent->relaxed_);
    inverseRelaxed_ = relaxed_;
    inverseRelaxed_.invert();

    matrix44 e = local_;
    if (scene_ && scene_->context().state.editLevel == kEditAnimation) {
        // The offset turns the joint about its own pivot in the parent's axes;
        // its translation is added to the rest position unrotated.
        const vector3 t = offset_.pos_component();
        const vector3 restPosition = local_.pos_component();
        e = WithoutTranslation(local_) * WithoutTranslation(offset_);
        e.S(3, 0, t.x + restPosition.x);
        e.S(3, 1, t.y + restPosition.y);
        e.S(3, 2, t.z + restPosition.z);
    }
    global_ = e;
    matrixCache_ = e;
    global_.mult_simple(parentGlobal);
    for (rgSceneNode* child : children_) child->UpdateMatrix(global_);
}

template <typename Move>
void rgBone::MoveKeepingChildren(Move&& move) {
    if (!scene_ || scene_->context().toolOptions().AffectChildren()) {
        move();
        return;
    }
    rgTreeChangeGuard guard(scene_->context());
    rgSceneNode* root = scene_->GetRootNode();
    detachedChildren_.clear();
    for (size_t i = 0; i < children_.size();) {
        rgBone* child = ToBone(children_[i]);
        if (!child) {  // meshes and plain nodes move with the joint
            ++i;
            continue;
        }
        detachedChildren_.push_back(child);
        DetachChild(child);
        child->local_ = child->global_;
        root->AttachChild(child);
        scene_->RebuildTree();
    }
    scene_->UpdateScene();

    move();

    scene_->UpdateScene();
    for (rgBone* child : detachedChildren_) {
        if (child->parent_) child->parent_->DetachChild(child);
        child->local_ = child->global_;
        AttachChild(child);
        matrix44 inverseGlobal = global_;
        inverseGlobal.invert();
        child->local_ = child->global_ * inverseGlobal;
        scene_->RebuildTree();
    }
    detachedChildren_.clear();
}

void rgBone::Translate(const vector3& d, const matrix44& frame) {
    MoveKeepingChildren([&] { rgSceneNode::Translate(d, frame); });
}

void rgBone::Rotate(const vector3& angles, const matrix44& frame) {
    MoveKeepingChildren([&] { rgSceneNode::Rotate(angles, frame); });
}

void rgBone::Scale(float x, float y, float z) {
    // A joint has no size: scaling spreads its child joints and key moves instead.
    for (rgSceneNode* child : children_) {
        if (!child->IsBone()) continue;
        matrix44& m = static_cast<rgBone*>(child)->local_;
        m.S(3, 0, m.M(3, 0) * x);
        m.S(3, 1, m.M(3, 1) * y);
        m.S(3, 2, m.M(3, 2) * z);
    }
    for (auto& key : keys_) {
        matrix44& m = key->matrix;
        m.S(3, 0, m.M(3, 0) * x);
        m.S(3, 1, m.M(3, 1) * y);
        m.S(3, 2, m.M(3, 2) * z);
    }
    InvalidateSkins();
}

void rgBone::TranslateOffset(const vector3& d, const matrix44& frame) {
    const vector3 delta = FrameVector(frame, d);
    offset_.translate(delta.x, delta.y, delta.z);
    InvalidateSkins();
}

void rgBone::RotateOffset(const vector3& a, const matrix44& frame, bool applyLimits) {
    RotateAboutOwnPosition(offset_, a, frame);
    if (applyLimits) ApplyConstraints();
    InvalidateSkins();
}

void rgBone::ResetOffset() {
    offset_.ident();
    InvalidateSkins();
}

void rgBone::SetOffsetMatrix(const matrix44& offset) {
    offset_ = offset;
    InvalidateSkins();
}

void rgBone::SetId(int id) {
    number_ = id;
    if (!scene_) return;
    rgSceneContext& context = scene_->context();
    if (context.state.mergeMode) number_ += context.state.jointIdOffset;
    if (number_ >= context.nextJointNumber) context.nextJointNumber = number_ + 1;
}

bool rgBone::CheckParentSelection() const {
    // The scene root (the topmost node) is not examined.
    for (const rgSceneNode* n = parent_; n && n->Parent(); n = n->Parent())
        if (n->IsBone() && n->Selected()) return true;
    return false;
}

void rgBone::GetConstraints(int axis, int& mode, float& first, float& second) const {
    if (axis < 0 || axis > 2) return;
    mode = limitModes_[axis];
    first = limits_[axis][0];
    second = limits_[axis][1];
}

void rgBone::SetConstraints(int axis, int mode, float first, float second) {
    if (axis < 0 || axis > 2) return;
    limitModes_[axis] = mode;
    limits_[axis][0] = first;
    limits_[axis][1] = second;
}

void rgBone::ApplyConstraints() {
    constexpr double kDegToRad = std::numbers::pi / 180.0;
    matrix44 inverseLocal = local_;
    inverseLocal.invert();
    const matrix44 b = local_ * offset_ * inverseLocal;  // the offset seen in the joint's own frame
    vector3 e = b.get_eulers();
    // A stretched joint matrix can leave the angles undefined: nothing to clamp by.
    if (!std::isfinite(e.x) || !std::isfinite(e.y) || !std::isfinite(e.z)) return;
    bool clamped = false;
    for (int i = 0; i < 3; ++i) {
        float limited = e[i];
        if (limitModes_[i] == kLimitLimited) {
            const float lo = static_cast<float>(std::min(limits_[i][0], limits_[i][1]) * kDegToRad);
            const float hi = static_cast<float>(std::max(limits_[i][0], limits_[i][1]) * kDegToRad);
            if (lo > limited) limited = lo;
            if (limited > hi) limited = hi;
        } else if (limitModes_[i] == kLimitLocked) {
            limited = 0.0f;
        }
        clamped = clamped || limited != e[i];
        e[i] = limited;
    }
    // Within the limits the offset stays exactly as it is.
    if (!clamped) return;
    // The rotation whose angles in the joint's own frame are the clamped
    // ones, brought back into the parent's frame; the translation stays.
    matrix44 own;
    own.rotate_x(e.x);
    own.rotate_y(e.y);
    own.rotate_z(e.z);
    const matrix44 localTurn = WithoutTranslation(local_);
    matrix44 inverseLocalTurn = localTurn;
    inverseLocalTurn.invert();
    const vector3 t = offset_.pos_component();
    offset_ = WithoutTranslation(inverseLocalTurn * own * localTurn);
    offset_.translate(t.x, t.y, t.z);
    InvalidateSkins();
}

void rgBone::Hide() {
    rgSceneNode::Hide();
    if (!scene_) return;
    rgJointTree& tree = scene_->context().tree();
    if (tree.HasItem(this)) tree.SetItemSelected(this, false);
}

void rgBone::CopyJointDataTo(rgBone& copy) const {
    copy.local_ = local_;
    copy.relaxed_ = relaxed_;
    copy.inverseRelaxed_ = inverseRelaxed_;
    copy.offset_ = offset_;
    copy.matrixCache_ = matrixCache_;
    copy.ikChainEnd_ = ikChainEnd_;
    copy.ikWeight_ = ikWeight_;
    std::copy(&limits_[0][0], &limits_[0][0] + 6, &copy.limits_[0][0]);
    std::copy(limitModes_, limitModes_ + 3, copy.limitModes_);
    copy.keys_.reserve(keys_.size());
    for (const auto& key : keys_) copy.keys_.push_back(std::make_unique<rgKeyframe>(*key));
}

rgSceneNode* rgBone::Clone(rgSceneNode* parent, rgScene* scene) {
    // A clone keeps the original's number and does not consume one.
    const int savedCounter = scene ? scene->context().nextJointNumber : 0;
    auto* copy = new rgBone(scene);
    if (scene) scene->context().nextJointNumber = savedCounter;
    CopyJointDataTo(*copy);
    copy->number_ = number_;
    copy->parentselected = parentselected;
    copy->name_ = name_;
    copy->colour_ = colour_;
    CloneBaseInto(copy, parent, scene);
    return copy;
}

rgSceneNode* rgBone::Duplicate(rgSceneNode* parent) {
    auto* copy = new rgBone(scene_);  // takes a fresh number
    copy->visible_ = visible_;
    CopyJointDataTo(*copy);
    copy->SetName(name_ + " Copy");
    rgSceneNode* target = parent ? parent : parent_;
    if (target) AppendChildWithoutTree(target, copy);
    const std::vector<rgSceneNode*> kids = children_;
    for (rgSceneNode* child : kids) child->Duplicate(copy);
    return copy;
}

void rgBone::AddToTree() {
    if (scene_) scene_->context().tree().AddItem(this, ToBone(parent_), name_, selected_);
    rgSceneNode::AddToTree();
}

void rgBone::Mirror(bool x, bool y, bool z) {
    const bool flip[3] = {x, y, z};
    for (int row = 0; row < 3; ++row)
        if (flip[row])
            for (int col = 0; col < 3; ++col) local_.S(row, col, -local_.M(row, col));
    InvalidateSkins();
}

void rgBone::GetBoundingSphere(vector3& centre, float& radius) {
    centre = global_.pos_component();
    radius = 0.1f;
}

void rgBone::DrawSelf(rgNodePainter& painter, int, bool) { painter.DrawJoint(*this); }

bool rgBone::PickSelf(rgNodePicker& picker, int a, int b) { return picker.PickJoint(*this, a, b); }
