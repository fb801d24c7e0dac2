#pragma once

#include <QIcon>
#include <QPointF>

class QPainter;

// Pictures of the viewport window's tool buttons, drawn at run time.
enum class rgNavIcon { MoveFourWays, MoveVertical, MoveDepth, Rotate, Zoom, ZoomAll };

QIcon NavIcon(rgNavIcon kind);

// A line from `from` to `to` with a filled head `head` pixels long, in the
// pen's colour: the arrow of every drawn tool icon.
void DrawIconArrow(QPainter& p, QPointF from, QPointF to, double head = 4);
