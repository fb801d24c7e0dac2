#pragma once

#include <functional>

#include "scripting/script_ui.h"

// The windows scripts drive, as the editor has them so far: plug-in
// registrations reach the menus, frame and key changes the Keyframer; the
// rest waits for its window.
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
};
