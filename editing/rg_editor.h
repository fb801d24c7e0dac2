#pragma once

#include <memory>
#include <string>

#include "editing/command_dialogs.h"
#include "editing/command_registry.h"
#include "editing/document_view.h"
#include "editing/rg_undo.h"
#include "editing/tool_options.h"
#include "scene/rg_scene.h"
#include "scene/scene_context.h"

// The editor as the engine knows it: the editor-wide context (state, joint
// counter, links to the user interface), the current scene and the undo
// stack, with the document commands that keep them and the main window in
// step. The application creates one; tests create their own.
class rgToolManager;
class rgAnimationControl;

class rgEditor {
public:
    rgEditor();
    ~rgEditor();
    rgEditor(const rgEditor&) = delete;
    rgEditor& operator=(const rgEditor&) = delete;

    rgSceneContext context;
    rgUndo undo;
    rgToolOptions toolOptions;
    // Every command of the menus, tool bar and shortcuts, by id.
    rgCommandRegistry commands;

    rgState& state() { return context.state; }
    rgScene& scene() { return *scene_; }
    // The editing tools, one object each, and which one is active.
    rgToolManager& tools() { return *tools_; }
    // Frames, playback and the animation settings.
    rgAnimationControl& animation() { return *animation_; }

    void SetDocumentView(rgDocumentView* view) { view_ = view ? view : &noView_; }
    rgDocumentView& view() { return *view_; }
    // The dialogs commands ask; null restores the defaults (as if cancelled).
    void SetDialogs(rgCommandDialogs* dialogs) { dialogs_ = dialogs ? dialogs : &noDialogs_; }
    rgCommandDialogs& dialogs() { return *dialogs_; }

    // Records an undo step before an edit and marks the document modified.
    void PushUndo(const std::string& label);
    // Makes the newest step's scene current; does not clear `modified`.
    void Undo();
    // Removes the newest step when it turned out to change nothing (the
    // scene is left as it is).
    void DropNewestUndo();
    void ClearUndo();
    // Sets `modified` and shows it in the title.
    void MarkModified();

private:
    void ShowUndoItem();

    std::unique_ptr<rgScene> scene_;
    std::unique_ptr<rgToolManager> tools_;
    std::unique_ptr<rgAnimationControl> animation_;
    rgDocumentView noView_;
    rgDocumentView* view_ = &noView_;
    rgCommandDialogs noDialogs_;
    rgCommandDialogs* dialogs_ = &noDialogs_;
};

// "Kinemo - " + document name, with "*" while the document is modified.
std::string WindowTitle(const rgState& state);
