#include "app/progress_form.h"

#include <QCloseEvent>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>

#include "app/dialog_placement.h"

TProgressForm::TProgressForm(QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
    setObjectName("TProgressForm");
    setWindowTitle("Working ...");
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 8, 8, 8);
    Gauge = new QProgressBar(this);
    Gauge->setObjectName("Gauge");
    Gauge->setFixedSize(209, 20);
    Gauge->setRange(0, 100);
    Gauge->setValue(0);
    Gauge->setFormat("%p%");
    Gauge->setAlignment(Qt::AlignCenter);
    column->addWidget(Gauge);
    setFixedSize(sizeHint());
}

void TProgressForm::ProgressShow() {
    if (!isVisible()) {
        CentreOnScreen(*this);
        show();
    }
    raise();
}

void TProgressForm::SetRange(int min, int max) {
    Gauge->setRange(min, std::max(min, max));
}

bool TProgressForm::SetPosition(int position) {
    const QString shown = Gauge->text();
    Gauge->setValue(std::clamp(position, Gauge->minimum(), Gauge->maximum()));
    if (Gauge->text() == shown) return false;
    // Scripts run on this thread: paint now, not when the script is over.
    if (isVisible()) Gauge->repaint();
    return true;
}

void TProgressForm::closeEvent(QCloseEvent* event) {
    // Only the scripts that show it hide it.
    if (event->spontaneous()) event->ignore();
}
