#pragma once

#include <QDialog>
#include <QFrame>
#include <functional>

#include "editing/key_browser.h"

class QComboBox;
class QLabel;
class QPushButton;
class TFloatSpinEdit;
class TRollOut;
class rgEditor;

// A preview of the spline shape tension, continuity and bias give a key:
// the Key Info window draws one for the translation and one for the rotation.
class TTcbPreview : public QFrame {
    Q_OBJECT
public:
    static constexpr int kWidth = 89;
    static constexpr int kHeight = 70;

    explicit TTcbPreview(QWidget* parent = nullptr);
    // The tension, continuity and bias to draw; empty: axes only (no joint).
    std::function<bool(double& t, double& c, double& b)> parameters;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// "Key Info": the keys of one joint stepped through, each key's translation
// and the tension, continuity and bias of its splines read and changed in
// place, with a curve preview for each. Modal; made once and reused.
class TKeyInfoForm : public QDialog {
    Q_OBJECT
public:
    TKeyInfoForm(rgEditor& editor, QWidget* parent);

    // Shows the keys of `joint` (none: the first joint of the scene) modally.
    void Open(rgBone* joint);
    // Fills the window for `joint` as Open does, without showing it.
    void Load(rgBone* joint);

    rgKeyBrowser& Browser() { return browser_; }

    TRollOut* GeneralInfo = nullptr;
    TRollOut* Translation = nullptr;
    TRollOut* Rotation = nullptr;
    QComboBox* JointCombo = nullptr;
    QLabel* KeyLabel = nullptr;
    QLabel* FrameLabel = nullptr;
    TFloatSpinEdit *tx = nullptr, *ty = nullptr, *tz = nullptr;
    TFloatSpinEdit *tt = nullptr, *tc = nullptr, *tb = nullptr;
    TFloatSpinEdit *rx = nullptr, *ry = nullptr, *rz = nullptr;
    TFloatSpinEdit *rt = nullptr, *rc = nullptr, *rb = nullptr;
    TTcbPreview* trans_paint = nullptr;
    TTcbPreview* rot_paint = nullptr;
    QPushButton* PrevKeyBtn = nullptr;
    QPushButton* NextKeyBtn = nullptr;
    QPushButton* CloseBtn = nullptr;

private:
    // Shows the browser's current key in every control.
    void ShowKey();

    rgEditor& editor_;
    rgKeyBrowser browser_;
    bool filling_ = false;
};
