#include "app/main_form.h"

#include "editing/rg_state.h"

TMainForm::TMainForm(rgState& state, QWidget* parent) : QMainWindow(parent), state_(state) {
    // A fresh document, as after File > New.
    state_.SetFileName("unnamed.rig");
    state_.modified = false;
    state_.named = false;
    setMinimumWidth(570);
    resize(800, 120);
    UpdateTitle();
}

void TMainForm::UpdateTitle() {
    QString title = QStringLiteral("Kinemo - ") + QString::fromStdString(state_.fileName);
    if (state_.modified) title += QLatin1Char('*');
    setWindowTitle(title);
}
