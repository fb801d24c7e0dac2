#pragma once

#include <string>

// The main window as the editing commands see it: the Undo menu item, the
// window title and the viewports. Runs without a window use the defaults.
class rgDocumentView {
public:
    virtual ~rgDocumentView() = default;
    virtual void SetUndoItem(bool enabled, const std::string& caption) {
        (void)enabled, (void)caption;
    }
    virtual void SetTitle(const std::string& title) { (void)title; }
    virtual void RedrawViewports() {}
};
