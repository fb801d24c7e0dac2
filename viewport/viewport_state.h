#pragma once

#include <cstdint>

#include "core/matrix44.h"
#include "core/vector3.h"

struct rgState;

// Projections of a viewport.
enum rgProjection : uint8_t {
    kProjTop = 0,
    kProjBottom = 1,
    kProjLeft = 2,
    kProjRight = 3,
    kProjFront = 4,
    kProjBack = 5,
    kProjPerspective = 6,
    kProjCamera = 7,
};

// Draw modes of a viewport.
enum rgDrawMode : uint8_t {
    kDrawPoints = 0,
    kDrawWireframe = 1,
    kDrawLitWireframe = 2,
    kDrawFlat = 3,
    kDrawSmooth = 4,
    kDrawTextured = 5,
};

// Caption of a projection in the "&Configure" menu ("Top" ... "Camera"), or
// null for a value outside 0..7.
const char* ProjectionCaption(int projection);
// Window-title prefix of a projection ("Top:" ... "Camera:"); "" outside 0..7.
const char* ProjectionTitlePrefix(int projection);
// Caption of a draw mode ("Points" ... "Textured"), or null outside 0..5.
const char* DrawModeCaption(int drawMode);
bool IsOrthographic(int projection);

// What a viewport shows and how: pure data, rendered by a viewport window in
// the editor and kept without any window by batch runs. Angles in radians.
struct rgViewportState {
    int projection = kProjPerspective;  // a script may store a value outside 0..7
    int navMode = 0;                    // 0 = mouse goes to the active tool
    vector3 perspOffset{0, -30, -100};  // eye-space offset after the rotation
    vector3 perspAngles{0, 0, 0};       // x = pitch, y = yaw
    vector3 cameraOffset{0, -30, -100}; // world offset before the rotation
    vector3 cameraAngles{0, 0, 0};      // x = pitch, y = yaw
    vector3 orthoView{0, 0, 0.01f};     // x, y = pan, z = zoom
    int drawMode = kDrawTextured;       // a script may store a value outside 0..5
    bool showGrid = true;
    bool drawBackfaces = false;
    float gridSpacing = 0.25f;
    float adaptiveSpacing = 0.25f;
    float gridExtent = 200.0f;
    vector3 gridColour{150.0f / 255.0f, 150.0f / 255.0f, 150.0f / 255.0f};
    vector3 majorGridColour{0.4f, 0.4f, 0.4f};
    int majorLinesEvery = 8;
    matrix44 viewMatrix;  // modelview built for the last frame

    // Window rectangle in pixels of the backdrop.
    int left = 0;
    int top = 0;
    int width = 524;
    int height = 327;

    // A fresh viewport takes its grid settings from the editor state.
    static rgViewportState FromEditorState(const rgState& state);
    // The editor state's grid spacing, major-line interval and grid colours
    // (the background and the adaptive switch are read at every frame).
    void TakeGridSettings(const rgState& state);

    // Camera back to its start: view matrix, angles, offsets and ortho view.
    void ResetView();
    // Projection, grid, camera, ortho view, draw mode and back-face setting.
    void CopySettingsTo(rgViewportState& other) const;
    // Stores the projection; navigation stops.
    void SetProjection(int p) {
        projection = p;
        navMode = 0;
    }
};
