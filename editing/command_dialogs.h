#pragma once

#include <string>
#include <vector>

#include "skinning/bind_skin_job.h"

// The user's answer to a Yes/No/Cancel question.
enum class rgAnswer { Yes, No, Cancel };

// What the export options dialog asks.
struct rgExportOptions {
    bool animation = false;  // "Export animation, frames"
    int firstFrame = 1;
    int lastFrame = 1;
};

// The questions and dialogs commands ask on their way. The application
// shows real dialogs; a run without windows (batch, tests) answers as a
// cancelled dialog would, and "No" to questions.
class rgCommandDialogs {
public:
    virtual ~rgCommandDialogs() = default;
    // "Scene has been modified! Save changes?" titled `caption`.
    virtual rgAnswer AskSaveChanges(const std::string& caption) {
        (void)caption;
        return rgAnswer::No;
    }
    // The mirror dialog's axes; false when cancelled.
    virtual bool AskMirrorAxes(bool& x, bool& y, bool& z) {
        (void)x, (void)y, (void)z;
        return false;
    }
    virtual bool AskBindSkin(rgBindSkinSettings& settings) {
        (void)settings;
        return false;
    }
    // A scene file to open or merge ("Load Scene"); empty when cancelled.
    virtual std::string AskOpenScene() { return {}; }
    // A scene file to save to ("Save Scene"); empty when cancelled.
    virtual std::string AskSaveScene() { return {}; }
    // Files to import with the filter text ("desc|pattern|..."): the chosen
    // paths and the chosen filter (0-based); none when cancelled.
    virtual std::vector<std::string> AskImportFiles(const std::string& filter, int& chosenFilter) {
        (void)filter, (void)chosenFilter;
        return {};
    }
    // A file to export to and the chosen filter; empty when cancelled.
    virtual std::string AskExportFile(const std::string& filter, int& chosenFilter) {
        (void)filter, (void)chosenFilter;
        return {};
    }
    virtual bool AskExportOptions(rgExportOptions& options) {
        (void)options;
        return false;
    }
    // A Lua file for "&Run Script ..."; empty when cancelled.
    virtual std::string AskScriptFile() { return {}; }
    // A number, with `value` as the proposal; false when the user cancels
    // (and wherever there is nobody to ask).
    // A long command's progress window with a Cancel button: shown by
    // BeginWork, moved by Working (the share done, 0 to 1; false once the
    // user pressed Cancel), gone after EndWork. Without a window nothing
    // shows and nothing is cancelled.
    virtual void BeginWork(const std::string& caption) { (void)caption; }
    virtual bool Working(float share) {
        (void)share;
        return true;
    }
    virtual void EndWork() {}
    virtual bool AskNumber(const std::string& caption, double& value) {
        (void)caption, (void)value;
        return false;
    }
};
