#pragma once

#include <QColor>
#include <functional>
#include <QToolButton>

class QMenu;

// A colour picker: the button shows the colour; its drop-down offers a
// palette of fixed colours and "More Colors ...", which opens the full
// colour dialog.
class TColourButton : public QToolButton {
    Q_OBJECT
public:
    explicit TColourButton(QWidget* parent = nullptr);

    QColor Colour() const { return colour_; }
    // Shows a colour without announcing it.
    void SetColour(const QColor& colour);
    // The palette's colours, in order.
    static const QList<QColor>& Palette();
    // The drop-down (for tests).
    QMenu* DropDown() const { return menu_; }
    // What "More Colors ..." asks; by default the colour dialog (an invalid
    // colour: cancelled).
    std::function<QColor(const QColor& current)> askColour;

signals:
    // The user chose a colour.
    void colourChosen(const QColor& colour);

private:
    void Choose(const QColor& colour);

    QColor colour_ = Qt::white;
    QMenu* menu_;
};
