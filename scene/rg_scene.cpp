#include "scene/rg_scene.h"

#include <algorithm>
#include <cmath>
#include <strings.h>

#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"

namespace {
constexpr size_t kMaxExpansionName = 256;
}

rgScene::rgScene(rgSceneContext& context)
    : context_(context), root_(std::make_unique<rgSceneNode>(this)) {
    context_.savedTreeExpansion.clear();
}

// Copies keep the saved tree expansion: undo saves it before the swap.
rgScene::rgScene(rgSceneContext& context, CopyTag)
    : context_(context), root_(std::make_unique<rgSceneNode>(this)) {}

rgScene::~rgScene() { DestroyHierarchy(); }

void rgScene::DestroyHierarchy() {
    tearingDown_ = true;
    root_.reset();
    tearingDown_ = false;
}

void rgScene::RefreshWalk() {
    if (walkVersion_ == structureVersion_) return;
    walk_.clear();
    ForEach([this](rgSceneNode* node) { walk_.push_back(node); });
    walkVersion_ = structureVersion_;
}

rgSceneNode* rgScene::GetFirstNode() {
    cursor_ = 0;
    RefreshWalk();
    return walk_.empty() ? nullptr : walk_[0];
}

rgSceneNode* rgScene::GetNextNode() {
    ++cursor_;
    // A structural change since the last call shifts the sequence, as a
    // fresh walk would.
    RefreshWalk();
    return cursor_ >= 0 && static_cast<size_t>(cursor_) < walk_.size() ? walk_[cursor_] : nullptr;
}

rgMesh* rgScene::CreateMesh() { return new rgMesh(this); }

rgBone* rgScene::CreateBone() { return new rgBone(this); }

rgSceneNode* rgScene::CreateNode(const char* className, rgSceneNode* parent) {
    rgSceneNode* node = nullptr;
    if (className && ::strcasecmp(className, "rgMesh") == 0) node = CreateMesh();
    else if (className && ::strcasecmp(className, "rgBone") == 0) node = CreateBone();
    if (!node) return nullptr;
    (parent ? parent : root_.get())->AttachChild(node);
    return node;
}

rgBone* rgScene::FindJointById(int id) {
    rgBone* found = nullptr;
    ForEach([&](rgSceneNode* node) {
        rgBone* joint = ToBone(node);
        if (joint && joint->GetId() == id) found = joint;
    });
    return found;
}

bool rgScene::GetBoundingSphere(vector3& centre, float& radius) {
    return BoundingSphereOf(false, centre, radius);
}

bool rgScene::GetSelectionBoundingSphere(vector3& centre, float& radius) {
    return BoundingSphereOf(true, centre, radius);
}

bool rgScene::BoundingSphereOf(bool selectedOnly, vector3& centre, float& radius) {
    std::vector<vector3> centres;
    std::vector<float> radii;
    for (rgSceneNode* node = GetFirstNode(); node; node = GetNextNode()) {
        if (selectedOnly && !node->GetSelected()) continue;
        vector3 c;
        float r = 0.0f;
        node->GetBoundingSphere(c, r);
        centres.push_back(c);
        radii.push_back(r);
    }
    if (centres.empty()) return false;
    vector3 sum(0, 0, 0);
    for (const vector3& c : centres) sum += c;
    const vector3 mean = sum / static_cast<float>(centres.size());
    float extent = 0.0f;
    for (size_t i = 0; i < centres.size(); ++i)
        extent = std::fmax(extent, (centres[i] - mean).len() + radii[i]);
    centre = mean;
    radius = extent;
    return true;
}

void rgScene::Clear() {
    context_.toolReferences().ResetNodeReferences();
    {
        rgTreeChangeGuard guard(context_);
        DestroyHierarchy();
        root_ = std::make_unique<rgSceneNode>(this);
        NoteStructureChange();
    }
    clips_.clear();
    context_.nextJointNumber = 1;
    context_.tree().Reset();
}

std::unique_ptr<rgScene> rgScene::Copy() {
    std::unique_ptr<rgScene> copy(new rgScene(context_, CopyTag{}));
    copy->root_.reset(root_->Clone(nullptr, copy.get()));
    copy->clips_ = clips_;
    copy->NoteStructureChange();
    return copy;
}

void rgScene::Adopt(rgSceneNode* node, rgScene* scene) {
    node->scene_ = scene;
    for (rgSceneNode* child : node->Children()) Adopt(child, scene);
}

void rgScene::SwapContents(rgScene& other) {
    std::swap(root_, other.root_);
    std::swap(clips_, other.clips_);
    Adopt(root_.get(), this);
    Adopt(other.root_.get(), &other);
    InvalidateSkins();
    other.InvalidateSkins();
    NoteStructureChange();
    other.NoteStructureChange();
}

void rgScene::UpdateScene() { root_->UpdateMatrix(matrix44()); }

void rgScene::RebuildTree() {
    rgTreeChangeGuard guard(context_);
    context_.tree().RemoveAllItems();
    root_->AddToTree();
}

void rgScene::SaveTreeExpansion() {
    auto& records = context_.savedTreeExpansion;
    records.clear();
    const rgJointTree& tree = context_.tree();
    ForEach([&](rgSceneNode* node) {
        const rgBone* joint = ToBone(node);
        if (!joint) return;
        rgTreeExpansionRecord record;
        record.name = joint->GetName().substr(0, kMaxExpansionName);
        record.expanded = tree.HasItem(joint) ? tree.IsItemExpanded(joint) : true;
        records.push_back(record);
    });
}

void rgScene::RestoreTreeExpansion() {
    rgTreeChangeGuard guard(context_);
    rgJointTree& tree = context_.tree();
    const auto& records = context_.savedTreeExpansion;
    ForEach([&](rgSceneNode* node) {
        const rgBone* joint = ToBone(node);
        if (!joint || !tree.HasItem(joint)) return;
        for (const auto& record : records)
            if (record.expanded && ::strcasecmp(record.name.c_str(), joint->GetName().c_str()) == 0)
                tree.ExpandItem(joint);
    });
    tree.ExpandRootItem();
}
