#pragma once

#include <QDoubleSpinBox>

// A spin edit for a float setting: "." is the decimal separator whatever
// the user's locale, values show in their shortest form ("5", "0.0001",
// "15.25"), and text that is not a number in range is refused while typing,
// so the value only ever holds a number in range.
class TFloatSpinEdit : public QDoubleSpinBox {
    Q_OBJECT
public:
    explicit TFloatSpinEdit(QWidget* parent = nullptr);

    // At most this many characters may be typed (0: no limit).
    void SetMaxLength(int characters);

    QString textFromValue(double value) const override;
    double valueFromText(const QString& text) const override;
    QValidator::State validate(QString& text, int& position) const override;

signals:
    // Enter was pressed; the typed value has been taken by then.
    void returnPressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
