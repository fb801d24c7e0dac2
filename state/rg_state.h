#pragma once

#include <cstdint>
#include <string>

#include "core/vector3.h"

// Edit levels of the main window's level box.
enum rgEditLevel : uint8_t { kEditObjects = 0, kEditAnimation = 1 };

// Interpolation applied when keys are evaluated.
enum rgInterpolation : int { kInterpConstant = 0, kInterpLinear = 1, kInterpSpline = 2 };

// Axis ids shared by gizmo drawing, handle picking and the transform tools.
enum rgAxis : int { kAxisX = 0, kAxisY = 1, kAxisZ = 2, kAxisCentre = 3, kAxisNone = 4 };

// Editor-wide settings and flags. One instance lives in the editor context;
// the persisted subset is read from and written to "default.cfg"
// (see settings_file.h).
struct rgState {
    static constexpr size_t kMaxFileName = 1023;

    int currentFrame = 1;
    int totalFrames = 48;
    std::string fileName = "unnamed.kmo";  // at most kMaxFileName characters
    bool modified = false;
    bool named = false;
    uint8_t editLevel = kEditObjects;
    bool playing = false;
    float framesPerSecond = 24.0f;
    int maxUndoLevels = 16;
    bool vertexMode = false;
    int interpolation = kInterpSpline;
    float playSpeed = 1.0f;
    vector3 backgroundColour{192.0f / 255.0f, 192.0f / 255.0f, 192.0f / 255.0f};
    vector3 gridColour{150.0f / 255.0f, 150.0f / 255.0f, 150.0f / 255.0f};
    vector3 majorGridColour{0.4f, 0.4f, 0.4f};
    float gridSize = 0.25f;
    int majorLines = 8;
    bool adaptiveGrid = true;
    vector3 vertexColour{0.0f, 1.0f, 0.0f};
    vector3 selectedVertexColour{1.0f, 0.0f, 0.0f};
    bool mergeMode = false;
    int jointIdOffset = 0;
    int ikMaxIterations = 100;
    float ikThreshold = 0.0001f;
    bool useJointLimits = false;  // never persisted: off at every start
    bool autoKeyframing = false;
    bool showHandles = false;
    int segmentStart = 1;
    int segmentEnd = 48;

    // How long a third-party reader may take over one file before it is
    // stopped, and how often a modified document is autosaved (0: never).
    // The application keeps both among its own settings.
    double readerSeconds = 10.0;
    int autosaveMinutes = 2;
    // A dragged transform handle moves its node so that the point grabbed
    // on the arrow stays under the pointer; off: the pointer's horizontal
    // travel sets the distance, as the tools have always done.
    bool handlesFollowPointer = false;

    // Beside the record, not persisted.
    int activeAxis = kAxisNone;
    float bestAxisDepth = 0.0f;

    // Stores a document path, cut to the field's capacity.
    void SetFileName(const std::string& name) { fileName = name.substr(0, kMaxFileName); }
};
