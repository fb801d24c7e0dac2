#pragma once

#include "core/vector3.h"
#include "editing/rg_select.h"

// "Scale Objects": dragging a handle to the right grows the selected nodes
// along that axis (all three for the centre sphere), to the left shrinks
// them. The scale gathers as a pending scale the drawing shows and is baked
// into meshes on release.
class rgScale : public rgSelect {
public:
    explicit rgScale(rgToolManager& owner);

    void MouseDown(int button, int shift, int x, int y, rgToolViewport& viewport) override;
    void MouseUp(int button, int shift, int x, int y, rgToolViewport& viewport) override;
    void MouseMove(int shift, int x, int y, rgToolViewport& viewport) override;

    // Scales one selected node by the numeric factors.
    virtual void ScaleNode(rgSceneNode* node);  // 11

    // Numeric entry: factors of 0 or less are refused (nothing happens).
    void ScaleBy(float x, float y, float z);

    bool Dragging() const { return dragging_; }

private:
    // The factor of a horizontal step: 1 + 0.005 per pixel to the right, its
    // reciprocal to the left.
    static float StepFactor(int dx);

    bool dragging_ = false;
    int lastY_ = 0;
    int verticalStep_ = 0;
    int lastX_ = 0;
    int horizontalStep_ = 0;
    bool scaled_ = false;
    float factor_ = 1.0f;
    vector3 numericFactors_{1, 1, 1};
};
