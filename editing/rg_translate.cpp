#include "editing/rg_translate.h"

#include "editing/rg_editor.h"
#include "editing/tool_manager.h"
#include "scene/rg_scene.h"
#include "viewport/axis_drag.h"
#include "viewport/camera.h"

rgTranslate::rgTranslate(rgToolManager& owner) : rgSelect(owner) {}

void rgTranslate::MouseDown(int button, int s, int x, int y, rgToolViewport& viewport) {
    scene().UpdateScene();
    const bool onHandle = PressOnHandle(button, s, x, y, viewport);
    eyePoint_ = -ViewMatrix(viewport.State()).pos_component();
    if (!onHandle) return;
    editor().PushUndo(UndoLabel());
    frameCounter_ = 0;
    frames_.Clear();
    startPositions_.clear();
    worldAxes_.clear();
    scene().ForEach([&](rgSceneNode* node) { SaveFrame(node); });
    lastX_ = followX_ = x;
    lastY_ = followY_ = y;
    vector3 p;
    if (viewport.ScreenToWorld(x, y, p)) startPoint_ = p;
    currentPoint_ = startPoint_;
    delta_.set(0, 0, 0);
    pressX_ = x;
    pressY_ = y;
    horizontalOffset_ = verticalOffset_ = 0;
    moved_ = false;
    dragging_ = true;
    owner().RedrawViewports();
}

void rgTranslate::SaveFrame(rgSceneNode* node) {
    // The centre sphere always moves in world axes.
    const int system = state().activeAxis == kAxisCentre ? kCoordGlobal : owner().coordSystem;
    const matrix44 frame = ReferenceFrame(*node, system);
    frames_.Add(frame);
    ++frameCounter_;
    // A move d along the frame's axis adds FrameVector(frame, d) to the
    // node's translation, in its parent's space.
    vector3 unit(0, 0, 0);
    if (state().activeAxis < kAxisCentre) unit[state().activeAxis] = 1.0f;
    vector3 axis = FrameVector(frame, unit);
    if (rgSceneNode* parent = node->GetParent()) axis = parent->GetGlobalMatrix().TransformDirection(axis);
    startPositions_.push_back(node->GetGlobalMatrix().pos_component());
    worldAxes_.push_back(axis);
}

void rgTranslate::WalkDragNodes(const rgToolEvent& event) {
    frameCounter_ = 0;
    scene().ForEach([&](rgSceneNode* node) { DragNode(node, event); });
}

void rgTranslate::MouseMove(int s, int x, int y, rgToolViewport& viewport) {
    if (!dragging_) {
        rgSelect::MouseMove(s, x, y, viewport);
        return;
    }
    // Global matrices as the last frame drew them; both walks read the same.
    scene().UpdateScene();
    const rgToolEvent event{x, y, s, &viewport};
    // Back to where the drag started, then out by the new amount.
    delta_ = -delta_;
    horizontalOffset_ = -horizontalOffset_;
    verticalOffset_ = -verticalOffset_;
    followX_ = lastX_, followY_ = lastY_, followSign_ = -1.0f;
    WalkDragNodes(event);
    followX_ = lastX_ = x, followY_ = lastY_ = y, followSign_ = 1.0f;
    vector3 p;
    if (viewport.ScreenToWorld(x, y, p)) currentPoint_ = p;
    delta_ = currentPoint_ - startPoint_;
    horizontalOffset_ = x - pressX_;
    verticalOffset_ = pressY_ - y;
    WalkDragNodes(event);
    owner().RedrawViewports();
}

void rgTranslate::DragNode(rgSceneNode* node, const rgToolEvent& event) {
    const matrix44 frame = frames_.At(frameCounter_++);
    if (!node->GetSelected() || !owner().view().HasActiveViewport()) return;
    node->Translate(DragIncrement(*node, event), frame);
    moved_ = true;
}

vector3 rgTranslate::DragIncrement(rgSceneNode& node, const rgToolEvent& event) const {
    const int axis = state().activeAxis;
    const rgViewportState& view = event.viewport->State();
    const float h = static_cast<float>(horizontalOffset_);
    vector3 d(0, 0, 0);
    if (state().handlesFollowPointer && axis < kAxisCentre) {
        d[axis] = FollowingAmount(event);
        return d;
    }
    if (IsOrthographic(view.projection)) {
        const float zoom = view.orthoView.z;
        if (axis < kAxisCentre && zoom != 0.0f)
            d[axis] = h / (zoom * 200.0f);
        else if (axis == kAxisCentre)
            d = delta_;
    } else {
        const float distance = (node.GetGlobalMatrix().pos_component() - eyePoint_).len();
        if (axis < kAxisCentre)
            d[axis] = distance * h * 0.002f;
        else if (axis == kAxisCentre)
            d = delta_ * distance;
    }
    return d;
}

float rgTranslate::FollowingAmount(const rgToolEvent& event) const {
    const size_t at = static_cast<size_t>(frameCounter_ - 1);  // the node DragNode is moving
    if (at >= startPositions_.size()) return 0.0f;
    rgToolViewport& v = *event.viewport;
    float pressed = 0, now = 0;
    if (!AxisParameterUnderPointer(v.State(), v.ClientWidth(), v.ClientHeight(), pressX_, pressY_,
                                   startPositions_[at], worldAxes_[at], pressed) ||
        !AxisParameterUnderPointer(v.State(), v.ClientWidth(), v.ClientHeight(), followX_, followY_,
                                   startPositions_[at], worldAxes_[at], now))
        return 0.0f;  // the arrow points at the eye: nowhere to follow
    return followSign_ * (now - pressed);
}

void rgTranslate::MouseUp(int button, int s, int x, int y, rgToolViewport& viewport) {
    if (state().activeAxis == kAxisNone) {
        rgSelect::MouseUp(button, s, x, y, viewport);
        return;
    }
    state().activeAxis = kAxisNone;
    owner().RedrawViewports();
    dragging_ = false;
}

void rgTranslate::TranslateBy(float x, float y, float z) {
    editor().PushUndo(UndoLabel());
    numericOffset_.set(x, y, z);
    scene().UpdateScene();
    scene().ForEach([&](rgSceneNode* node) { TranslateNode(node); });
    owner().RedrawViewports();
    editor().MarkModified();
}

void rgTranslate::TranslateNode(rgSceneNode* node) {
    if (!node->GetSelected()) return;
    node->Translate(numericOffset_, ReferenceFrame(*node, owner().coordSystem));
}
