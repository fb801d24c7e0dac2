#include "app/tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "viewport/nav_icons.h"

namespace {

constexpr int kSize = 20;

void Arrow(QPainter& p, QPointF from, QPointF to) { DrawIconArrow(p, from, to, 4.5); }

void Pointer(QPainter& p, const QColor& fill) {
    QPainterPath path;
    path.moveTo(5, 2);
    path.lineTo(5, 16);
    path.lineTo(8.5, 12.5);
    path.lineTo(11, 18);
    path.lineTo(13, 17);
    path.lineTo(10.5, 11.5);
    path.lineTo(15, 11.5);
    path.closeSubpath();
    p.fillPath(path, fill);
    p.drawPath(path);
}

void FourArrows(QPainter& p) {
    const QPointF c(10, 10);
    Arrow(p, c, {10, 1.5});
    Arrow(p, c, {10, 18.5});
    Arrow(p, c, {1.5, 10});
    Arrow(p, c, {18.5, 10});
}

void TurnArrow(QPainter& p) {
    p.drawArc(QRectF(3, 3, 14, 14), 40 * 16, 270 * 16);
    Arrow(p, {15, 4.5}, {17.5, 8});
}

void Joint(QPainter& p, QPointF at, double r) {
    p.drawEllipse(at, r, r);
}

}  // namespace

QIcon ToolIcon(rgToolButton button) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(20, 20, 90);
    const QColor animated(150, 30, 30);
    const bool animation =
        button == rgToolButton::AnimateSelect || button == rgToolButton::AnimateTranslate ||
        button == rgToolButton::AnimateRotate || button == rgToolButton::AnimateIK;
    p.setPen(QPen(animation ? animated : ink, 1.5));
    p.setBrush(Qt::NoBrush);
    switch (button) {
        case rgToolButton::EditSelect:
        case rgToolButton::AnimateSelect:
            Pointer(p, Qt::white);
            break;
        case rgToolButton::EditTranslate:
        case rgToolButton::AnimateTranslate:
            FourArrows(p);
            break;
        case rgToolButton::EditRotate:
        case rgToolButton::AnimateRotate:
            TurnArrow(p);
            break;
        case rgToolButton::EditScale:
            p.drawRect(QRectF(2.5, 8.5, 9, 9));
            p.drawRect(QRectF(2.5, 2.5, 15, 15));
            Arrow(p, {8, 12}, {16, 4});
            break;
        case rgToolButton::EditCreateBone:
            p.setBrush(QColor(255, 255, 200));
            Joint(p, {5, 15}, 2.5);
            Joint(p, {15, 5}, 2.5);
            p.drawLine(QPointF(7, 13), QPointF(13, 7));
            p.setPen(QPen(QColor(0, 120, 0), 2));
            p.drawLine(QPointF(3, 4), QPointF(9, 4));
            p.drawLine(QPointF(6, 1), QPointF(6, 7));
            break;
        case rgToolButton::EditVertexAssign:
            p.setBrush(ink);
            for (QPointF v : {QPointF(4, 15), QPointF(9, 6), QPointF(16, 12), QPointF(13, 3)})
                p.drawEllipse(v, 1.5, 1.5);
            p.setBrush(Qt::NoBrush);
            p.drawLine(QPointF(4, 15), QPointF(9, 6));
            p.drawLine(QPointF(9, 6), QPointF(16, 12));
            break;
        case rgToolButton::EditObjectProperties:
            p.drawEllipse(QRectF(2.5, 2.5, 15, 15));
            p.drawLine(QPointF(10, 9), QPointF(10, 14.5));
            p.drawPoint(QPointF(10, 6));
            break;
        case rgToolButton::AnimateIK:
            p.setBrush(QColor(255, 220, 220));
            Joint(p, {4, 16}, 2);
            Joint(p, {10, 8}, 2);
            Joint(p, {16, 14}, 2);
            p.drawLine(QPointF(5, 14.5), QPointF(9, 9.5));
            p.drawLine(QPointF(11.5, 9.5), QPointF(14.8, 12.5));
            break;
        default:
            break;
    }
    return QIcon(pixmap);
}
