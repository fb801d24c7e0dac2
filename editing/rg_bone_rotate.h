#pragma once

#include "editing/rg_rotate.h"

// The rotate tool of the Animation level: "Rotate Objects" turning the
// selected joints' pose offsets (joint limits are left to the IK tool).
// Auto Keyframing keys as for the translate tool of this level.
class rgBoneRotate : public rgRotate {
public:
    explicit rgBoneRotate(rgToolManager& owner);

    bool PickNode(rgSceneNode* node, rgNodePicker& picker) override;                       // 0
    void MouseUp(int button, int shift, int x, int y, rgToolViewport& viewport) override;  // 9
    void DragNode(rgSceneNode* node, const rgToolEvent& event) override;                   // 12
    void RotateBy(float x, float y, float z) override;                                     // 13
    void RotateNode(rgSceneNode* node) override;                                           // 14
};
