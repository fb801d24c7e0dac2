#pragma once

#include <QDialog>
#include <array>

class QComboBox;
class QGroupBox;
class QPushButton;
class TFloatSpinEdit;
class rgBone;

// "Joint Limits": per axis a mode ("Free", "Limited", "Locked") and two
// angles in degrees, edited for one joint. "Ok" stores all of them in the
// joint (the angles also for axes that are not limited); "Cancel" leaves
// it as it was. Modal; made once and reused.
class TJointLimitsForm : public QDialog {
    Q_OBJECT
public:
    explicit TJointLimitsForm(QWidget* parent);

    // Shows the joint's limits modally and stores them on "Ok". Nothing
    // happens without a joint. True when stored.
    bool Edit(rgBone* joint);
    // Fills the controls from the joint.
    void Load(rgBone& joint);
    // Writes the controls into the joint.
    void Store(rgBone& joint) const;

    std::array<QGroupBox*, 3> Boxes{};
    QComboBox *XCombo = nullptr, *YCombo = nullptr, *ZCombo = nullptr;
    TFloatSpinEdit *XMinEdit = nullptr, *XMaxEdit = nullptr;
    TFloatSpinEdit *YMinEdit = nullptr, *YMaxEdit = nullptr;
    TFloatSpinEdit *ZMinEdit = nullptr, *ZMaxEdit = nullptr;
    QPushButton* OkBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

private:
    QComboBox* Combo(int axis) const;
    TFloatSpinEdit* MinEdit(int axis) const;
    TFloatSpinEdit* MaxEdit(int axis) const;
    // An axis' angle fields are on exactly while it is "Limited".
    void ShowMode(int axis);
};
