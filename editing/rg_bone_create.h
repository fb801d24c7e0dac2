#pragma once

#include "editing/rg_select.h"

class rgBone;

// "Create Joint": every click in a viewport adds a joint at the clicked
// point as a child of the current joint and makes it current, so clicks draw
// a chain; without a current joint the click starts a new skeleton at the
// scene root. Frame selection is off.
class rgBoneCreate : public rgSelect {
public:
    explicit rgBoneCreate(rgToolManager& owner);

    void MouseDown(int button, int shift, int x, int y, rgToolViewport& viewport) override;
    void MouseUp(int button, int shift, int x, int y, rgToolViewport& viewport) override;
    void MouseMove(int shift, int x, int y, rgToolViewport& viewport) override;

    // A selected joint becomes the current joint (the last one in walk order wins).
    virtual void TakeCurrent(rgSceneNode* node);  // 11
    virtual void Unused12(rgSceneNode*) {}        // 12
    // A selected joint other than the current one is deselected.
    virtual void KeepOnlyCurrent(rgSceneNode* node);  // 13
    // The current joint's parent-selected mark is cleared; the others follow
    // their ancestors' selection.
    virtual void RefreshParentMark(rgSceneNode* node);  // 14

    void Activate() override;
    void Deactivate() override;
    void ForgetNodes() override { current_ = nullptr; }
    void ForgetNode(rgSceneNode* node) override;

    // A mouse-up on a row of the keyframer's joint tree: that row's joint (or
    // none) is where the next click adds a joint.
    void TreeRowReleased(rgBone* joint);

    // Null when the next click starts a new skeleton; a joint deleted since
    // it became current counts as none.
    rgBone* CurrentJoint();

private:
    void CreateJoint(int x, int y, rgToolViewport& viewport);

    rgBone* current_ = nullptr;
};
