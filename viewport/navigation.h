#pragma once

#include "core/vector3.h"
#include "viewport/viewport_state.h"

// Camera navigation modes (the viewport state's navMode).
enum rgNavMode : int {
    kNavNone = 0,          // mouse goes to the active tool
    kNavPerspMoveXZ = 1,   // perspOffset x and z
    kNavPerspMoveXY = 2,   // perspOffset x and y (middle button only)
    kNavPerspMoveY = 3,    // perspOffset y
    kNavPerspRotate = 4,   // perspAngles
    kNavCameraMoveXY = 5,  // cameraOffset along the camera's x and y axes
    kNavCameraMoveZ = 6,   // cameraOffset along the viewing axis
    kNavCameraRotate = 7,  // cameraAngles
    kNavOrthoPan = 8,      // orthoView pan
    kNavOrthoZoom = 9,     // orthoView zoom
};

enum rgMouseButton : int { kMouseLeft = 0, kMouseRight = 1, kMouseMiddle = 2 };

constexpr float kMinOrthoZoom = 0.00001f;
constexpr int kWheelStep = 30;  // one wheel turn

// The mode a middle-button drag uses in a projection.
int MiddleButtonNavMode(int projection);

// The press, move and release arithmetic of a viewport's mouse navigation.
// It changes the state's camera and reports what the viewport has to pass
// on to the active tool; the widget only translates events into calls.
class rgNavigator {
public:
    bool buttonDown = false;
    bool navDragging = false;
    bool middleNav = false;
    int savedNavMode = 0;
    int pressX = 0;
    int pressY = 0;
    vector3 pressValue{0, 0, 0};

    // A button goes down; true when the tool receives the press (never for
    // the middle button).
    bool Press(rgViewportState& state, int button, int x, int y);
    // The pointer moved; true when the camera changed (the view needs a
    // redraw). The tool always receives the move.
    bool Move(rgViewportState& state, int x, int y);
    // A button came up; true when the tool receives the release (not at the
    // end of a middle-button drag).
    bool Release(rgViewportState& state);
};

// The vector a navigation mode changes; null for mode 0 and unknown modes.
vector3* NavigatedVector(rgViewportState& state, int navMode);

// One wheel step (+30 per turn up, -30 per turn down).
void ZoomWheel(rgViewportState& state, int step);

// Frames the bounding sphere (centre, radius) in the current projection;
// without a scene (hasScene false) the camera is reset.
void ZoomAll(rgViewportState& state, bool hasScene, const vector3& centre, float radius);
