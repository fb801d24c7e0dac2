#pragma once

#include <string>
#include <vector>

#include "editing/command_dialogs.h"
#include "scripting/script_context.h"

// File > Import and File > Export: the registered plug-in functions run
// with each chosen path as a proper Lua string (forward slashes).

// `function("path")`: the call a plug-in function gets, whatever the path holds.
std::string PluginCall(const std::string& function, const std::string& path);
// The path without the file's extension (a "." in a folder name stays).
std::string WithoutExtension(const std::string& path);
// `base` + "_" + the frame, zero-padded to as many digits as `lastFrame` has.
std::string FrameFileName(const std::string& base, int frame, int lastFrame);
// A file dialog's filter text: "description|pattern" per format, joined by "|".
template <typename Format>
std::string FilterText(const std::vector<Format>& formats) {
    std::string text;
    for (const Format& f : formats) {
        if (!text.empty()) text += "|";
        text += f.description + "|" + f.pattern;
    }
    return text;
}
// Whether a file name matches a pattern list ("*.obj;*.OBJ"), case-insensitively.
bool MatchesPattern(const std::string& fileName, const std::string& patterns);

// Runs importer `importer` (0-based) on every path in order, all in one undo
// step "Import". A file whose importer fails leaves the scene as it was
// before that file and the others still run; false then, with the failures
// in `error`. The scene is posed and redrawn after each file.
bool ImportFiles(rgScriptContext& context, int importer, const std::vector<std::string>& paths,
                 std::string* error = nullptr);

// Runs exporter `exporter` (0-based) for `path`, extension removed. A
// frame-range exporter runs once per frame of `options` (or once for the
// current frame when `options.animation` is off), with frame-numbered names
// for a range. The Animation level is on meanwhile; the level is put back.
// False when a call failed (the others still run), with the reason.
bool ExportFile(rgScriptContext& context, int exporter, const std::string& path,
                const rgExportOptions& options, std::string* error = nullptr);
