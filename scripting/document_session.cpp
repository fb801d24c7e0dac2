#include "scripting/document_session.h"

#include <filesystem>

#include "editing/rg_editor.h"
#include "scripting/document_commands.h"
#include "scripting/script_context.h"
#include "scripting/script_server.h"
#include "scripting/script_ui.h"
#include "viewport/viewport_host.h"

namespace {
constexpr const char* kUnnamed = "unnamed.rig";
}

rgDocumentSession::rgDocumentSession(rgScriptContext& context, rgRecentFiles& recent)
    : context_(context), recent_(recent) {}

bool rgDocumentSession::MaySaveChanges(const std::string& caption) {
    if (!context_.editor.state().modified) return true;
    switch (context_.editor.dialogs().AskSaveChanges(caption)) {
        case rgAnswer::Cancel:
            return false;
        case rgAnswer::Yes:
            Save();
            return true;
        case rgAnswer::No:
            return true;
    }
    return true;
}

void rgDocumentSession::New() {
    rgEditor& editor = context_.editor;
    // A Cancel keeps the scene and with it every undo step.
    if (!MaySaveChanges("New Character")) return;
    editor.ClearUndo();
    editor.scene().Clear();
    editor.context.textures.Clear();
    rgState& state = editor.state();
    state.modified = false;
    state.named = false;
    state.SetFileName(kUnnamed);
    editor.view().SetTitle(WindowTitle(state));
    context_.viewports.CloseAll();
    context_.viewports.Create();
    context_.ui.FramesChanged();
}

void rgDocumentSession::Open() {
    if (!MaySaveChanges("Load Character")) return;
    const std::string path = context_.editor.dialogs().AskOpenScene();
    if (!path.empty()) Load(path);
    context_.viewports.RedrawAll();
}

bool rgDocumentSession::Load(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        context_.editor.context.messages().ShowMessage(
            std::filesystem::exists(path, ec) ? "Not a scene file: " + path : "File not found!");
        return false;
    }
    if (!LoadSceneFile(context_, path)) return false;
    recent_.Add(path);
    return true;
}

void rgDocumentSession::Reopen(size_t index) {
    if (index >= recent_.Items().size()) return;
    const std::string path = recent_.Items()[index];
    if (!MaySaveChanges("Load Character")) return;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        context_.editor.context.messages().ShowMessage("File not found!");
        recent_.Remove(path);
        return;
    }
    Load(path);
    context_.viewports.RedrawAll();
}

void rgDocumentSession::Merge() {
    const std::string path = context_.editor.dialogs().AskOpenScene();
    if (!path.empty()) MergeSceneFile(context_, path);
    context_.viewports.RedrawAll();
}

bool rgDocumentSession::Save() {
    const rgState& state = context_.editor.state();
    if (!state.named) return SaveAs();
    return SaveSceneFile(context_, state.fileName);
}

bool rgDocumentSession::SaveAs() {
    const std::string path = context_.editor.dialogs().AskSaveScene();
    return !path.empty() && SaveSceneFile(context_, path);
}

bool rgDocumentSession::CanClose() {
    return MaySaveChanges("Exit");
}

void rgDocumentSession::RunScript() {
    const std::string path = context_.editor.dialogs().AskScriptFile();
    if (!path.empty()) context_.server.RunFile(path);
}
