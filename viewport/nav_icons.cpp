#include "viewport/nav_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

void DrawIconArrow(QPainter& p, QPointF from, QPointF to, double head) {
    p.drawLine(from, to);
    const QPointF d = to - from;
    const double len = std::hypot(d.x(), d.y());
    if (len == 0) return;
    const QPointF u = d / len, n(-u.y(), u.x());
    QPainterPath path;
    path.moveTo(to);
    path.lineTo(to - u * head + n * 3);
    path.lineTo(to - u * head - n * 3);
    path.closeSubpath();
    p.fillPath(path, p.pen().color());
}

namespace {

void Arrow(QPainter& p, QPointF from, QPointF to) { DrawIconArrow(p, from, to); }

}  // namespace

QIcon NavIcon(rgNavIcon kind) {
    QPixmap pixmap(18, 18);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(20, 20, 90), 1.5));
    const QPointF c(9, 9);
    switch (kind) {
        case rgNavIcon::MoveFourWays:
            Arrow(p, c, {9, 1.5});
            Arrow(p, c, {9, 16.5});
            Arrow(p, c, {1.5, 9});
            Arrow(p, c, {16.5, 9});
            break;
        case rgNavIcon::MoveVertical:
            Arrow(p, c, {9, 1.5});
            Arrow(p, c, {9, 16.5});
            break;
        case rgNavIcon::MoveDepth:
            Arrow(p, c, {2.5, 15.5});
            Arrow(p, c, {15.5, 2.5});
            break;
        case rgNavIcon::Rotate: {
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(3, 3, 12, 12), 30 * 16, 280 * 16);
            Arrow(p, {13, 4.5}, {15.5, 7.5});
            break;
        }
        case rgNavIcon::Zoom:
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(2, 2, 10, 10));
            p.setPen(QPen(QColor(20, 20, 90), 2.5));
            p.drawLine(QPointF(11, 11), QPointF(16, 16));
            break;
        case rgNavIcon::ZoomAll:
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(4.5, 4.5, 9, 9));
            Arrow(p, {4, 4}, {1, 1});
            Arrow(p, {14, 4}, {17, 1});
            Arrow(p, {4, 14}, {1, 17});
            Arrow(p, {14, 14}, {17, 17});
            break;
    }
    return QIcon(pixmap);
}
