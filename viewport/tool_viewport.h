#pragma once

#include <functional>

#include "core/vector3.h"
#include "scene/node_painter.h"
#include "viewport/viewport_state.h"

// What a pick routine does inside a viewport's pick region: let nodes test
// themselves through the picker; its result is the pick's result.
using rgPickRoutine = std::function<bool(rgNodePicker&)>;

// What an editing tool sees of the viewport a mouse event came from.
class rgToolViewport {
public:
    virtual ~rgToolViewport() = default;
    virtual rgViewportState& State() = 0;
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    // The scene point under client pixel (x, y) (y downward); see camera.h.
    virtual bool ScreenToWorld(int x, int y, vector3& point) = 0;
    // Runs `routine` with the view narrowed to w x h pixels centred on (x, y)
    // (0 counts as 5) and returns its result.
    virtual bool Pick(int x, int y, int w, int h, const rgPickRoutine& routine) = 0;
    // Asks for a new frame.
    virtual void Redraw() = 0;
    // Shows the dotted selection frame between two client pixels over the
    // next frame only (the tool shows it again after each move).
    virtual void ShowFrameRect(int x1, int y1, int x2, int y2) = 0;
    // Shows the dotted attachment line between two client pixels over the
    // next frame only, in the same way.
    virtual void ShowOverlayLine(int x1, int y1, int x2, int y2) = 0;
};

// The active tool's mouse handling, installed into every viewport window by
// the main window; an empty handler means no tool receives that event.
// button: an rgMouseButton; shift: rgShiftState bits; x, y: client pixels.
struct rgToolHandlers {
    std::function<void(int button, int shift, int x, int y, rgToolViewport& viewport)> mouseDown;
    std::function<void(int button, int shift, int x, int y, rgToolViewport& viewport)> mouseUp;
    std::function<void(int shift, int x, int y, rgToolViewport& viewport)> mouseMove;
};
