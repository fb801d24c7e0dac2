#pragma once

#include <functional>
#include <optional>

#include "viewport/gizmo_shape.h"
#include "viewport/gl_panel.h"
#include "viewport/navigation.h"
#include "viewport/tool_viewport.h"
#include "viewport/viewport_state.h"

class QMouseEvent;

// A 3D view: the panel plus the view state and the frame set-up. The scene
// itself is drawn by OnDrawScene. Mouse events drive the navigation
// (rgNavigator) and are then raised through OnMouseDown/Up/Move, which the
// viewport window forwards to the active tool.
class TGLViewport : public TGLPanel, public rgToolViewport {
    Q_OBJECT
public:
    TGLViewport(const rgState& editor, TGLSharedLists& shared, QWidget* parent = nullptr);

    rgViewportState state;
    rgNavigator nav;
    bool hasCursorPoint = false;
    vector3 cursorPoint{0, 0, 0};

    // Scene drawing, called inside each frame with the draw mode.
    std::function<void(TGLViewport& viewport, int drawMode)> OnDrawScene;
    // The control's own mouse events (after navigation); a middle-button
    // press and its release are never raised.
    std::function<void(int button, int shift, int x, int y)> OnMouseDown;
    std::function<void(int button, int shift, int x, int y)> OnMouseUp;
    std::function<void(int shift, int x, int y)> OnMouseMove;
    // The main window's gizmo choices, which handle picks follow; null: defaults.
    const rgGizmoOptions* gizmoOptions = nullptr;

    void SetProjection(int p) { state.SetProjection(p); }
    void SetNavMode(int m) { state.navMode = m; }
    void SetDrawMode(int m) { state.drawMode = m; }
    void ResetView() { state.ResetView(); }
    void CopySettingsTo(TGLViewport& other) const { state.CopySettingsTo(other.state); }
    void ZoomWheel(int step);
    // Ends a press that is still held (the window lost activation): a
    // release of the left button at (0, 0) without modifiers.
    void EndPendingPress();

    // rgToolViewport
    rgViewportState& State() override { return state; }
    int ClientWidth() const override { return width(); }
    int ClientHeight() const override { return height(); }
    bool ScreenToWorld(int x, int y, vector3& point) override;
    bool Pick(int x, int y, int w, int h, const rgPickRoutine& routine) override;
    void Redraw() override { update(); }
    void ShowFrameRect(int x1, int y1, int x2, int y2) override;
    void ShowOverlayLine(int x1, int y1, int x2, int y2) override;

    // Button and key state of a Qt mouse event as rgShiftState bits.
    static int ShiftState(const QMouseEvent& event);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void Frame();
    void Release(int button, int shift, int x, int y);

    // Tool feedback drawn over the next frame only.
    struct Overlay {
        bool line;  // a line, else a frame
        int x1, y1, x2, y2;
    };
    std::optional<Overlay> overlay_;
};
