#pragma once

#include "core/vector3.h"
#include "editing/rg_select.h"

class rgBone;

// The IK tool of the Animation level. The selected joint is the end of the
// chain; dragging one of its handles moves a goal with the mouse and the
// solver turns the joints above the end towards it on every move (one undo
// step "IK Move" per drag). A click elsewhere picks a new end joint; Shift
// keeps the selection as it is. With Auto Keyframing on, a drag keys every
// joint of the scene at the current frame.
class rgIKMove : public rgSelect {
public:
    explicit rgIKMove(rgToolManager& owner);

    // A picked joint becomes the end joint and the only selected one.
    void ApplySelection(rgSceneNode* node) override;                                         // 1
    bool PickTest(rgSceneNode* node, const rgToolEvent& event) override;                     // 2
    void MouseDown(int button, int shift, int x, int y, rgToolViewport& viewport) override;  // 8
    void MouseUp(int button, int shift, int x, int y, rgToolViewport& viewport) override;    // 9
    void MouseMove(int shift, int x, int y, rgToolViewport& viewport) override;              // 10

    // Joints draw themselves for picking ("Joints" ticked); other nodes
    // answer with their selection.
    virtual bool PickForTest(rgSceneNode* node, rgNodePicker& picker);  // 11
    // A selected joint becomes the end joint (the last in walk order wins).
    virtual void TakeCurrent(rgSceneNode* node);  // 12
    // Every joint but the end joint is deselected.
    virtual void KeepOnlyCurrent(rgSceneNode* node);  // 13

    void Activate() override;
    void Deactivate() override { end_ = nullptr; }
    void ForgetNodes() override { end_ = nullptr; }

    // The end joint; null when there is none or it has left the scene.
    rgBone* EndJoint();
    bool Dragging() const { return dragging_; }

private:
    void MakeEndJoint(rgBone* joint);
    // Makes horizontal mouse travel in an orthographic view drive the axis
    // of the dragged handle.
    void AlignToView(vector3& d, int projection) const;

    rgBone* end_ = nullptr;
    bool dragging_ = false;
    bool moved_ = false;
    vector3 previousPoint_;
    vector3 currentPoint_;
    vector3 delta_;
    vector3 handleMove_;
    vector3 eyePoint_;
    int lastX_ = 0;
    int lastY_ = 0;
};
