#pragma once

#include <functional>

#include "scripting/script_ui.h"

// The windows scripts drive, as the editor has them so far: plug-in
// registrations reach the menus; the rest waits for its window.
class TScriptUi : public rgScriptUi {
public:
    void PluginsChanged() override {
        if (onPluginsChanged) onPluginsChanged();
    }
    std::function<void()> onPluginsChanged;
};
