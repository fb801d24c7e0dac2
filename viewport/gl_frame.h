#pragma once

#include "viewport/gl_error_report.h"
#include "viewport/grid_lines.h"
#include "viewport/viewport_state.h"

struct rgState;

// The fixed-function frame of a viewport, in the current GL context.

// State every viewport context starts with: normal normalisation, 2D
// texturing, polygon offset (1, 1) for filled polygons.
void GLInitContext(rgGLErrorReport* errors);

// Clears colour and depth to the editor's background colour.
void GLClearFrame(const rgState& editor, rgGLErrorReport* errors);

// Frame steps from the projection to the draw-mode state: projection and
// view matrices (the view is stored in state.viewMatrix), the grid (the
// adaptive spacing settles for the next frame), face culling, light 0,
// lighting, shading and texturing for the draw mode. `pixelRatio` converts
// the client size (logical pixels) into framebuffer pixels.
void GLSetupFrame(rgViewportState& state, const rgState& editor, int clientWidth, int clientHeight,
                  double pixelRatio, rgGLErrorReport* errors);

// The grid of the state's projection (lines only, in the current matrices).
// Returns what it drew, for the adaptive spacing.
rgGrid GLDrawGrid(const rgViewportState& state, const rgState& editor, float aspect,
                  rgGLErrorReport* errors, int pixelHeight = 0);

// A dotted white frame between two client pixels (y downward), drawn over
// everything; matrices and state are restored afterwards.
void GLDrawFrameRect(int clientWidth, int clientHeight, double pixelRatio, int x1, int y1, int x2,
                     int y2, rgGLErrorReport* errors);

// A dotted white line between two client pixels, drawn in the same way.
void GLDrawOverlayLine(int clientWidth, int clientHeight, double pixelRatio, int x1, int y1,
                       int x2, int y2, rgGLErrorReport* errors);
