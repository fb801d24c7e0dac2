#include "viewport/gl_viewport.h"

#include <QMouseEvent>

#include "viewport/camera.h"
#include "viewport/gl_frame.h"
#include "viewport/selection_picker.h"

namespace {

int ButtonOf(Qt::MouseButton b) {
    switch (b) {
        case Qt::LeftButton:
            return kMouseLeft;
        case Qt::RightButton:
            return kMouseRight;
        case Qt::MiddleButton:
            return kMouseMiddle;
        default:
            return -1;
    }
}

}  // namespace

TGLViewport::TGLViewport(const rgState& editor, TGLSharedLists& shared, QWidget* parent)
    : TGLPanel(editor, shared, parent), state(rgViewportState::FromEditorState(editor)) {
    setMouseTracking(true);  // tools and the read-out see moves without a button held
    setFocusPolicy(Qt::ClickFocus);
    OnGLPaint = [this] { Frame(); };
}

int TGLViewport::ShiftState(const QMouseEvent& e) {
    int shift = 0;
    const Qt::KeyboardModifiers m = e.modifiers();
    if (m & Qt::ShiftModifier) shift |= kShiftKey;
    if (m & Qt::AltModifier) shift |= kAltKey;
    if (m & Qt::ControlModifier) shift |= kCtrlKey;
    const Qt::MouseButtons b = e.buttons();
    if (b & Qt::LeftButton) shift |= kLeftButtonHeld;
    if (b & Qt::RightButton) shift |= kRightButtonHeld;
    if (b & Qt::MiddleButton) shift |= kMiddleButtonHeld;
    return shift;
}

void TGLViewport::Frame() {
    const double ratio = devicePixelRatioF();
    GLSetupFrame(state, Editor(), width(), height(), ratio, &Errors());
    if (OnDrawScene) OnDrawScene(*this, state.drawMode);
    if (overlay_) {
        const Overlay o = *overlay_;
        if (o.line)
            GLDrawOverlayLine(width(), height(), ratio, o.x1, o.y1, o.x2, o.y2, &Errors());
        else
            GLDrawFrameRect(width(), height(), ratio, o.x1, o.y1, o.x2, o.y2, &Errors());
        overlay_.reset();
    }
}

void TGLViewport::ShowFrameRect(int x1, int y1, int x2, int y2) {
    overlay_ = Overlay{false, x1, y1, x2, y2};
    update();
}

void TGLViewport::ShowOverlayLine(int x1, int y1, int x2, int y2) {
    overlay_ = Overlay{true, x1, y1, x2, y2};
    update();
}

void TGLViewport::mousePressEvent(QMouseEvent* e) {
    const int button = ButtonOf(e->button());
    if (button < 0) return;
    const QPoint p = e->position().toPoint();
    if (nav.Press(state, button, p.x(), p.y()) && OnMouseDown)
        OnMouseDown(button, ShiftState(*e), p.x(), p.y());
}

void TGLViewport::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    if (nav.Move(state, p.x(), p.y())) update();
    if (OnMouseMove) OnMouseMove(ShiftState(*e), p.x(), p.y());
}

void TGLViewport::mouseReleaseEvent(QMouseEvent* e) {
    const int button = ButtonOf(e->button());
    if (button < 0) return;
    const QPoint p = e->position().toPoint();
    Release(button, ShiftState(*e), p.x(), p.y());
}

void TGLViewport::Release(int button, int shift, int x, int y) {
    if (nav.Release(state) && OnMouseUp) OnMouseUp(button, shift, x, y);
}

void TGLViewport::EndPendingPress() {
    if (nav.buttonDown) Release(kMouseLeft, 0, 0, 0);
}

bool TGLViewport::event(QEvent* e) {
    // No drag survives a change of the active window.
    if (e->type() == QEvent::WindowDeactivate) EndPendingPress();
    return TGLPanel::event(e);
}

void TGLViewport::ZoomWheel(int step) {
    ::ZoomWheel(state, step);
    update();
}

bool TGLViewport::ScreenToWorld(int x, int y, vector3& point) {
    // The matrices of the frame the current state draws.
    cursorPoint = ::ScreenToWorld(state, width(), height(), x, y);
    hasCursorPoint = true;
    point = cursorPoint;
    return true;
}

bool TGLViewport::Pick(int x, int y, int w, int h, const rgPickRoutine& routine) {
    state.viewMatrix = ViewMatrix(state);
    rgSelectionPicker picker = rgSelectionPicker::ForRegion(
        state, width(), height(), x, y, w, h, gizmoOptions ? *gizmoOptions : rgGizmoOptions{});
    return routine(picker);
}
