#include "app/joint_limits_form.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <limits>

#include "scene/rg_bone.h"
#include "widgets/float_spin_edit.h"
#include "widgets/ok_cancel_row.h"

namespace {
constexpr int kClientWidth = 265;
constexpr int kClientHeight = 230;
constexpr double kNoLimit = std::numeric_limits<float>::max();
}  // namespace

TJointLimitsForm::TJointLimitsForm(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName("TJointLimitsForm");
    setWindowTitle("Joint Limits");
    setModal(true);
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    auto* column = new QVBoxLayout(this);
    const char* titles[3] = {"X Axis", "Y Axis", "Z Axis"};
    const char* prefixes[3] = {"X", "Y", "Z"};
    QComboBox* combos[3];
    TFloatSpinEdit* mins[3];
    TFloatSpinEdit* maxes[3];
    for (int axis = 0; axis < 3; ++axis) {
        auto* box = new QGroupBox(titles[axis], this);
        auto* row = new QHBoxLayout(box);
        row->setContentsMargins(6, 2, 6, 4);
        auto* combo = new QComboBox(box);
        combo->setObjectName(QString(prefixes[axis]) + "Combo");
        combo->addItems({"Free", "Limited", "Locked"});
        const auto field = [&](const char* suffix) {
            auto* f = new TFloatSpinEdit(box);
            f->setObjectName(QString(prefixes[axis]) + suffix);
            f->setRange(-kNoLimit, kNoLimit);
            f->setSingleStep(1.0);
            f->setFixedWidth(64);
            return f;
        };
        mins[axis] = field("MinEdit");
        maxes[axis] = field("MaxEdit");
        row->addWidget(combo, 1);
        row->addWidget(mins[axis]);
        row->addWidget(maxes[axis]);
        column->addWidget(box);
        Boxes[static_cast<size_t>(axis)] = box;
        combos[axis] = combo;
        connect(combo, &QComboBox::currentIndexChanged, this, [this, axis] { ShowMode(axis); });
    }
    XCombo = combos[0], YCombo = combos[1], ZCombo = combos[2];
    XMinEdit = mins[0], YMinEdit = mins[1], ZMinEdit = mins[2];
    XMaxEdit = maxes[0], YMaxEdit = maxes[1], ZMaxEdit = maxes[2];

    column->addStretch(1);
    AddOkCancelRow(*this, *column, OkBtn, CancelBtn);
    OkBtn->setObjectName("OkBtn");
    CancelBtn->setObjectName("CancelBtn");
    setFixedSize(kClientWidth, kClientHeight);
}

QComboBox* TJointLimitsForm::Combo(int axis) const {
    return std::array{XCombo, YCombo, ZCombo}[static_cast<size_t>(axis)];
}
TFloatSpinEdit* TJointLimitsForm::MinEdit(int axis) const {
    return std::array{XMinEdit, YMinEdit, ZMinEdit}[static_cast<size_t>(axis)];
}
TFloatSpinEdit* TJointLimitsForm::MaxEdit(int axis) const {
    return std::array{XMaxEdit, YMaxEdit, ZMaxEdit}[static_cast<size_t>(axis)];
}

void TJointLimitsForm::ShowMode(int axis) {
    const bool limited = Combo(axis)->currentIndex() == kLimitLimited;
    MinEdit(axis)->setEnabled(limited);
    MaxEdit(axis)->setEnabled(limited);
}

void TJointLimitsForm::Load(rgBone& joint) {
    for (int axis = 0; axis < 3; ++axis) {
        int mode = kLimitFree;
        float first = 0, second = 0;
        joint.GetConstraints(axis, mode, first, second);
        {
            const QSignalBlocker quiet(Combo(axis));
            Combo(axis)->setEnabled(true);
            Combo(axis)->setCurrentIndex(mode >= kLimitFree && mode <= kLimitLocked ? mode : 0);
        }
        MinEdit(axis)->setValue(first);
        MaxEdit(axis)->setValue(second);
        ShowMode(axis);
    }
}

void TJointLimitsForm::Store(rgBone& joint) const {
    for (int axis = 0; axis < 3; ++axis)
        joint.SetConstraints(axis, Combo(axis)->currentIndex(),
                             static_cast<float>(MinEdit(axis)->value()),
                             static_cast<float>(MaxEdit(axis)->value()));
}

bool TJointLimitsForm::Edit(rgBone* joint) {
    if (!joint) return false;
    Load(*joint);
    if (exec() != QDialog::Accepted) return false;
    Store(*joint);
    return true;
}
