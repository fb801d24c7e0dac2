#pragma once

#include <string>

// The windows the scripting layer drives: console, progress window and
// keyframer. Batch runs and tests use the defaults (nothing to show).
class rgScriptUi {
public:
    virtual ~rgScriptUi() = default;
    // A script failed: the console comes to the front.
    virtual void ShowConsole() {}
    virtual void ShowProgress() {}
    virtual void HideProgress() {}
    virtual void SetProgressRange(int min, int max) { (void)min, (void)max; }
    virtual void SetProgressPosition(int pos) { (void)pos; }
    // Total frames or the current frame changed: slider, fields, time line.
    virtual void FramesChanged() {}
    // Key area of the keyframer repainted (keys may have changed).
    virtual void RepaintKeys() {}
    // A registered plug-in command or importer/exporter list changed.
    virtual void PluginsChanged() {}
};
