#pragma once

#include <QMdiArea>
#include <QRect>
#include <functional>

// The black backdrop the viewport windows live on: the main window's central
// area. Its size is the work area viewport windows are fitted to, and script
// rectangles are fractions of it.
class TBackgroundForm : public QMdiArea {
    Q_OBJECT
public:
    explicit TBackgroundForm(QWidget* parent = nullptr);

    // The work area in backdrop coordinates: all of it.
    QRect FittedGeometry() const;

    // Called after the backdrop changed size, with the old work area.
    std::function<void(const QRect& oldArea)> onResized;

protected:
    bool viewportEvent(QEvent* event) override;
};
