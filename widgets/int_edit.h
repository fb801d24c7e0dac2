#pragma once

#include <QLineEdit>

// A field for a whole number: only digits (and a leading minus) can be
// typed, so the text is always a number or on its way to one. Enter hands
// over the value; a number too large for an int is taken as the nearest one.
class TIntEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TIntEdit(QWidget* parent = nullptr);

    // The value the text reads as; `fallback` while it is empty or "-".
    int Value(int fallback = 0) const;
    void SetValue(int value);

signals:
    // Enter was pressed over a number.
    void entered(int value);
};
