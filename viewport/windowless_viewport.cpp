#include "viewport/windowless_viewport.h"

#include <cmath>

#include "viewport/camera.h"
#include "viewport/selection_picker.h"

bool rgWindowlessViewport::ScreenToWorld(int x, int y, vector3& point) {
    point = ::ScreenToWorld(state, width_, height_, x, y);
    return true;
}

bool rgWindowlessViewport::Pick(int x, int y, int w, int h, const rgPickRoutine& routine) {
    state.viewMatrix = ViewMatrix(state);
    rgSelectionPicker picker = rgSelectionPicker::ForRegion(
        state, width_, height_, x, y, w, h, gizmoOptions ? gizmoOptions() : rgGizmoOptions{});
    return routine(picker);
}

bool rgWindowlessViewport::PixelOf(const vector3& point, int& x, int& y) const {
    double wx = 0, wy = 0, wz = 0;
    if (!Project(point, ViewMatrix(state),
                 ProjectionMatrix(state.projection, ViewportAspect(width_, height_)),
                 DrawingRect(width_, height_), wx, wy, wz))
        return false;
    x = static_cast<int>(std::lround(wx));
    y = height_ - static_cast<int>(std::lround(wy));
    return wz >= 0.0 && wz <= 1.0;
}
