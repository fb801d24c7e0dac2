#include "editing/rg_bone_translate.h"

#include "editing/animation_control.h"
#include "editing/rg_editor.h"
#include "editing/tool_manager.h"
#include "scene/rg_bone.h"

rgBoneTranslate::rgBoneTranslate(rgToolManager& owner) : rgTranslate(owner) {}

bool rgBoneTranslate::PickNode(rgSceneNode* node, rgNodePicker& picker) {
    if (!node->IsBone()) return node->GetSelected();
    return rgTranslate::PickNode(node, picker);
}

void rgBoneTranslate::MouseUp(int button, int s, int x, int y, rgToolViewport& viewport) {
    if (dragging_ && state().autoKeyframing) editor().animation().KeySelectedJoints();
    rgTranslate::MouseUp(button, s, x, y, viewport);
}

void rgBoneTranslate::DragNode(rgSceneNode* node, const rgToolEvent& event) {
    const matrix44 frame = frames_.At(frameCounter_++);
    rgBone* joint = ToBone(node);
    if (!joint || !joint->GetSelected() || !owner().view().HasActiveViewport()) return;
    joint->TranslateOffset(DragIncrement(*joint, event), frame);
    moved_ = true;
}

void rgBoneTranslate::TranslateBy(float x, float y, float z) {
    rgTranslate::TranslateBy(x, y, z);
    if (state().autoKeyframing) editor().animation().KeySelectedJoints();
}

void rgBoneTranslate::TranslateNode(rgSceneNode* node) {
    rgBone* joint = ToBone(node);
    if (!joint || !joint->GetSelected()) return;
    joint->TranslateOffset(numericOffset_, ReferenceFrame(*joint, owner().coordSystem));
}
