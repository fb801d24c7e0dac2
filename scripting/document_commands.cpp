#include "scripting/document_commands.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

#include "animation/scene_pose.h"
#include "editing/rg_editor.h"
#include "scripting/script_context.h"
#include "scripting/script_server.h"
#include "scripting/script_ui.h"
#include "viewport/navigation.h"
#include "viewport/viewport_host.h"

namespace fs = std::filesystem;

namespace {

std::string ForwardSlashes(std::string s) {
    std::replace(s.begin(), s.end(), '\\', '/');
    return s;
}

// Pose the scene at the current frame and show it.
void RefreshScene(rgScriptContext& c) {
    rgScene& scene = c.editor.scene();
    scene.InvalidateSkins();
    GoToFrame(scene, c.editor.state().currentFrame);
    c.viewports.RedrawAll();
}

// What a failed load or merge puts back.
struct FrameSettings {
    int currentFrame, totalFrames, segmentStart, segmentEnd;
    float framesPerSecond;

    static FrameSettings Of(const rgState& s) {
        return {s.currentFrame, s.totalFrames, s.segmentStart, s.segmentEnd, s.framesPerSecond};
    }
    void RestoreInto(rgState& s) const {
        s.currentFrame = currentFrame;
        s.totalFrames = totalFrames;
        s.segmentStart = segmentStart;
        s.segmentEnd = segmentEnd;
        s.framesPerSecond = framesPerSecond;
    }
};

}  // namespace

void FrameEveryViewport(rgScriptContext& c, const std::vector<int>* only) {
    rgScene& scene = c.editor.scene();
    scene.UpdateScene();
    vector3 centre;
    float radius = 0.0f;
    const bool hasScene = scene.GetBoundingSphere(centre, radius);
    for (int i = 0; i < c.viewports.Count(); ++i) {
        const int id = c.viewports.IdAt(i);
        if (only && std::find(only->begin(), only->end(), id) == only->end()) continue;
        if (rgViewportState* view = c.viewports.Find(id)) {
            ZoomAll(*view, hasScene, centre, radius);
            c.viewports.Changed(id, true);
        }
    }
}

std::string LuaQuoted(const std::string& text) {
    std::string out = "\"";
    for (const unsigned char ch : text) {
        switch (ch) {
            case '\\': out += "\\\\"; break;
            case '"': out += "\\\""; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            default:
                if (ch < 32 || ch == 127) {
                    char code[8];
                    std::snprintf(code, sizeof(code), "\\%03u", ch);
                    out += code;
                } else {
                    out += static_cast<char>(ch);
                }
        }
    }
    return out + "\"";
}

bool LoadSceneFile(rgScriptContext& c, const std::string& path) {
    rgEditor& editor = c.editor;
    rgState& state = editor.state();
    const fs::path previousDir = fs::current_path();
    const std::string folder = fs::path(path).parent_path().string();
    std::error_code ec;
    if (!folder.empty()) fs::current_path(folder, ec);

    // Keep the scene as it was, so a document that fails half-way loses
    // nothing: its nodes wait aside, and scripts' handles to them stay good.
    const std::vector<rgTreeExpansionRecord> expansion = editor.context.savedTreeExpansion;
    auto previous = std::make_unique<rgScene>(editor.context);
    editor.context.savedTreeExpansion = expansion;
    editor.scene().SwapContents(*previous);
    const FrameSettings previousFrames = FrameSettings::Of(state);
    const int previousJointNumber = editor.context.nextJointNumber;

    editor.scene().Clear();
    rgTextureLibrary& textures = editor.context.textures;
    std::vector<std::unique_ptr<rgTexture>> previousTextures;
    const int previousSelection = textures.SelectedIndex();
    textures.TakeAll(previousTextures);
    std::vector<int> usersViews;
    for (int i = 0; i < c.viewports.Count(); ++i) {
        const int id = c.viewports.IdAt(i);
        usersViews.push_back(id);
        if (rgViewportState* v = c.viewports.Find(id)) v->ResetView();
        c.viewports.Changed(id, false);
    }

    c.fileVersionSeen = false;
    const bool ok = c.server.RunSceneFile(path);
    if (!ok) {
        editor.scene().SwapContents(*previous);
        editor.scene().RebuildTree();
        textures.Clear();
        textures.GiveAll(previousTextures, previousSelection);
        previousFrames.RestoreInto(state);
        editor.context.nextJointNumber = previousJointNumber;
        if (!previousDir.empty()) fs::current_path(previousDir, ec);
        c.server.ConsoleWriteError("Could not open " + path + ": the scene is unchanged.");
        c.ui.FramesChanged();
        RefreshScene(c);
        return false;
    }
    textures.Discard(previousTextures);
    if (!c.fileVersionSeen) editor.context.messages().ShowMessage(kObsoleteFileMessage);
    editor.ClearUndo();
    RefreshScene(c);
    // The views the document brought keep their saved cameras; the user's
    // own, which the document left alone, frame what it holds.
    FrameEveryViewport(c, &usersViews);
    state.SetFileName(path);
    state.modified = false;
    state.named = true;
    editor.view().SetTitle(WindowTitle(state));
    editor.scene().RebuildTree();
    c.ui.FramesChanged();
    return true;
}

bool MergeSceneFile(rgScriptContext& c, const std::string& path) {
    rgEditor& editor = c.editor;
    rgState& state = editor.state();
    const FrameSettings previousFrames = FrameSettings::Of(state);
    const int previousJointNumber = editor.context.nextJointNumber;
    editor.PushUndo("Merge Scene");
    // Without undo levels the step keeps nothing: a failed merge needs a copy all the same.
    std::unique_ptr<rgScene> copy;
    if (!editor.undo.HasSteps()) copy = editor.scene().Copy();
    state.mergeMode = true;
    state.jointIdOffset = editor.context.nextJointNumber + 1;
    c.fileVersionSeen = false;
    const bool ok = c.server.RunSceneFile(path);
    state.mergeMode = false;
    if (!ok) {
        // Take back whatever the file added.
        if (copy) {
            {
                rgTreeChangeGuard guard(editor.context);
                editor.scene().SwapContents(*copy);
            }
            editor.scene().RebuildTree();
        } else {
            editor.Undo();
        }
        previousFrames.RestoreInto(state);
        editor.context.nextJointNumber = previousJointNumber;
        c.server.ConsoleWriteError("Could not merge " + path + ": the scene is unchanged.");
        c.ui.FramesChanged();
        return false;
    }
    if (!c.fileVersionSeen) editor.context.messages().ShowMessage(kObsoleteFileMessage);
    editor.scene().UpdateScene();
    GoToFrame(editor.scene(), state.currentFrame);
    c.viewports.RedrawAll();
    editor.MarkModified();
    editor.scene().RebuildTree();
    c.ui.FramesChanged();
    return true;
}

bool SaveSceneFile(rgScriptContext& c, const std::string& path) {
    const bool ok = c.server.RunString("save(" + LuaQuoted(ForwardSlashes(path)) + ")");
    if (!ok) return false;  // nothing was written: the document keeps its unsaved state
    rgState& state = c.editor.state();
    state.SetFileName(path);
    state.named = true;
    state.modified = false;
    c.editor.view().SetTitle(WindowTitle(state));
    return true;
}
