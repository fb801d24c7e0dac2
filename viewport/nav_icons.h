#pragma once

#include <QIcon>

// Pictures of the viewport window's tool buttons, drawn at run time.
enum class rgNavIcon { MoveFourWays, MoveVertical, MoveDepth, Rotate, Zoom, ZoomAll };

QIcon NavIcon(rgNavIcon kind);
