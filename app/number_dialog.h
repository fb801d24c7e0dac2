#pragma once

#include <QString>

class QWidget;

// The number dialog: a number box with up/down arrows (step 1, fractions
// allowed), "Ok" and "Cancel". Shown modally with `caption` as its title
// and the box set to `initial`; returns the box's value after "Ok" (or
// Enter), `initial` otherwise. Numbers read and show "." as the decimal
// separator whatever the locale.
double GetFloat(QWidget* parent, double initial, const QString& caption);
