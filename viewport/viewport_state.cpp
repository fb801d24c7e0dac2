#include "viewport/viewport_state.h"

#include "state/rg_state.h"

namespace {
constexpr const char* kProjectionCaptions[] = {"Top",   "Bottom", "Left",        "Right",
                                               "Front", "Back",   "Perspective", "Camera"};
constexpr const char* kProjectionTitles[] = {"Top:",   "Bottom:", "Left:",        "Right:",
                                             "Front:", "Back:",   "Perspective:", "Camera:"};
constexpr const char* kDrawModeCaptions[] = {"Points",      "Wireframe",     "Lit Wireframe",
                                             "Flat Shaded", "Smooth Shaded", "Textured"};
}  // namespace

const char* ProjectionCaption(int p) { return p >= 0 && p < 8 ? kProjectionCaptions[p] : nullptr; }

const char* ProjectionTitlePrefix(int p) { return p >= 0 && p < 8 ? kProjectionTitles[p] : ""; }

const char* DrawModeCaption(int m) { return m >= 0 && m < 6 ? kDrawModeCaptions[m] : nullptr; }

bool IsOrthographic(int p) { return p >= kProjTop && p <= kProjBack; }

rgViewportState rgViewportState::FromEditorState(const rgState& state) {
    rgViewportState v;
    v.TakeGridSettings(state);
    v.adaptiveSpacing = state.gridSize;
    return v;
}

void rgViewportState::TakeGridSettings(const rgState& state) {
    gridSpacing = state.gridSize;
    gridColour = state.gridColour;
    majorGridColour = state.majorGridColour;
    majorLinesEvery = state.majorLines;
}

void rgViewportState::ResetView() {
    viewMatrix.ident();
    perspAngles.set(0, 0, 0);
    perspOffset.set(0, -30, -100);
    cameraAngles.set(0, 0, 0);
    cameraOffset.set(0, -30, -100);
    orthoView.set(0, 0, 0.01f);
}

void rgViewportState::CopySettingsTo(rgViewportState& o) const {
    o.projection = projection;
    o.showGrid = showGrid;
    o.gridSpacing = gridSpacing;
    o.gridExtent = gridExtent;
    o.gridColour = gridColour;
    o.majorGridColour = majorGridColour;
    o.majorLinesEvery = majorLinesEvery;
    o.perspAngles = perspAngles;
    o.perspOffset = perspOffset;
    o.cameraAngles = cameraAngles;
    o.cameraOffset = cameraOffset;
    o.orthoView = orthoView;
    o.drawMode = drawMode;
    o.drawBackfaces = drawBackfaces;
}
