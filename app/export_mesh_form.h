#pragma once

#include <QDialog>

#include "editing/command_dialogs.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

// "Mesh Export": the current pose, or the animation over a range of frames,
// for exporters that write one file per frame. Every opening shows the
// defaults again: the current pose, frames 1 to the total.
class TExportMeshForm : public QDialog {
    Q_OBJECT
public:
    explicit TExportMeshForm(QWidget* parent = nullptr);
    // Shows the dialog modally; true with the choice when confirmed with "Ok".
    bool Ask(int totalFrames, rgExportOptions& options);

    QCheckBox* PoseChecker = nullptr;
    QCheckBox* AnimChecker = nullptr;
    QSpinBox* StartEdit = nullptr;
    QLabel* Label1 = nullptr;
    QSpinBox* EndEdit = nullptr;
    QPushButton* OkBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

    // The defaults of a fresh opening.
    void Reset(int totalFrames);
};
