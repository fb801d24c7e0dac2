#include "editing/rg_scale.h"

#include <cstdlib>

#include "editing/rg_editor.h"
#include "editing/tool_manager.h"
#include "scene/rg_scene.h"

rgScale::rgScale(rgToolManager& owner) : rgSelect(owner) {}

void rgScale::MouseDown(int button, int s, int x, int y, rgToolViewport& viewport) {
    scene().UpdateScene();
    if (!PressOnHandle(button, s, x, y, viewport)) return;
    editor().PushUndo("Scale Objects");
    scene().ForEach([](rgSceneNode* node) {
        if (node->GetSelected()) node->ResetScale();
    });
    lastX_ = x;
    lastY_ = y;
    horizontalStep_ = verticalStep_ = 0;
    factor_ = 1.0f;
    scaled_ = false;
    dragging_ = true;
    owner().RedrawViewports();
}

float rgScale::StepFactor(int dx) {
    if (dx > 0) return 1.0f + 0.005f * static_cast<float>(dx);
    if (dx < 0) return 1.0f / (1.0f + 0.005f * static_cast<float>(std::abs(dx)));
    return 1.0f;
}

void rgScale::MouseMove(int s, int x, int y, rgToolViewport& viewport) {
    if (!dragging_) {
        rgSelect::MouseMove(s, x, y, viewport);
        return;
    }
    horizontalStep_ = x - lastX_;
    verticalStep_ = lastY_ - y;
    factor_ = StepFactor(horizontalStep_);
    const int axis = state().activeAxis;
    const float f = factor_;
    scene().ForEach([&](rgSceneNode* node) {
        if (!node->GetSelected()) return;
        switch (axis) {
            case kAxisX:
                node->Scale(f, 1, 1);
                break;
            case kAxisY:
                node->Scale(1, f, 1);
                break;
            case kAxisZ:
                node->Scale(1, 1, f);
                break;
            default:
                node->Scale(f, f, f);
                break;
        }
        scaled_ = true;
    });
    owner().RedrawViewports();
    lastX_ = x;
    lastY_ = y;
}

void rgScale::MouseUp(int button, int s, int x, int y, rgToolViewport& viewport) {
    if (state().activeAxis == kAxisNone) {
        rgSelect::MouseUp(button, s, x, y, viewport);
        return;
    }
    // The handle stays lit until the next press; a release that belongs to
    // no drag of this tool changes nothing.
    if (!dragging_) return;
    dragging_ = false;
    scene().ForEach([](rgSceneNode* node) {
        if (node->GetSelected()) node->ApplyScale();
    });
    if (scaled_)
        editor().MarkModified();
    else if (!changed)
        editor().DropNewestUndo();
    scene().InvalidateSkins();
    owner().RedrawViewports();
}

void rgScale::ScaleBy(float x, float y, float z) {
    if (!(x > 0.0f && y > 0.0f && z > 0.0f)) return;
    editor().PushUndo("Scale Objects");
    numericFactors_.set(x, y, z);
    scene().ForEach([&](rgSceneNode* node) { ScaleNode(node); });
    owner().RedrawViewports();
    editor().MarkModified();
}

void rgScale::ScaleNode(rgSceneNode* node) {
    if (!node->GetSelected()) return;
    node->ResetScale();
    node->Scale(numericFactors_.x, numericFactors_.y, numericFactors_.z);
    node->ApplyScale();
}
