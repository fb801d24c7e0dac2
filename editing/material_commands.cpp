#include "editing/material_commands.h"

#include "editing/rg_editor.h"
#include "scene/rg_scene.h"
#include "scene/rg_scene_node.h"

namespace {

void SetSelectedMaterial(rgEditor& editor, const std::string& label, int material) {
    editor.PushUndo(label);
    editor.scene().ForEach([material](rgSceneNode* n) {
        if (n->GetSelected()) n->SetMaterial(material);
    });
    editor.view().RedrawViewports();
}

}  // namespace

rgTexture* AddMaterial(rgEditor& editor, const std::string& fileName) {
    rgTexture* texture = editor.context.textures.AddTexture(fileName);
    if (!texture) return nullptr;
    editor.MarkModified();
    editor.view().RedrawViewports();
    return texture;
}

void DeleteMaterial(rgEditor& editor) {
    rgTextureLibrary& textures = editor.context.textures;
    if (!textures.Selected()) return;
    textures.DeleteSelected();
    editor.MarkModified();
    editor.view().RedrawViewports();
}

void AssignMaterial(rgEditor& editor) {
    const rgTexture* current = editor.context.textures.Selected();
    if (!current) return;
    SetSelectedMaterial(editor, "Assign Material", current->GetId());
}

void UnassignMaterial(rgEditor& editor) {
    SetSelectedMaterial(editor, "Unassign Material", -1);
}
