#include "editing/rg_editor.h"

#include "editing/animation_control.h"
#include "editing/editor_commands.h"
#include "editing/tool_manager.h"

rgEditor::rgEditor()
    : scene_(std::make_unique<rgScene>(context)),
      tools_(std::make_unique<rgToolManager>(*this)),
      animation_(std::make_unique<rgAnimationControl>(*this)) {
    context.SetToolOptions(&toolOptions);
    context.SetToolReferences(tools_.get());
    RegisterEditingCommands(*this);
}

rgEditor::~rgEditor() {
    undo.Clear();
    scene_.reset();
    context.SetToolReferences(nullptr);
    context.SetToolOptions(nullptr);
    tools_.reset();
    animation_.reset();
}

std::string WindowTitle(const rgState& state) {
    return "Kinemo - " + state.fileName + (state.modified ? "*" : "");
}

void rgEditor::ShowUndoItem() {
    if (undo.HasSteps())
        view_->SetUndoItem(true, "&Undo: " + undo.TopLabel());
    else
        view_->SetUndoItem(false, "Can't Undo");
}

void rgEditor::MarkModified() {
    context.state.modified = true;
    view_->SetTitle(WindowTitle(context.state));
}

void rgEditor::PushUndo(const std::string& label) {
    undo.Push(label, *scene_, context.state.maxUndoLevels);
    // Named after the step even when a limit of 0 kept nothing.
    view_->SetUndoItem(true, "&Undo: " + label.substr(0, rgUndo::kMaxLabel));
    MarkModified();
}

void rgEditor::Undo() {
    if (undo.HasSteps()) {
        scene_->SaveTreeExpansion();
        {
            rgTreeChangeGuard guard(context);
            // The scene object stays; its hierarchy is exchanged with the copy's
            // and the old one goes with the copy.
            std::unique_ptr<rgScene> restored = undo.Restore();
            scene_->SwapContents(*restored);
        }
        context.toolReferences().ReactivateSceneTools();
        scene_->RebuildTree();
        scene_->RestoreTreeExpansion();
    }
    ShowUndoItem();
    view_->RedrawViewports();
}

void rgEditor::DropNewestUndo() {
    undo.DropNewest();
    ShowUndoItem();
}

void rgEditor::ClearUndo() {
    undo.Clear();
    ShowUndoItem();
}
