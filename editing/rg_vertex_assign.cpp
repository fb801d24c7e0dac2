#include "editing/rg_vertex_assign.h"

#include "editing/rg_editor.h"
#include "editing/tool_manager.h"
#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"
#include "skinning/vertex_assignment.h"

rgVertexAssign::rgVertexAssign(rgToolManager& owner) : rgSelect(owner) {}

rgBone* rgVertexAssign::CurrentJoint() {
    if (!current_) return nullptr;
    bool found = false;
    scene().ForEach([&](rgSceneNode* node) { found = found || node == current_; });
    if (!found || !current_->GetSelected()) current_ = nullptr;
    return current_;
}

bool rgVertexAssign::PickForTest(rgSceneNode* node, rgNodePicker& picker) {
    const rgToolOptions& options = editor().toolOptions;
    if (node->IsMesh() && options.selectVertices) {
        node->Pick(picker, kPickVertices, shift);
        return node->GetSelected();
    }
    if (node->IsBone() && options.selectJoints) return node->Pick(picker, kPickObjects, shift);
    return node->GetSelected();
}

bool rgVertexAssign::PickNode(rgSceneNode* node, rgNodePicker& picker) {
    const bool hit = PickForTest(node, picker);
    if (node->IsBone() && editor().toolOptions.selectJoints && hit) {
        if (current_ && current_ != node) current_->SetSelected(false);
        current_ = ToBone(node);
        scene().ForEach([&](rgSceneNode* n) { KeepOnlyCurrent(n); });
    }
    return hit;
}

bool rgVertexAssign::PickTest(rgSceneNode* node, const rgToolEvent& event) {
    if (!node->IsBone()) return false;
    int x, y, w, h;
    PickRegion(event, x, y, w, h);
    const bool hit = event.viewport->Pick(
        x, y, w, h, [&](rgNodePicker& picker) { return PickForTest(node, picker); });
    node->picked = hit;
    return hit;
}

void rgVertexAssign::ApplySelection(rgSceneNode* node) {
    // Joints are handled together in ApplyJointRules; meshes keep their selection.
    (void)node;
}

void rgVertexAssign::ApplyJointRules(const std::vector<rgBone*>& hits) {
    auto makeOnlyCurrent = [&](rgBone* joint) {
        current_ = joint;
        joint->SetSelected(true);
        scene().ForEach([&](rgSceneNode* n) {
            if (n->IsBone() && n != joint) n->SetSelected(false);
        });
    };
    if (shift & kCtrlKey) {
        for (rgBone* joint : hits) makeOnlyCurrent(joint);
    } else if (shift & kAltKey) {
        rgBone* current = CurrentJoint();
        for (rgBone* joint : hits)
            if (joint == current) {
                current->SetSelected(false);
                current_ = nullptr;
            }
    } else if (!(shift & kShiftKey)) {
        for (rgBone* joint : hits) makeOnlyCurrent(joint);
        if (hits.empty())
            scene().ForEach([](rgSceneNode* n) {
                if (n->IsBone()) n->SetSelected(false);
            });
    }
}

void rgVertexAssign::MouseUp(int, int s, int x, int y, rgToolViewport& viewport) {
    shift = s;
    const rgToolEvent event{x, y, s, &viewport};
    // The step holds the selections as they were before this release.
    editor().PushUndo("Change Selection");
    scene().UpdateScene();
    const rgToolOptions& options = editor().toolOptions;
    if (options.selectVertices) {
        int rx, ry, rw, rh;
        PickRegion(event, rx, ry, rw, rh);
        scene().ForEach([&](rgSceneNode* node) {
            if (!node->IsMesh()) return;
            viewport.Pick(rx, ry, rw, rh,
                          [&](rgNodePicker& picker) { return PickForTest(node, picker); });
        });
    }
    if (options.selectJoints) {
        std::vector<rgBone*> hits;
        scene().ForEach([&](rgSceneNode* node) {
            if (PickTest(node, event)) hits.push_back(ToBone(node));
        });
        ApplyJointRules(hits);
    }
    CurrentJoint();  // a deselected current joint is cleared
    Refresh();
    regionActive = false;
}

void rgVertexAssign::TakeCurrent(rgSceneNode* node) {
    if (node->IsBone() && node->GetSelected()) current_ = ToBone(node);
}

void rgVertexAssign::KeepOnlyCurrent(rgSceneNode* node) {
    rgBone* joint = ToBone(node);
    if (!joint) return;
    if (joint == current_) {
        joint->parentselected = false;
        return;
    }
    joint->SetSelected(false);
    joint->parentselected = joint->CheckParentSelection();
}

void rgVertexAssign::TakeCurrentFromSelection() {
    current_ = nullptr;
    scene().ForEach([&](rgSceneNode* node) { TakeCurrent(node); });
    scene().ForEach([&](rgSceneNode* node) { KeepOnlyCurrent(node); });
}

void rgVertexAssign::Refresh() {
    scene().ForEach([&](rgSceneNode* node) { AfterSelection(node); });
    if (current_) current_->parentselected = false;
    ShowJointSelectionInTree();
    rgBone* current = CurrentJoint();
    owner().view().ShowWeights(current ? current->GetId() : -1,
                               editor().toolOptions.showNormalized);
    owner().RedrawViewports();
}

void rgVertexAssign::Activate() {
    state().vertexMode = true;
    TakeCurrentFromSelection();
    Refresh();
}

void rgVertexAssign::Deactivate() {
    state().vertexMode = false;
    current_ = nullptr;
    owner().view().ShowWeights(-1, editor().toolOptions.showNormalized);
}

void rgVertexAssign::TreeSelectionChanged() {
    TakeCurrentFromSelection();
    scene().InvalidateSkins();
    Refresh();
}

void rgVertexAssign::Assign() {
    editor().PushUndo("Assign Vertices");
    if (rgBone* joint = CurrentJoint())
        AssignSelectedVertices(scene(), joint->GetId(), editor().toolOptions.currentWeight);
    owner().RedrawViewports();
}

void rgVertexAssign::Unassign() {
    editor().PushUndo("Unassign Vertices");
    if (rgBone* joint = CurrentJoint()) UnassignSelectedVertices(scene(), joint->GetId());
    owner().RedrawViewports();
}

void rgVertexAssign::SelectAssigned() {
    if (rgBone* joint = CurrentJoint()) SelectAssignedVertices(scene(), joint->GetId());
    owner().RedrawViewports();
}

void rgVertexAssign::SelectUnassigned() {
    SelectUnassignedVertices(scene());
    owner().RedrawViewports();
}

void rgVertexAssign::Normalize() {
    editor().PushUndo("Normalize Weights");
    NormalizeAllWeights(scene());
    owner().RedrawViewports();
}

void rgVertexAssign::SetShowNormalized(bool on) {
    editor().toolOptions.showNormalized = on;
    scene().InvalidateSkins();
    Refresh();
}

void rgVertexAssign::ForgetNode(rgSceneNode* node) {
    if (InSubtree(current_, node)) current_ = nullptr;
}
