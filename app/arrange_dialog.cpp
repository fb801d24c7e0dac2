#include "app/arrange_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "viewport/window_layout.h"

QPixmap ArrangementPicture(int n, int choice, int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::black);
    QPainter p(&pixmap);
    const std::vector<rgWindowRect> rects = ArrangeWindows(n, choice, width - 1, height - 1);
    for (size_t i = 0; i < rects.size(); ++i) {
        const QRect r(rects[i].left, rects[i].top, rects[i].width, rects[i].height);
        const QRect inner = r.adjusted(1, 1, -1, -1);
        p.fillRect(inner, QColor(192, 192, 192));
        // A caption band where the window is tall enough to carry one.
        const int band = inner.height() >= 12 ? std::max(2, inner.height() / 8) : 0;
        if (band)
            p.fillRect(QRect(inner.left(), inner.top(), inner.width(), band), QColor(0, 0, 128));
        QFont font = p.font();
        font.setPixelSize(
            std::max(6, std::min({height / 5, inner.height() - band, inner.width()})));
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(inner.adjusted(0, band, 0, 0), Qt::AlignCenter, QString::number(i + 1));
    }
    return pixmap;
}

TArrangeForm::TArrangeForm(int n, QWidget* parent)
    : QDialog(parent), choices_(ArrangeChoiceCount(n)) {
    setWindowTitle("Arrange");
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    for (int choice = 1; choice <= choices_; ++choice) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString("LayoutBtn%1").arg(choice));
        button->setIcon(QIcon(ArrangementPicture(n, choice, 64, 48)));
        button->setIconSize(QSize(64, 48));
        connect(button, &QToolButton::clicked, this, [this, choice] { done(choice); });
        row->addWidget(button);
    }
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText("Cancel");
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { done(0); });
    layout->addWidget(buttons);
}

int TArrangeForm::Ask(int n, QWidget* parent) {
    TArrangeForm form(n, parent);
    return form.exec();
}
