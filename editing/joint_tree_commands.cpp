#include "editing/joint_tree_commands.h"

#include <unordered_set>

#include "editing/rg_bone_create.h"
#include "editing/rg_editor.h"
#include "editing/rg_object_prop.h"
#include "editing/rg_vertex_assign.h"
#include "editing/tool_manager.h"
#include "scene/rg_bone.h"
#include "scene/rg_scene.h"

void SelectJointsFromTree(rgEditor& editor, const std::vector<rgBone*>& selected) {
    const std::unordered_set<const rgSceneNode*> chosen(selected.begin(), selected.end());
    rgScene& scene = editor.scene();
    scene.ForEach([&](rgSceneNode* node) {
        rgBone* joint = ToBone(node);
        if (!joint) return;
        const bool on = chosen.count(joint) != 0;
        if (on && !joint->IsVisible())
            for (rgSceneNode* n = joint; n && n != scene.GetRootNode(); n = n->GetParent())
                n->Show();
        joint->SetSelected(on);
    });
    scene.ForEach([](rgSceneNode* node) {
        if (rgBone* joint = ToBone(node)) joint->parentselected = joint->CheckParentSelection();
    });
    editor.view().RedrawViewports();
}

void TreeMouseUp(rgEditor& editor, rgBone* rowJoint) {
    rgToolManager& tools = editor.tools();
    switch (tools.ActiveButton()) {
        case rgToolButton::EditCreateBone:
            tools.boneCreate().TreeRowReleased(rowJoint);
            break;
        case rgToolButton::EditObjectProperties:
            tools.objectProp().FindCurrent();
            tools.objectProp().ShowProperties();
            break;
        case rgToolButton::EditVertexAssign:
            tools.vertexAssign().TreeSelectionChanged();
            break;
        default:
            break;
    }
}
