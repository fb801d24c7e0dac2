#include "editing/rg_bone_rotate.h"

#include "editing/animation_control.h"
#include "editing/rg_editor.h"
#include "editing/tool_manager.h"
#include "scene/rg_bone.h"

rgBoneRotate::rgBoneRotate(rgToolManager& owner) : rgRotate(owner) {}

bool rgBoneRotate::PickNode(rgSceneNode* node, rgNodePicker& picker) {
    if (!node->IsBone()) return node->GetSelected();
    return rgRotate::PickNode(node, picker);
}

void rgBoneRotate::MouseUp(int button, int s, int x, int y, rgToolViewport& viewport) {
    if (dragging_ && state().autoKeyframing) editor().animation().KeySelectedJoints();
    rgRotate::MouseUp(button, s, x, y, viewport);
}

void rgBoneRotate::DragNode(rgSceneNode* node, const rgToolEvent& event) {
    const matrix44 frame = frames_.At(frameCounter_++);
    rgBone* joint = ToBone(node);
    if (!joint || !joint->GetSelected()) return;
    // Perspective and camera views do not turn about the centre sphere.
    if (state().activeAxis == kAxisCentre && !IsOrthographic(event.viewport->State().projection))
        return;
    joint->RotateOffset(StepAngles(event), frame, false);
    moved_ = true;
}

void rgBoneRotate::RotateBy(float x, float y, float z) {
    rgRotate::RotateBy(x, y, z);
    if (state().autoKeyframing) editor().animation().KeySelectedJoints();
}

void rgBoneRotate::RotateNode(rgSceneNode* node) {
    rgBone* joint = ToBone(node);
    if (!joint || !joint->GetSelected()) return;
    joint->RotateOffset(numericAngles_, ReferenceFrame(*joint, owner().coordSystem), false);
}
