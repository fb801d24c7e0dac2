#include "widgets/colour_button.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QMenu>
#include <QPainter>
#include <QToolButton>
#include <QWidgetAction>

namespace {

QIcon Swatch(const QColor& colour, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(colour);
    QPainter p(&pixmap);
    p.setPen(Qt::black);
    p.drawRect(0, 0, size.width() - 1, size.height() - 1);
    return QIcon(pixmap);
}

}  // namespace

const QList<QColor>& TColourButton::Palette() {
    static const QList<QColor> colours = {
        {0, 0, 0},       {128, 0, 0},   {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
        {128, 0, 128},   {0, 128, 128}, {128, 128, 128}, {192, 192, 192}, {255, 0, 0},
        {0, 255, 0},     {255, 255, 0}, {0, 0, 255},     {255, 0, 255},   {0, 255, 255},
        {255, 255, 255}, {255, 128, 0}, {128, 64, 0},    {255, 128, 128}, {128, 255, 128},
    };
    return colours;
}

TColourButton::TColourButton(QWidget* parent) : QToolButton(parent), menu_(new QMenu(this)) {
    setPopupMode(QToolButton::InstantPopup);
    setIconSize({28, 12});
    setMenu(menu_);

    auto* grid = new QWidget(menu_);
    auto* layout = new QGridLayout(grid);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);
    const QList<QColor>& colours = Palette();
    for (int i = 0; i < colours.size(); ++i) {
        auto* cell = new QToolButton(grid);
        cell->setAutoRaise(true);
        cell->setIconSize({14, 14});
        cell->setIcon(Swatch(colours[i], {14, 14}));
        cell->setToolTip(colours[i].name());
        const QColor colour = colours[i];
        connect(cell, &QToolButton::clicked, this, [this, colour] {
            menu_->close();
            Choose(colour);
        });
        layout->addWidget(cell, i / 5, i % 5);
    }
    auto* cells = new QWidgetAction(menu_);
    cells->setDefaultWidget(grid);
    menu_->addAction(cells);
    menu_->addSeparator();
    menu_->addAction("More Colors ...", this, [this] {
        const QColor chosen =
            askColour ? askColour(colour_) : QColorDialog::getColor(colour_, window());
        if (chosen.isValid()) Choose(chosen);
    });
    SetColour(colour_);
}

void TColourButton::SetColour(const QColor& colour) {
    colour_ = colour;
    setIcon(Swatch(colour, iconSize()));
}

void TColourButton::Choose(const QColor& colour) {
    SetColour(colour);
    emit colourChosen(colour);
}
