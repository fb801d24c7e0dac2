#include "editing/selection_snapshot.h"

#include "editing/rg_editor.h"
#include "scene/rg_bone.h"
#include "scene/rg_scene.h"

rgSelectionSnapshot rgSelectionSnapshot::Take(rgScene& scene) {
    rgSelectionSnapshot snapshot;
    scene.ForEach([&](rgSceneNode* node) {
        const rgBone* joint = ToBone(node);
        snapshot.entries_.push_back(
            {node, node->GetSelected(), joint ? joint->parentselected : false});
    });
    return snapshot;
}

void rgSelectionSnapshot::Restore() const {
    for (const Entry& e : entries_)
        if (e.node->GetSelected() != e.selected) e.node->SetSelected(e.selected);
    // Selecting a joint marks its descendants; the recorded marks win.
    for (const Entry& e : entries_)
        if (rgBone* joint = ToBone(e.node)) joint->parentselected = e.parentSelected;
}

void RecordSelectionStep(rgEditor& editor, const rgSelectionSnapshot& before,
                         const std::string& label) {
    const rgSelectionSnapshot after = rgSelectionSnapshot::Take(editor.scene());
    before.Restore();
    editor.PushUndo(label);
    after.Restore();
}
