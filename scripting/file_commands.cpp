#include "scripting/file_commands.h"

#include <string>

#include "editing/rg_editor.h"
#include "scripting/document_session.h"
#include "scripting/import_export.h"
#include "scripting/script_context.h"

namespace {

void Import(rgScriptContext& c) {
    if (c.importers.empty()) return;
    int chosen = 0;
    const std::vector<std::string> paths =
        c.editor.dialogs().AskImportFiles(FilterText(c.importers), chosen);
    if (!paths.empty()) ImportFiles(c, chosen, paths);
}

void Export(rgScriptContext& c) {
    if (c.exporters.empty()) return;
    int chosen = 0;
    const std::string path = c.editor.dialogs().AskExportFile(FilterText(c.exporters), chosen);
    if (path.empty() || chosen < 0 || static_cast<size_t>(chosen) >= c.exporters.size()) return;
    rgExportOptions options;
    if (c.exporters[static_cast<size_t>(chosen)].frameRange &&
        !c.editor.dialogs().AskExportOptions(options))
        return;
    ExportFile(c, chosen, path, options);
}

}  // namespace

void RegisterFileCommands(rgScriptContext& c, rgDocumentSession& s) {
    rgCommandRegistry& r = c.editor.commands;
    r.Add({"File.New", "&New", "", "", [&s] { s.New(); }, nullptr, nullptr});
    r.Add({"File.Open", "&Open", "Ctrl+O", "", [&s] { s.Open(); }, nullptr, nullptr});
    for (size_t i = 0; i < rgRecentFiles::kMaxItems; ++i) {
        r.Add({"File.Reopen." + std::to_string(i + 1), "", "", "", [&s, i] { s.Reopen(i); },
               [&s, i] { return i < s.recent().Items().size(); }, nullptr});
    }
    r.Add({"File.Merge", "&Merge", "", "Merge Scene", [&s] { s.Merge(); }, nullptr, nullptr});
    r.Add({"File.Save", "&Save", "Ctrl+S", "", [&s] { s.Save(); }, nullptr, nullptr});
    r.Add({"File.SaveAs", "S&ave as ...", "Ctrl+A", "", [&s] { s.SaveAs(); }, nullptr, nullptr});
    r.Add({"File.Import", "&Import ...", "", "Import", [&c] { Import(c); },
           [&c] { return !c.importers.empty(); }, nullptr});
    r.Add({"File.Export", "&Export ...", "", "", [&c] { Export(c); },
           [&c] { return !c.exporters.empty(); }, nullptr});
    r.Add({"Scripts.RunScript", "&Run Script ...", "", "", [&s] { s.RunScript(); }, nullptr,
           nullptr});
}
