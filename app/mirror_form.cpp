#include "app/mirror_form.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialog_placement.h"
#include "widgets/ok_cancel_row.h"

TMirrorForm::TMirrorForm(QWidget* parent) : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName("TMirrorForm");
    setWindowTitle("Mirror Objects");
    auto* column = new QVBoxLayout(this);
    auto* group = new QGroupBox("Select Axis", this);
    auto* boxes = new QHBoxLayout(group);
    xaxis = new QCheckBox("X", group);
    yaxis = new QCheckBox("Y", group);
    zaxis = new QCheckBox("Z", group);
    xaxis->setObjectName("xaxis");
    yaxis->setObjectName("yaxis");
    zaxis->setObjectName("zaxis");
    for (QCheckBox* b : {xaxis, yaxis, zaxis}) boxes->addWidget(b);
    column->addWidget(group);
    AddOkCancelRow(*this, *column, OkBtn, CancelBtn);
}

bool TMirrorForm::Ask(bool& x, bool& y, bool& z) {
    CentreOnScreen(*this);
    if (exec() != QDialog::Accepted) return false;
    x = xaxis->isChecked();
    y = yaxis->isChecked();
    z = zaxis->isChecked();
    return true;
}
