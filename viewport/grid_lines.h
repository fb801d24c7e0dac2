#pragma once

#include <vector>

#include "core/matrix44.h"
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

// The perspective grid as the GL draws it: every line cut into pieces,
// each end coloured so that the grid fades into the background where its
// lines come closer on screen than a few pixels (far off, or seen edge on),
// which is where a floor of lines turns into moiré. `view` is the view
// matrix (points as row vectors), `focalPixels` the pixels one unit covers
// at one unit's distance. Appends x, y, z and r, g, b for every piece's
// ends, leaving out pieces faded away at both ends.
void FadedGridLines(const rgGrid& grid, const matrix44& view, float focalPixels, float spacing,
                    const vector3& minor, const vector3& major, const vector3& background,
                    std::vector<float>& points, std::vector<float>& colours);
// How much of a grid line's colour shows at eye depth `depth`: 1 where the
// lines lie 6 or more pixels apart, 0 at 2 pixels or less.
float GridLineVisibility(float spacing, float focalPixels, float depth);

// After each orthographic frame: doubles or halves the adaptive spacing so
// the next frame shows 50 to 100 lines across the view.
void AdaptGridSpacing(rgViewportState& state, const rgGrid& drawn);
