#pragma once

#include <vector>

#include "viewport/viewport_state.h"

// The application's list of viewports, as scripts and commands reach it. In
// the editor each entry is a viewport window; a batch run keeps the states
// alone. Viewports are addressed by a stable id, so a handle to a closed
// viewport finds nothing instead of freed memory.
class rgViewportHost {
public:
    virtual ~rgViewportHost() = default;

    virtual int Count() const = 0;
    // Id of the viewport at a list index (creation order); -1 out of range.
    virtual int IdAt(int index) const = 0;
    // The state of a viewport; null once it is closed.
    virtual rgViewportState* Find(int id) = 0;
    // Opens a viewport (a window in the editor) and returns its id.
    virtual int Create() = 0;
    virtual void CloseAll() = 0;

    // Size of the backdrop that script rectangles are fractions of.
    virtual int BackdropWidth() const = 0;
    virtual int BackdropHeight() const = 0;

    // The state of `id` was changed from outside: its window shows it again
    // (title, menus, tool bar, rectangle) and repaints when `redraw` is set.
    virtual void Changed(int id, bool redraw) = 0;
    virtual void RedrawAll() = 0;
};

// Viewports without windows, for batch runs and tests.
class rgStateOnlyViewports : public rgViewportHost {
public:
    explicit rgStateOnlyViewports(const rgState& state, int backdropWidth = 1024, int backdropHeight = 768)
        : state_(state), backdropWidth_(backdropWidth), backdropHeight_(backdropHeight) {}

    int Count() const override { return static_cast<int>(entries_.size()); }
    int IdAt(int index) const override {
        return index >= 0 && index < Count() ? entries_[static_cast<size_t>(index)].id : -1;
    }
    rgViewportState* Find(int id) override {
        for (auto& e : entries_)
            if (e.id == id) return &e.state;
        return nullptr;
    }
    int Create() override;
    void CloseAll() override { entries_.clear(); }
    int BackdropWidth() const override { return backdropWidth_; }
    int BackdropHeight() const override { return backdropHeight_; }
    void Changed(int, bool) override {}
    void RedrawAll() override {}

private:
    struct Entry {
        int id;
        rgViewportState state;
    };
    const rgState& state_;
    int backdropWidth_;
    int backdropHeight_;
    int nextId_ = 1;
    std::vector<Entry> entries_;
};
