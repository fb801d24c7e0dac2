#pragma once

#include <QDialog>

#include "editing/preferences.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;
class TColorPickerButton;
class TFloatSpinEdit;
struct rgState;

// "Preferences": the undo limit, the IK solver's limits, the viewports'
// background and grid, and the vertex colours. Made once and reused; "OK"
// stores the values (raised to their lowest accepted ones) in the editor
// state, which writes them to "default.cfg" at exit. "Reset" changes only
// the controls.
class TOptionsForm : public QDialog {
    Q_OBJECT
public:
    enum Page { kGeneralPage = 0, kViewportsPage = 1, kColorsPage = 2 };

    TOptionsForm(rgState& state, QWidget* parent = nullptr);

    // Shows the dialog modally on `page`, filled from the editor state.
    // True when it was confirmed with "OK" (the state then holds the values).
    bool Execute(Page page);

    // The controls as values, and back.
    rgPreferences Values() const;
    void Show(const rgPreferences& values);

    void ResetBtnClick();
    void AdaptiveBoxClick();

    QTabWidget* PageControl = nullptr;
    QSpinBox* UndoEdit = nullptr;
    QSpinBox* MaxIterationsEdit = nullptr;
    QSpinBox* AutosaveEdit = nullptr;
    QSpinBox* ReaderTimeEdit = nullptr;
    TFloatSpinEdit* IKThresholdEdit = nullptr;
    TColorPickerButton* BackgroundBtn = nullptr;
    TColorPickerButton* GridColorBtn = nullptr;
    TColorPickerButton* MajorGridColorBtn = nullptr;
    TFloatSpinEdit* GridSizeEdit = nullptr;
    QSpinBox* MajorGridLinesEdit = nullptr;
    QCheckBox* AdaptiveBox = nullptr;
    QCheckBox* HandlesFollowBox = nullptr;
    TColorPickerButton* VertexColorBtn = nullptr;
    TColorPickerButton* SelVertexColorBtn = nullptr;
    QPushButton* OkBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* ResetBtn = nullptr;

private:
    QWidget* BuildGeneralPage();
    QWidget* BuildViewportsPage();
    QWidget* BuildColorsPage();

    rgState& state_;
};
