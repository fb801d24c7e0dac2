#pragma once

#include <functional>

#include "viewport/gizmo_shape.h"
#include "viewport/tool_viewport.h"

// A viewport without a window: the view of a state at a client size, with
// picks through the selection-mode emulator. Tools driven without a display
// (tests, benchmarks) see it as they see a viewport window. Redraws and
// overlays have nowhere to go and are dropped.
class rgWindowlessViewport : public rgToolViewport {
public:
    rgWindowlessViewport(int clientWidth, int clientHeight)
        : width_(clientWidth), height_(clientHeight) {}

    rgViewportState state;
    // The main window's gizmo choices at the time of a pick; defaults when unset.
    std::function<rgGizmoOptions()> gizmoOptions;

    rgViewportState& State() override { return state; }
    int ClientWidth() const override { return width_; }
    int ClientHeight() const override { return height_; }
    bool ScreenToWorld(int x, int y, vector3& point) override;
    bool Pick(int x, int y, int w, int h, const rgPickRoutine& routine) override;
    void Redraw() override {}
    void ShowFrameRect(int, int, int, int) override {}
    void ShowOverlayLine(int, int, int, int) override {}

    // Client pixel (y downward) of a world point; false behind the eye.
    bool PixelOf(const vector3& point, int& x, int& y) const;

private:
    int width_;
    int height_;
};
