#pragma once

#include <functional>

#include "scripting/script_ui.h"

// The windows scripts drive: plug-in registrations reach the menus, frame
// and key changes the Keyframer; the console and the progress window are the
// editor windows', once they exist.
class TScriptUi : public rgScriptUi {
public:
    void PluginsChanged() override {
        if (onPluginsChanged) onPluginsChanged();
    }
    void FramesChanged() override {
        if (onFramesChanged) onFramesChanged();
    }
    void RepaintKeys() override {
        if (onRepaintKeys) onRepaintKeys();
    }
    std::function<void()> onPluginsChanged;
    std::function<void()> onFramesChanged;
    std::function<void()> onRepaintKeys;

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
