#include "editing/rg_ik_move.h"

#include "animation/ik_solver.h"
#include "editing/animation_control.h"
#include "editing/rg_editor.h"
#include "editing/tool_manager.h"
#include "scene/rg_bone.h"
#include "scene/rg_scene.h"
#include "viewport/camera.h"

rgIKMove::rgIKMove(rgToolManager& owner) : rgSelect(owner) {
    regionEnabled = false;
}

rgBone* rgIKMove::EndJoint() {
    if (!end_) return nullptr;
    // A script may have deleted the joint: only a joint the walk still
    // reaches is used.
    bool found = false;
    scene().ForEach([&](rgSceneNode* node) { found = found || node == end_; });
    if (!found) end_ = nullptr;
    return end_;
}

void rgIKMove::Activate() {
    end_ = nullptr;
    scene().ForEach([&](rgSceneNode* node) { TakeCurrent(node); });
    scene().ForEach([&](rgSceneNode* node) { KeepOnlyCurrent(node); });
    changed = false;  // no selection click has happened with the tool yet
}

bool rgIKMove::PickForTest(rgSceneNode* node, rgNodePicker& picker) {
    if (node->IsBone() && editor().toolOptions.selectJoints)
        return node->Pick(picker, kPickObjects, shift);
    return node->GetSelected();
}

bool rgIKMove::PickTest(rgSceneNode* node, const rgToolEvent& event) {
    int x, y, w, h;
    PickRegion(event, x, y, w, h);
    const bool hit = event.viewport->Pick(x, y, w, h, [&](rgNodePicker& picker) {
        picker.SetPickHits(&hits_);
        return PickForTest(node, picker);
    });
    node->picked = hit;
    return hit;
}

void rgIKMove::TakeCurrent(rgSceneNode* node) {
    if (rgBone* joint = ToBone(node); joint && joint->GetSelected()) end_ = joint;
}

void rgIKMove::KeepOnlyCurrent(rgSceneNode* node) {
    rgBone* joint = ToBone(node);
    if (!joint) return;
    if (joint == end_) {
        joint->parentselected = false;
        return;
    }
    if (joint->GetSelected()) changed = true;
    joint->SetSelected(false);
    joint->parentselected = joint->CheckParentSelection();
}

void rgIKMove::MakeEndJoint(rgBone* joint) {
    if (rgBone* previous = EndJoint(); previous && previous != joint) {
        if (previous->GetSelected()) changed = true;
        previous->SetSelected(false);
    }
    end_ = joint;
    scene().ForEach([&](rgSceneNode* node) { KeepOnlyCurrent(node); });
}

void rgIKMove::ApplySelection(rgSceneNode* node) {
    if (shift & kShiftKey) return;
    rgBone* joint = ToBone(node);
    if (!joint) return;
    // The pick of this pass decides, as a second pick of the same region would.
    const bool hit = joint->picked;
    if (hit) MakeEndJoint(joint);
    if (joint->GetSelected() != hit) {
        joint->SetSelected(hit);
        changed = true;
    }
    if (end_ && !end_->GetSelected()) end_ = nullptr;
}

void rgIKMove::MouseDown(int button, int s, int x, int y, rgToolViewport& viewport) {
    scene().UpdateScene();
    if (!PressOnHandle(button, s, x, y, viewport)) return;
    editor().PushUndo("IK Move");
    vector3 p;
    if (viewport.ScreenToWorld(x, y, p)) currentPoint_ = p;
    previousPoint_ = currentPoint_;
    delta_.set(0, 0, 0);
    lastX_ = x;
    lastY_ = y;
    eyePoint_ = -ViewMatrix(viewport.State()).pos_component();
    dragging_ = true;
    moved_ = false;
    owner().RedrawViewports();
}

void rgIKMove::AlignToView(vector3& d, int projection) const {
    const int axis = state().activeAxis;
    switch (projection) {
        case kProjLeft:
        case kProjRight:
            d.x = 0;
            if (axis == kAxisZ) d.y = 0;
            if (axis == kAxisY) {
                d.y = d.z;
                d.z = 0;
            }
            break;
        case kProjTop:
        case kProjBottom:
            d.y = 0;
            if (axis == kAxisX) d.z = 0;
            if (axis == kAxisZ) {
                d.z = d.x;
                d.x = 0;
            }
            break;
        case kProjFront:
        case kProjBack:
            d.z = 0;
            if (axis == kAxisX) d.y = 0;
            if (axis == kAxisY) {
                d.y = d.x;
                d.x = 0;
            }
            break;
        default:
            break;
    }
}

void rgIKMove::MouseMove(int s, int x, int y, rgToolViewport& viewport) {
    if (!dragging_) {
        rgSelect::MouseMove(s, x, y, viewport);
        return;
    }
    vector3 p;
    if (viewport.ScreenToWorld(x, y, p)) currentPoint_ = p;
    delta_ = currentPoint_ - previousPoint_;
    const float dx = static_cast<float>(x - lastX_);
    if (rgBone* end = EndJoint()) {
        scene().UpdateScene();
        const vector3 at = end->GetGlobalMatrix().pos_component();
        const float distance = (at - eyePoint_).len();
        const int axis = state().activeAxis;
        handleMove_.set(0, 0, 0);
        if (axis < kAxisCentre)
            handleMove_[axis] = distance * dx * 0.002f;
        else
            handleMove_ = delta_ * distance;
        if (owner().view().HasActiveViewport()) {
            const int projection = viewport.State().projection;
            AlignToView(delta_, projection);
            Solve(*end, at + (IsOrthographic(projection) ? delta_ : handleMove_));
        }
        moved_ = true;
    }
    scene().InvalidateSkins();
    owner().RedrawViewports();
    lastX_ = x;
    lastY_ = y;
    previousPoint_ = currentPoint_;
}

void rgIKMove::MouseUp(int button, int s, int x, int y, rgToolViewport& viewport) {
    if (!dragging_) {
        rgSelect::MouseUp(button, s, x, y, viewport);
        end_ = nullptr;
        scene().ForEach([&](rgSceneNode* node) { TakeCurrent(node); });
        return;
    }
    dragging_ = false;
    state().activeAxis = kAxisNone;
    owner().RedrawViewports();
    if (moved_) editor().MarkModified();
    if (!moved_ && !changed) {
        editor().DropNewestUndo();
        return;
    }
    if (state().autoKeyframing) editor().animation().KeyAllJoints();
}
