#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;

// "Mirror Objects": which axes to mirror over. Made once; the boxes keep
// their state between uses.
class TMirrorForm : public QDialog {
    Q_OBJECT
public:
    explicit TMirrorForm(QWidget* parent = nullptr);
    // Shows the dialog modally; true with the axes when confirmed with "Ok".
    bool Ask(bool& x, bool& y, bool& z);

    QCheckBox* xaxis = nullptr;
    QCheckBox* yaxis = nullptr;
    QCheckBox* zaxis = nullptr;
    QPushButton* OkBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
};
