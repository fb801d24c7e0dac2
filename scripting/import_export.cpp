#include "scripting/import_export.h"

#include <fnmatch.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
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

// The files beside `base` whose names begin with its name and that were
// written since `since`: what an exporter made of the calls (it adds its own
// extensions, and some write several files a call).
std::vector<std::string> FilesWritten(const std::string& base,
                                      std::filesystem::file_time_type since) {
    namespace fs = std::filesystem;
    std::vector<std::string> files;
    const fs::path stem(base);
    std::error_code ec;
    const fs::path folder = stem.has_parent_path() ? stem.parent_path() : fs::path(".");
    const std::string prefix = stem.filename().string();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code fileError;
        const std::string name = it->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0 || !it->is_regular_file(fileError)) continue;
        if (it->last_write_time(fileError) >= since && !fileError) files.push_back(it->path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string ExportReport(const std::vector<std::string>& files) {
    if (files.empty()) return "Export finished; the exporter wrote no file beside the name given";
    if (files.size() == 1) return "Exported " + files.front();
    return "Exported " + std::to_string(files.size()) + " files to " + files.front() + " \u2026";
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
    FrameEveryViewport(c);
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
    // Exporters read the posed scene of the Animation level. The level is
    // set quietly and given back: the user's tool and selection stay.
    const uint8_t level = state.editLevel;
    state.editLevel = kEditAnimation;
    editor.scene().InvalidateSkins();
    const std::string base = WithoutExtension(path);
    const auto started = std::filesystem::file_time_type::clock::now() - std::chrono::milliseconds(100);
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
    state.editLevel = level;
    editor.scene().InvalidateSkins();
    c.viewports.RedrawAll();
    if (ok)
        editor.context.messages().ShowStatus(ExportReport(FilesWritten(base, started)));
    else
        editor.context.messages().ShowStatus("Export failed: the console says why");
    return ok;
}
