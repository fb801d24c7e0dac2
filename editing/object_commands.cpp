#include "editing/object_commands.h"

#include <vector>

#include "editing/rg_editor.h"
#include "editing/tool_manager.h"
#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"

namespace {

std::vector<rgSceneNode*> SelectedNodes(rgScene& scene) {
    std::vector<rgSceneNode*> nodes;
    scene.ForEach([&](rgSceneNode* n) {
        if (n->GetSelected()) nodes.push_back(n);
    });
    return nodes;
}

rgSceneNode* LastSelected(rgScene& scene) {
    rgSceneNode* last = nullptr;
    scene.ForEach([&](rgSceneNode* n) {
        if (n->GetSelected()) last = n;
    });
    return last;
}

void RefreshParentMarks(rgScene& scene) {
    scene.ForEach([](rgSceneNode* n) {
        if (rgBone* joint = ToBone(n)) joint->parentselected = joint->CheckParentSelection();
    });
}

void ShowTreeSelection(rgScene& scene) {
    rgTreeChangeGuard guard(scene.context());
    rgJointTree& tree = scene.context().tree();
    scene.ForEach([&](rgSceneNode* n) {
        if (n->IsBone() && tree.HasItem(n)) tree.SetItemSelected(n, n->GetSelected());
    });
}

template <typename F>
void ForEachNode(rgEditor& editor, F&& f) {
    editor.scene().ForEach(f);
    editor.view().RedrawViewports();
}

// Hides nodes, or, with the vertex-assignment tool on, mesh vertices.
void HideBySelection(rgEditor& editor, bool selected) {
    const bool vertexMode = editor.state().vertexMode;
    ForEachNode(editor, [&](rgSceneNode* n) {
        if (vertexMode) {
            if (rgMesh* mesh = ToMesh(n))
                selected ? mesh->HideSelectedVertices() : mesh->HideUnselectedVertices();
        } else if (n->GetSelected() == selected) {
            n->Hide();
        }
    });
}

void Select(rgEditor& editor, bool (*rule)(rgSceneNode*)) {
    rgScene& scene = editor.scene();
    scene.ForEach([&](rgSceneNode* n) { n->SetSelected(rule(n)); });
    RefreshParentMarks(scene);
    ShowTreeSelection(scene);
    editor.view().RedrawViewports();
}

}  // namespace

void DuplicateObjects(rgEditor& editor) {
    editor.PushUndo("Duplicate Objects");
    rgScene& scene = editor.scene();
    for (rgSceneNode* node : SelectedNodes(scene)) node->Duplicate(nullptr);
    scene.RebuildTree();
    scene.InvalidateSkins();
    editor.view().RedrawViewports();
}

void MirrorObjects(rgEditor& editor, bool x, bool y, bool z) {
    editor.PushUndo("Mirror Objects");
    rgScene& scene = editor.scene();
    for (rgSceneNode* node : SelectedNodes(scene)) node->Mirror(x, y, z);
    scene.InvalidateSkins();
    editor.view().RedrawViewports();
}

void DeleteObjects(rgEditor& editor) {
    editor.PushUndo("Delete Objects");
    rgScene& scene = editor.scene();
    {
        rgTreeChangeGuard guard(scene.context());
        // From the end of the walk: a selected descendant goes before its
        // selected ancestor, so nothing is destroyed twice.
        while (rgSceneNode* node = LastSelected(scene)) {
            editor.tools().ForgetNode(node);
            if (rgSceneNode* parent = node->GetParent()) parent->DetachChild(node);
            delete node;
        }
    }
    scene.InvalidateSkins();
    editor.view().RedrawViewports();
}

void HideSelected(rgEditor& editor) {
    HideBySelection(editor, true);
}
void HideUnselected(rgEditor& editor) {
    HideBySelection(editor, false);
}

void HideMeshes(rgEditor& editor) {
    ForEachNode(editor, [](rgSceneNode* n) {
        if (n->IsMesh()) n->Hide();
    });
}

void HideJoints(rgEditor& editor) {
    ForEachNode(editor, [](rgSceneNode* n) {
        if (n->IsBone()) n->Hide();
    });
}

void ShowAll(rgEditor& editor) {
    ForEachNode(editor, [](rgSceneNode* n) {
        n->Show();
        if (rgMesh* mesh = ToMesh(n)) mesh->ShowAllVertices();
    });
}

void ShowMeshes(rgEditor& editor) {
    ForEachNode(editor, [](rgSceneNode* n) {
        if (rgMesh* mesh = ToMesh(n)) {
            mesh->Show();
            mesh->ShowAllVertices();
        }
    });
}

void ShowJoints(rgEditor& editor) {
    ForEachNode(editor, [](rgSceneNode* n) {
        if (n->IsBone()) n->Show();
    });
}

void SelectAll(rgEditor& editor) {
    Select(editor, [](rgSceneNode* n) { return n->IsVisible() || n->GetSelected(); });
}

void SelectNone(rgEditor& editor) {
    Select(editor, [](rgSceneNode*) { return false; });
}

void InvertSelection(rgEditor& editor) {
    Select(editor,
           [](rgSceneNode* n) { return n->IsVisible() ? !n->GetSelected() : n->GetSelected(); });
}
