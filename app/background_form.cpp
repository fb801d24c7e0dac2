#include "app/background_form.h"

#include <QResizeEvent>

TBackgroundForm::TBackgroundForm(QWidget* parent) : QMdiArea(parent) {
    setObjectName("BackgroundForm");
    setBackground(Qt::black);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

QRect TBackgroundForm::FittedGeometry() const {
    return QRect(QPoint(0, 0), viewport()->size());
}

bool TBackgroundForm::viewportEvent(QEvent* event) {
    const bool handled = QMdiArea::viewportEvent(event);
    if (event->type() == QEvent::Resize && onResized) {
        const auto* resize = static_cast<QResizeEvent*>(event);
        onResized(QRect(QPoint(0, 0), resize->oldSize()));
    }
    return handled;
}
