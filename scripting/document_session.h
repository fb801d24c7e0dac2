#pragma once

#include <string>

#include "scripting/recent_files.h"

struct rgScriptContext;

// The document commands of the File menu as a user meets them: before the
// scene is discarded (New, Open, Reopen, closing the program) a modified
// document asks "Scene has been modified! Save changes?", and Yes saves
// first. Dialogs come from the editor's rgCommandDialogs; loading and
// saving run through the scene-file functions (document_commands.h).
class rgDocumentSession {
public:
    rgDocumentSession(rgScriptContext& context, rgRecentFiles& recent);

    void New();
    void Open();
    // Opens a document (the command line, Reopen, Open): on success it
    // becomes the newest recent file.
    bool Load(const std::string& path);
    // File > Reopen, entry `index` (0 newest). A file that no longer exists
    // says "File not found!" and leaves the list.
    void Reopen(size_t index);
    void Merge();
    // Save under the document's name, or through Save as when it has none.
    // False when nothing was saved.
    bool Save();
    bool SaveAs();
    // Closing the program: false when the user cancelled.
    bool CanClose();
    // Scripts > Run Script.
    void RunScript();

    rgRecentFiles& recent() { return recent_; }

private:
    // The question before the scene is discarded; false on Cancel.
    bool MaySaveChanges(const std::string& caption);

    rgScriptContext& context_;
    rgRecentFiles& recent_;
};
