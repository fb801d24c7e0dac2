#pragma once

#include <vector>

#include "core/vector3.h"
#include "viewport/viewport_state.h"

// The lines of a viewport's grid, computed without a graphics library.
struct rgGridLine {
    vector3 from;
    vector3 to;
    bool major = false;
};

struct rgGrid {
    std::vector<rgGridLine> lines;
    int horizontalCount = 0;  // lines across the first screen axis
    int verticalCount = 0;
};

// The fixed square grid of the perspective and camera views: gridExtent wide
// on the XZ plane, gridSpacing apart (never adaptive).
rgGrid PerspectiveGrid(const rgViewportState& state);

// The grid of an orthographic view covering the visible area plus one
// spacing on each side. With `adaptive`, the spacing is the state's adaptive
// spacing and every majorLinesEvery-th line (by index) is a major line.
rgGrid OrthoGrid(const rgViewportState& state, float aspect, bool adaptive);

// After each orthographic frame: doubles or halves the adaptive spacing so
// the next frame shows 50 to 100 lines across the view.
void AdaptGridSpacing(rgViewportState& state, const rgGrid& drawn);
