#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The program's version.
inline constexpr const char* kKinemoVersion = "1.3.4";

// "About Kinemo": the program name with its version and the libraries the
// program is built on.
class TAboutForm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* parent = nullptr);
    // Shows it modally, in the middle of the screen.
    void Execute();

    QLabel* ProductName = nullptr;
    QLabel* Libraries = nullptr;
    QPushButton* OkBtn = nullptr;
};
