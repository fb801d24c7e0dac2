#pragma once

#include <QColor>
#include <QToolButton>
#include <functional>
#include <vector>

class QMenu;

// A button that shows a colour and, when clicked, drops down a palette of
// fixed colours (no system colours) with a "More Colors ..." entry under it
// that opens the full colour dialog.
class TColorPickerButton : public QToolButton {
    Q_OBJECT
public:
    explicit TColorPickerButton(QWidget* parent = nullptr);

    QColor Color() const { return color_; }
    // Shows `color` (alpha ignored); emits nothing.
    void SetColor(const QColor& color);

    // The drop-down palette, row by row (8 columns).
    static const std::vector<QColor>& Palette();
    static constexpr int kPaletteColumns = 8;

    QMenu* Popup() const { return popup_; }
    // What the palette cell `index` and "More Colors ..." do when clicked.
    void PaletteCellClick(int index);
    void MoreColorsClick();
    // The full colour dialog: an invalid colour when cancelled. By default
    // the toolkit's colour dialog.
    std::function<QColor(const QColor& current, QWidget* parent)> askMoreColors;

signals:
    // The user chose a colour (from the palette or the dialog).
    void ColorChosen(const QColor& color);

private:
    void Choose(const QColor& color);
    void UpdateSwatch();

    QColor color_{Qt::black};
    QMenu* popup_ = nullptr;
};
