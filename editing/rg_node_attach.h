#pragma once

#include "editing/rg_select.h"

class rgBone;

// "Attach Joints": press on a child joint, drag to the joint that is to
// become its parent and release there. The child keeps its place in the
// world. Only joints take part in the picks; frame selection is off.
class rgNodeAttach : public rgSelect {
public:
    explicit rgNodeAttach(rgToolManager& owner);

    // The node's selection becomes its pick flag, whatever the modifiers.
    void ApplySelection(rgSceneNode* node) override;
    // Joints only; other nodes are skipped.
    bool PickTest(rgSceneNode* node, const rgToolEvent& event) override;
    void MouseDown(int button, int shift, int x, int y, rgToolViewport& viewport) override;
    void MouseUp(int button, int shift, int x, int y, rgToolViewport& viewport) override;
    void MouseMove(int shift, int x, int y, rgToolViewport& viewport) override;
    virtual void Unused11(rgSceneNode*) {}  // 11
    virtual void Unused12(rgSceneNode*) {}  // 12

    void Deactivate() override { ForgetNodes(); }
    void ForgetNodes() override;
    void ForgetNode(rgSceneNode* node) override;

    bool Dragging() const { return dragging_; }

private:
    // Joint pick at the cursor: every joint's selection becomes whether it was
    // hit, then every hit but the last gets its selection back. Returns the
    // last hit, or null.
    rgBone* PickJointAt(int x, int y, rgToolViewport& viewport);
    bool InScene(const rgSceneNode* node);
    void Attach(rgBone* child, rgBone* parent);

    rgPixel startPoint_;
    rgPixel endPoint_;
    bool dragging_ = false;
    rgBone* child_ = nullptr;
    rgBone* parent_ = nullptr;
};
