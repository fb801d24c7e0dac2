#pragma once

#include "core/vector3.h"

struct rgState;

// The settings the Preferences dialog edits, as one value: read from the
// editor state, changed by the dialog, and stored back on "OK". The editor
// state writes them to "default.cfg" at exit.
struct rgPreferences {
    int maxUndoLevels = 16;
    int ikMaxIterations = 100;
    float ikThreshold = 0.0001f;
    vector3 backgroundColour{192.0f / 255.0f, 192.0f / 255.0f, 192.0f / 255.0f};
    vector3 gridColour{150.0f / 255.0f, 150.0f / 255.0f, 150.0f / 255.0f};
    vector3 majorGridColour{102.0f / 255.0f, 102.0f / 255.0f, 102.0f / 255.0f};
    float gridSize = 10.0f;
    int majorLines = 8;
    bool adaptiveGrid = true;
    vector3 vertexColour{0.0f, 1.0f, 0.0f};
    vector3 selectedVertexColour{1.0f, 0.0f, 0.0f};
    int autosaveMinutes = 2;
    double readerSeconds = 10.0;
    bool handlesFollowPointer = false;

    // The lowest values "OK" accepts; anything below becomes these.
    static constexpr int kMinUndoLevels = 2;
    static constexpr float kMinGridSize = 0.01f;
    static constexpr int kMinMajorLines = 2;
    static constexpr double kMinReaderSeconds = 1.0;
    static constexpr double kMaxReaderSeconds = 3600.0;

    // What the dialog's "Reset" shows (a grid spacing of 10, unlike the
    // first-run default of the editor state).
    static rgPreferences ResetValues() { return {}; }
    static rgPreferences From(const rgState& state);
    // Raises values below the lowest accepted ones.
    void Clamp();
    // Stores every value into the state (call Clamp first).
    void StoreInto(rgState& state) const;
};

// A colour channel of the editor state (0..1) as a picker shows it: 0..255,
// truncated, and back.
int ColourChannelToByte(float channel);
float ByteToColourChannel(int byte);
