#include "app/export_mesh_form.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <climits>

#include "app/dialog_placement.h"
#include "widgets/ok_cancel_row.h"

TExportMeshForm::TExportMeshForm(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName("TExportMeshForm");
    setWindowTitle("Mesh Export");
    auto* column = new QVBoxLayout(this);
    PoseChecker = new QCheckBox("Export current pose", this);
    AnimChecker = new QCheckBox("Export animation, frames", this);
    StartEdit = new QSpinBox(this);
    EndEdit = new QSpinBox(this);
    for (QSpinBox* box : {StartEdit, EndEdit}) box->setRange(INT_MIN, INT_MAX);
    Label1 = new QLabel("to", this);
    column->addWidget(PoseChecker);
    auto* range = new QHBoxLayout;
    range->addWidget(AnimChecker);
    range->addWidget(StartEdit);
    range->addWidget(Label1);
    range->addWidget(EndEdit);
    column->addLayout(range);
    AddOkCancelRow(*this, *column, OkBtn, CancelBtn);
    // Ticking one unticks the other; unticking leaves both off.
    connect(PoseChecker, &QCheckBox::clicked, this, [this](bool on) {
        if (on) AnimChecker->setChecked(false);
    });
    connect(AnimChecker, &QCheckBox::clicked, this, [this](bool on) {
        if (on) PoseChecker->setChecked(false);
    });
}

void TExportMeshForm::Reset(int totalFrames) {
    PoseChecker->setChecked(true);
    AnimChecker->setChecked(false);
    StartEdit->setValue(1);
    EndEdit->setValue(totalFrames);
}

bool TExportMeshForm::Ask(int totalFrames, rgExportOptions& options) {
    Reset(totalFrames);
    CentreOnScreen(*this);
    if (exec() != QDialog::Accepted) return false;
    options.animation = AnimChecker->isChecked();
    options.firstFrame = StartEdit->value();
    options.lastFrame = EndEdit->value();
    return true;
}
