#pragma once

#include <functional>

#include "app/options_form.h"
#include "scripting/script_ui.h"

class TAboutForm;
class TConsoleForm;
class TMainForm;
class TMaterialForm;
class TProgressForm;
class TScriptPump;
class rgConsoleModel;
class rgEditor;
class rgScriptServer;

// The editor's windows beside the main window and its viewports: the
// Preferences dialog, the material editor, the console, the progress
// window and the about box. Made once when the main window is up; their
// menu commands replace the placeholders of the same ids. The console and
// the progress window are what scripts show (the rgScriptUi part). While a
// script runs, these windows stay alive through the script pump.
class TEditorWindows : public rgScriptUi {
public:
    TEditorWindows(TMainForm& main, rgEditor& editor, rgScriptServer& server,
                   rgConsoleModel& console);
    ~TEditorWindows() override;
    TEditorWindows(const TEditorWindows&) = delete;
    TEditorWindows& operator=(const TEditorWindows&) = delete;

    // Menu commands.
    void Preferences1Click() { OpenPreferences(TOptionsForm::kGeneralPage); }
    void Configure_AdvancedClick() { OpenPreferences(TOptionsForm::kViewportsPage); }
    void ScriptConsole1Click();
    void MaterialEditor1Click();
    void About1Click();
    // After "OK" in Preferences: the settings the application keeps itself
    // (autosave, the readers' time limit) take effect and are stored.
    std::function<void()> onPreferencesStored;

    // rgScriptUi
    void ShowConsole() override;
    void ShowProgress() override;
    void HideProgress() override;
    void SetProgressRange(int min, int max) override;
    void SetProgressPosition(int pos) override;

    TOptionsForm* OptionsForm = nullptr;
    TMaterialForm* MaterialForm = nullptr;
    TConsoleForm* ConsoleForm = nullptr;
    TProgressForm* ProgressForm = nullptr;
    TAboutForm* AboutForm = nullptr;
    TScriptPump& Pump() { return *pump_; }

private:
    // The dialog on `page`; afterwards every viewport takes the grid
    // settings, and after "OK" starts its adaptive grid afresh.
    void OpenPreferences(TOptionsForm::Page page);
    void RegisterCommands();

    TMainForm& main_;
    rgEditor& editor_;
    rgScriptServer& server_;
    TScriptPump* pump_ = nullptr;
};
