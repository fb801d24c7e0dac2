#include "app/number_dialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialog_placement.h"
#include "widgets/float_spin_edit.h"

TGetFloatForm::TGetFloatForm(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName("TGetFloatForm");
    auto* column = new QVBoxLayout(this);
    FloatSpinEdit1 = new TFloatSpinEdit(this);
    FloatSpinEdit1->setObjectName("FloatSpinEdit1");
    FloatSpinEdit1->setRange(-1e9, 1e9);
    FloatSpinEdit1->setSingleStep(1.0);
    FloatSpinEdit1->setMinimumWidth(120);
    column->addWidget(FloatSpinEdit1);
    auto* buttons = new QHBoxLayout;
    Ok_btn = new QPushButton("Ok", this);
    Ok_btn->setObjectName("Ok_btn");
    Ok_btn->setDefault(true);  // Enter in the number box
    Cancel_btn = new QPushButton("Cancel", this);
    Cancel_btn->setObjectName("Cancel_btn");
    Cancel_btn->setAutoDefault(false);
    buttons->addWidget(Ok_btn);
    buttons->addWidget(Cancel_btn);
    column->addLayout(buttons);
    connect(Ok_btn, &QPushButton::clicked, this, &QDialog::accept);
    connect(Cancel_btn, &QPushButton::clicked, this, &QDialog::reject);
}

double TGetFloatForm::GetFloat(double initial, const QString& caption) {
    setWindowTitle(caption);
    FloatSpinEdit1->setValue(initial);
    FloatSpinEdit1->selectAll();
    FloatSpinEdit1->setFocus();
    CentreOnScreen(*this);
    if (exec() != QDialog::Accepted) return initial;
    FloatSpinEdit1->interpretText();  // typed, but not yet confirmed in the box
    return FloatSpinEdit1->value();
}

double GetFloat(QWidget* parent, double initial, const QString& caption) {
    TGetFloatForm dialog(parent);
    return dialog.GetFloat(initial, caption);
}
