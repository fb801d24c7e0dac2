#include "editing/rg_rotate.h"

#include <numbers>

#include "editing/rg_editor.h"
#include "editing/tool_manager.h"
#include "scene/rg_scene.h"
#include "viewport/viewport_state.h"

namespace {
constexpr float kDegToRad = static_cast<float>(std::numbers::pi / 180.0);
}

rgRotate::rgRotate(rgToolManager& owner) : rgSelect(owner) {}

void rgRotate::MouseDown(int button, int s, int x, int y, rgToolViewport& viewport) {
    scene().UpdateScene();
    if (!PressOnHandle(button, s, x, y, viewport)) return;
    editor().PushUndo(UndoLabel());
    frameCounter_ = 0;
    frames_.Clear();
    scene().ForEach([&](rgSceneNode* node) { SaveFrame(node); });
    lastX_ = x;
    lastY_ = y;
    horizontalStep_ = verticalStep_ = 0;
    moved_ = false;
    dragging_ = true;
    owner().RedrawViewports();
}

void rgRotate::SaveFrame(rgSceneNode* node) {
    frames_.Add(ReferenceFrame(*node, owner().coordSystem));
    ++frameCounter_;
}

void rgRotate::MouseMove(int s, int x, int y, rgToolViewport& viewport) {
    if (!dragging_) {
        rgSelect::MouseMove(s, x, y, viewport);
        return;
    }
    horizontalStep_ = x - lastX_;
    verticalStep_ = y - lastY_;
    lastX_ = x;
    lastY_ = y;
    frameCounter_ = 0;
    const rgToolEvent event{x, y, s, &viewport};
    scene().ForEach([&](rgSceneNode* node) { DragNode(node, event); });
    owner().RedrawViewports();
}

vector3 rgRotate::StepAngles(const rgToolEvent& event) const {
    const float a = static_cast<float>(horizontalStep_) * 0.5f * kDegToRad;
    switch (state().activeAxis) {
        case kAxisX:
            return {a, 0, 0};
        case kAxisY:
            return {0, a, 0};
        case kAxisZ:
            return {0, 0, a};
        case kAxisCentre:
            // About the axis that points out of the view.
            switch (event.viewport->State().projection) {
                case kProjFront:
                case kProjBack:
                    return {0, 0, a};
                case kProjLeft:
                case kProjRight:
                    return {a, 0, 0};
                case kProjTop:
                case kProjBottom:
                    return {0, a, 0};
                default:
                    return {0, 0, 0};
            }
        default:
            return {0, 0, 0};
    }
}

void rgRotate::DragNode(rgSceneNode* node, const rgToolEvent& event) {
    const matrix44 frame = frames_.At(frameCounter_++);
    if (!node->GetSelected()) return;
    // Perspective and camera views do not turn about the centre sphere.
    if (state().activeAxis == kAxisCentre && !IsOrthographic(event.viewport->State().projection))
        return;
    node->Rotate(StepAngles(event), frame);
    moved_ = true;
}

void rgRotate::MouseUp(int button, int s, int x, int y, rgToolViewport& viewport) {
    if (state().activeAxis == kAxisNone) {
        rgSelect::MouseUp(button, s, x, y, viewport);
        return;
    }
    state().activeAxis = kAxisNone;
    owner().RedrawViewports();
    dragging_ = false;
}

void rgRotate::RotateBy(float x, float y, float z) {
    numericAngles_.set(x * kDegToRad, y * kDegToRad, z * kDegToRad);
    editor().PushUndo(UndoLabel());
    scene().UpdateScene();
    scene().ForEach([&](rgSceneNode* node) { RotateNode(node); });
    owner().RedrawViewports();
    editor().MarkModified();
}

void rgRotate::RotateNode(rgSceneNode* node) {
    if (!node->GetSelected()) return;
    node->Rotate(numericAngles_, ReferenceFrame(*node, owner().coordSystem));
}
