#pragma once

#include "core/matrix44.h"
#include "core/vector3.h"
#include "viewport/viewport_state.h"

// View and projection math of a viewport, without any graphics library.
// Matrices use the engine's row-vector convention, whose memory image is
// what OpenGL's glLoadMatrixf expects: clip = point x modelview x projection.

// A rectangle of window pixels, origin bottom-left as OpenGL counts.
struct rgViewportRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

constexpr float kPerspectiveFovY = 60.0f;  // degrees
constexpr float kPerspectiveNear = 0.5f;
constexpr float kPerspectiveFar = 500.0f;
constexpr float kOrthoNear = -50.0f;
constexpr float kOrthoFar = 50.0f;

// Client width / height; a client height of 0 gives the width itself.
float ViewportAspect(int clientWidth, int clientHeight);
// The drawing area: a one-pixel border stays in the background colour.
rgViewportRect DrawingRect(int clientWidth, int clientHeight);

// The projection matrix of a projection kind: perspective for the
// perspective and camera views, an orthographic box for the others (and for
// values outside 0..7).
matrix44 ProjectionMatrix(int projection, float aspect);
// The same as gluPerspective, glOrtho and gluPickMatrix would build.
matrix44 PerspectiveMatrix(float fovYDegrees, float aspect, float zNear, float zFar);
matrix44 OrthoMatrix(float left, float right, float bottom, float top, float zNear, float zFar);
// Maps the region of `width` x `height` pixels centred on (x, y) (window
// coordinates, y up) onto the whole view volume. Applied before (left of)
// the projection: pick projection = projection x PickMatrix in row-vector
// terms, i.e. PickMatrix(...) is multiplied on the GL side first.
matrix44 PickMatrix(float x, float y, float width, float height, const rgViewportRect& viewport);

// The modelview matrix of the state's projection and camera.
matrix44 ViewMatrix(const rgViewportState& state);

// gluUnProject: the point whose window coordinates are (winX, winY, winZ).
// False when the combined matrix cannot be inverted.
bool Unproject(double winX, double winY, double winZ, const matrix44& modelview,
               const matrix44& projection, const rgViewportRect& viewport, vector3& out);
// gluProject: window coordinates of a point.
bool Project(const vector3& point, const matrix44& modelview, const matrix44& projection,
             const rgViewportRect& viewport, double& winX, double& winY, double& winZ);

// The scene point under client pixel (x, y) (y downward) at half depth. In
// the orthographic views the coordinate along the viewing axis is 0; in the
// perspective views the point lies a little in front of the eye.
vector3 ScreenToWorld(const rgViewportState& state, int clientWidth, int clientHeight, int x,
                      int y);
