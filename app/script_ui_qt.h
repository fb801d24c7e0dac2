#pragma once

#include <functional>

#include "scripting/script_ui.h"

// The windows scripts drive: plug-in registrations reach the menus; the
// console and the progress window are the editor windows', once they exist.
class TScriptUi : public rgScriptUi {
public:
    void PluginsChanged() override {
        if (onPluginsChanged) onPluginsChanged();
    }
    std::function<void()> onPluginsChanged;

    void ShowConsole() override { windows_->ShowConsole(); }
    void ShowProgress() override { windows_->ShowProgress(); }
    void HideProgress() override { windows_->HideProgress(); }
    void SetProgressRange(int min, int max) override { windows_->SetProgressRange(min, max); }
    void SetProgressPosition(int pos) override { windows_->SetProgressPosition(pos); }
    // Null: nothing to show.
    void SetWindows(rgScriptUi* windows) { windows_ = windows ? windows : &none_; }

private:
    rgScriptUi none_;
    rgScriptUi* windows_ = &none_;
};
