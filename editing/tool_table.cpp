#include "editing/tool_table.h"

const char* const kSelectStatusText =
    "Drag to frame-select, hold CTRL to add to current selection, ALT to delete from selection, "
    "SHIFT to lock selection";
const char* const kTransformStatusText =
    "Hold CTRL to add to current selection, ALT to delete from selection, SHIFT to lock selection";

namespace {

const rgToolSpec kTools[kToolButtonCount] = {
    {rgToolButton::EditSelect, "Edit_SelectBtn", "Select tool, right click for options", 0,
     kSelectStatusText, 0, false, true},
    {rgToolButton::EditTranslate, "Edit_TranslateBtn", "Translate tool, right click for options", 0,
     kTransformStatusText, kPageMove | kPageHierarchy, true, true},
    {rgToolButton::EditRotate, "Edit_RotateBtn", "Rotate tool, right click for options", 0,
     kTransformStatusText, kPageRotate | kPageHierarchy, true, false},
    {rgToolButton::EditScale, "Edit_ScaleBtn", "Scale tool, right click for options", 0,
     kTransformStatusText, kPageScale, true, false},
    {rgToolButton::EditCreateBone, "Edit_CreateBoneBtn", "Create joints, right click for options",
     0,
     "Click to add a bone below the selected, deselect all bones and click to start a new "
     "skeleton",
     0, false, true},
    {rgToolButton::EditVertexAssign, "Edit_EditBoneBtn",
     "Edit vertex assignments, right click for options", 0, kSelectStatusText,
     kPageAssign | kPageWeight, false, true},
    {rgToolButton::EditObjectProperties, "Edit_JointsBtn",
     "Edit object properties, right-click for options", 0,
     "Use the tool options window to modify properties of the selected joint", kPageSelect, false,
     true},
    {rgToolButton::AttachJoints, "AttachJointsMenu", "", -1,
     "Click child node and drag to parent node", 0, false, true},
    {rgToolButton::AnimateSelect, "Animate_SelectBtn", "Select tool, right click for options", 1,
     kSelectStatusText, 0, false, true},
    {rgToolButton::AnimateTranslate, "Animate_TranslateBtn",
     "Translate tool, right click for options", 1, kTransformStatusText, kPageMove, true, true},
    {rgToolButton::AnimateRotate, "Animate_RotateBtn", "Rotate tool, right click for options", 1,
     kTransformStatusText, kPageRotate, true, true},
    {rgToolButton::AnimateIK, "Animate_IKBtn", "IK tool, right-click for options", 1,
     "Hold SHIFT to lock selection", kPageIK, true, true},
};

}  // namespace

const rgToolSpec* ToolSpec(rgToolButton button) {
    const int i = static_cast<int>(button);
    return i >= 0 && i < kToolButtonCount ? &kTools[i] : nullptr;
}
