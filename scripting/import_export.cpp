#include "scripting/import_export.h"

#include <fnmatch.h>

#include <algorithm>
#include <memory>

#include "animation/scene_pose.h"
#include "editing/animation_control.h"
#include "editing/rg_editor.h"
#include "editing/tool_manager.h"
#include "scripting/document_commands.h"
#include "scripting/script_server.h"
#include "scripting/script_ui.h"
#include "viewport/viewport_host.h"

namespace {

std::string ForwardSlashes(std::string s) {
    std::replace(s.begin(), s.end(), '\\', '/');
    return s;
}

int Digits(int n) {
    int digits = 1;
    for (n = n < 0 ? -n : n; n >= 10; n /= 10) ++digits;
    return digits;
}

void AddFailure(std::string* error, const std::string& line) {
    if (!error) return;
    if (!error->empty()) *error += "\n";
    *error += line;
}

// What every imported file leads to: the scene posed at the current frame
// and shown, the joint tree rebuilt, the document modified.
void AfterImport(rgScriptContext& c) {
    rgScene& scene = c.editor.scene();
    scene.InvalidateSkins();
    GoToFrame(scene, c.editor.state().currentFrame);
    scene.RebuildTree();
    c.viewports.RedrawAll();
    c.editor.MarkModified();
}

}  // namespace

std::string PluginCall(const std::string& function, const std::string& path) {
    return function + "(" + LuaQuoted(ForwardSlashes(path)) + ")";
}

std::string WithoutExtension(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path;
    return path.substr(0, dot);
}

std::string FrameFileName(const std::string& base, int frame, int lastFrame) {
    const int padding = std::max(0, Digits(lastFrame) - Digits(frame));
    return base + "_" + std::string(static_cast<size_t>(padding), '0') + std::to_string(frame);
}

bool MatchesPattern(const std::string& fileName, const std::string& patterns) {
    size_t start = 0;
    while (start <= patterns.size()) {
        size_t end = patterns.find(';', start);
        if (end == std::string::npos) end = patterns.size();
        const std::string pattern = patterns.substr(start, end - start);
        if (!pattern.empty() && fnmatch(pattern.c_str(), fileName.c_str(), FNM_CASEFOLD) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

bool ImportFiles(rgScriptContext& c, int importer, const std::vector<std::string>& paths,
                 std::string* error) {
    if (importer < 0 || static_cast<size_t>(importer) >= c.importers.size()) {
        AddFailure(error, "there is no such importer");
        return false;
    }
    const std::string function = c.importers[static_cast<size_t>(importer)].function;
    rgEditor& editor = c.editor;
    editor.PushUndo("Import");
    bool ok = true;
    for (const std::string& path : paths) {
        // A failing importer may have added half a file: keep the scene of
        // the files before it.
        std::unique_ptr<rgScene> before = editor.scene().Copy();
        const int jointNumber = editor.context.nextJointNumber;
        if (!c.server.RunString(PluginCall(function, path))) {
            {
                rgTreeChangeGuard guard(editor.context);
                editor.scene().SwapContents(*before);
            }
            editor.context.nextJointNumber = jointNumber;
            ok = false;
            AddFailure(error, path + ": " + c.server.LastError());
        }
        AfterImport(c);
    }
    return ok;
}

bool ExportFile(rgScriptContext& c, int exporter, const std::string& path,
                const rgExportOptions& options, std::string* error) {
    if (exporter < 0 || static_cast<size_t>(exporter) >= c.exporters.size()) {
        AddFailure(error, "there is no such exporter");
        return false;
    }
    const rgExporter format = c.exporters[static_cast<size_t>(exporter)];
    rgEditor& editor = c.editor;
    rgState& state = editor.state();
    editor.animation().Stop();
    const int level = state.editLevel;
    editor.tools().ChangeLevel(kEditAnimation);
    const std::string base = WithoutExtension(path);
    bool ok = true;
    auto run = [&](const std::string& name) {
        if (c.server.RunString(PluginCall(format.function, name))) return;
        ok = false;
        AddFailure(error, name + ": " + c.server.LastError());
    };
    if (!format.frameRange) {
        run(base);
    } else {
        int first = state.currentFrame, last = state.currentFrame;
        if (options.animation) {
            auto clamp = [&](int f) { return std::min(std::max(f, 1), state.totalFrames); };
            first = clamp(options.firstFrame);
            last = clamp(options.lastFrame);
            if (first > last) std::swap(first, last);
        }
        c.ui.SetProgressRange(first, last);
        c.ui.ShowProgress();
        for (int f = first; f <= last; ++f) {
            c.ui.SetProgressPosition(f);
            editor.animation().GoToFrame(f);
            c.ui.FramesChanged();
            run(options.animation ? FrameFileName(base, f, last) : base);
            c.ui.ShowProgress();  // each run hides it
        }
        c.ui.HideProgress();
    }
    editor.tools().ChangeLevel(level);
    return ok;
}
