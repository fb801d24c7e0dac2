#pragma once

#include "core/vector3.h"
#include "editing/reference_frame.h"
#include "editing/rg_select.h"

// "Rotate Objects": dragging an axis handle turns the selected nodes about
// their own positions, around that axis of their reference frame, half a
// degree per pixel of horizontal mouse movement; the centre sphere turns
// them about the axis pointing out of an orthographic view.
class rgRotate : public rgSelect {
public:
    explicit rgRotate(rgToolManager& owner);

    void MouseDown(int button, int shift, int x, int y, rgToolViewport& viewport) override;
    void MouseUp(int button, int shift, int x, int y, rgToolViewport& viewport) override;
    void MouseMove(int shift, int x, int y, rgToolViewport& viewport) override;

    virtual void SaveFrame(rgSceneNode* node);  // 11
    // Turns one selected node by the current step.
    virtual void DragNode(rgSceneNode* node, const rgToolEvent& event);  // 12
    // Numeric entry: turns the selection by (x, y, z) degrees.
    virtual void RotateBy(float x, float y, float z);  // 13
    virtual void RotateNode(rgSceneNode* node);        // 14

    bool Dragging() const { return dragging_; }

protected:
    virtual const char* UndoLabel() const { return "Rotate Objects"; }
    // The angles (radians) a drag step turns a node by, for the active axis.
    vector3 StepAngles(const rgToolEvent& event) const;

    int frameCounter_ = 0;
    bool dragging_ = false;
    int lastX_ = 0;
    int lastY_ = 0;
    int horizontalStep_ = 0;
    int verticalStep_ = 0;
    vector3 numericAngles_;
    rgFrameList frames_;
    bool moved_ = false;
};
