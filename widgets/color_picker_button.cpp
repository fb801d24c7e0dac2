#include "widgets/color_picker_button.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QWidgetAction>

namespace {

constexpr int kCellSize = 18;

QIcon SwatchIcon(const QColor& color, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(color);
    QPainter p(&pixmap);
    p.setPen(QColor(64, 64, 64));
    p.drawRect(0, 0, size.width() - 1, size.height() - 1);
    return QIcon(pixmap);
}

}  // namespace

const std::vector<QColor>& TColorPickerButton::Palette() {
    static const std::vector<QColor> colours = [] {
        const unsigned rgb[] = {
            0x000000, 0x993300, 0x333300, 0x003300, 0x003366, 0x000080, 0x333399, 0x333333,
            0x800000, 0xFF6600, 0x808000, 0x008000, 0x008080, 0x0000FF, 0x666699, 0x808080,
            0xFF0000, 0xFF9900, 0x99CC00, 0x339966, 0x33CCCC, 0x3366FF, 0x800080, 0x969696,
            0xFF00FF, 0xFFCC00, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x00CCFF, 0x993366, 0xC0C0C0,
            0xFF99CC, 0xFFCC99, 0xFFFF99, 0xCCFFCC, 0xCCFFFF, 0x99CCFF, 0xCC99FF, 0xFFFFFF,
        };
        std::vector<QColor> out;
        for (unsigned c : rgb) out.push_back(QColor::fromRgb(c));
        return out;
    }();
    return colours;
}

TColorPickerButton::TColorPickerButton(QWidget* parent) : QToolButton(parent) {
    setPopupMode(QToolButton::InstantPopup);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setIconSize(QSize(40, 14));
    popup_ = new QMenu(this);
    auto* grid = new QWidget(popup_);
    auto* layout = new QGridLayout(grid);
    layout->setSpacing(2);
    layout->setContentsMargins(4, 4, 4, 4);
    const std::vector<QColor>& colours = Palette();
    for (int i = 0; i < static_cast<int>(colours.size()); ++i) {
        auto* cell = new QToolButton(grid);
        cell->setObjectName(QString("PaletteCell%1").arg(i));
        cell->setAutoRaise(true);
        cell->setFixedSize(kCellSize + 4, kCellSize + 4);
        cell->setIconSize(QSize(kCellSize, kCellSize));
        cell->setIcon(SwatchIcon(colours[static_cast<size_t>(i)], QSize(kCellSize, kCellSize)));
        cell->setToolTip(colours[static_cast<size_t>(i)].name().toUpper());
        connect(cell, &QToolButton::clicked, this, [this, i] { PaletteCellClick(i); });
        layout->addWidget(cell, i / kPaletteColumns, i % kPaletteColumns);
    }
    auto* cells = new QWidgetAction(popup_);
    cells->setDefaultWidget(grid);
    popup_->addAction(cells);
    popup_->addSeparator();
    QAction* more = popup_->addAction("More Colors ...");
    more->setObjectName("MoreColors");
    connect(more, &QAction::triggered, this, &TColorPickerButton::MoreColorsClick);
    setMenu(popup_);
    askMoreColors = [](const QColor& current, QWidget* owner) {
        return QColorDialog::getColor(current, owner);
    };
    UpdateSwatch();
}

void TColorPickerButton::SetColor(const QColor& color) {
    color_ = QColor(color.red(), color.green(), color.blue());
    UpdateSwatch();
}

void TColorPickerButton::PaletteCellClick(int index) {
    popup_->hide();
    const std::vector<QColor>& colours = Palette();
    if (index >= 0 && index < static_cast<int>(colours.size()))
        Choose(colours[static_cast<size_t>(index)]);
}

void TColorPickerButton::MoreColorsClick() {
    popup_->hide();
    const QColor chosen = askMoreColors ? askMoreColors(color_, window()) : QColor();
    if (chosen.isValid()) Choose(chosen);
}

void TColorPickerButton::Choose(const QColor& color) {
    SetColor(color);
    emit ColorChosen(color_);
}

void TColorPickerButton::UpdateSwatch() {
    setIcon(SwatchIcon(color_, iconSize()));
    setToolTip(color_.name().toUpper());
}
