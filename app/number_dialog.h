#pragma once

#include <QDialog>
#include <QString>

class QPushButton;
class TFloatSpinEdit;

// The number dialog: a number box with up/down arrows (step 1, fractions
// allowed), "Ok" and "Cancel". Numbers read and show "." as the decimal
// separator whatever the locale; text that is not a number is refused.
class TGetFloatForm : public QDialog {
    Q_OBJECT
public:
    explicit TGetFloatForm(QWidget* parent = nullptr);
    // Shows the dialog modally with `caption` as its title and the box set
    // to `initial`; the box's value after "Ok" (or Enter), `initial` otherwise.
    double GetFloat(double initial, const QString& caption);

    TFloatSpinEdit* FloatSpinEdit1 = nullptr;
    QPushButton* Ok_btn = nullptr;
    QPushButton* Cancel_btn = nullptr;
};

// The number dialog shown once over `parent`.
double GetFloat(QWidget* parent, double initial, const QString& caption);
