#pragma once

#include <string>

#include "editing/object_properties.h"
#include "editing/tool_ids.h"
#include "viewport/tool_viewport.h"

// The main window as the tool manager and the tools see it. The application
// implements it; runs without a window (tests, batch) keep the defaults.
class rgToolView {
public:
    virtual ~rgToolView() = default;
    // The current mouse handlers go into every viewport window.
    virtual void InstallToolHandlers(const rgToolHandlers& handlers) { (void)handlers; }
    // The usage text in the second panel of the status bar.
    virtual void SetToolStatusText(const std::string& text) { (void)text; }
    // A tool button (or the "Attach Joints" tick) shows its state.
    virtual void ShowToolButton(rgToolButton button, bool down) { (void)button, (void)down; }
    // The Tool Options pages visible now (rgToolPage bits).
    virtual void ShowToolPages(unsigned pages) { (void)pages; }
    virtual void ShowToolOptionsWindow() {}
    // Every navigation button of every viewport window goes up.
    virtual void ReleaseNavigationButtons() {}
    // Whether a viewport window is the active one.
    virtual bool HasActiveViewport() const { return true; }
    // Viewports show mesh vertices (the vertex-assignment tool).
    virtual void ShowVertices(bool show) { (void)show; }
    // The vertex dots show each vertex's weight for the joint (-1: none),
    // divided by the vertex's weight sum when `normalized`.
    virtual void ShowWeights(int jointId, bool normalized) { (void)jointId, (void)normalized; }
    // The "General" and "Joint" pages show these properties.
    virtual void ShowObjectProperties(const rgObjectProperties& properties) { (void)properties; }
    // Panels and menus of an edit level.
    virtual void ShowEditLevel(int level) { (void)level; }
};
