#pragma once

#include "core/vector3.h"
#include "viewport/viewport_state.h"

// Where the pointer is along a drag axis: the parameter t of the point
// origin + t * axis (world space) nearest to the ray under client pixel
// (x, y) (y downward). A handle dragged by the change in t keeps the point
// grabbed on its arrow under the pointer. False when the ray runs along the
// axis, where no single point is nearest.
bool AxisParameterUnderPointer(const rgViewportState& state, int clientWidth, int clientHeight,
                               int x, int y, const vector3& origin, const vector3& axis,
                               float& t);
