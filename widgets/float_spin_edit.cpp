#include "widgets/float_spin_edit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpression>

TFloatSpinEdit::TFloatSpinEdit(QWidget* parent) : QDoubleSpinBox(parent) {
    setLocale(QLocale::c());
    setDecimals(6);
    setKeyboardTracking(false);
}

void TFloatSpinEdit::SetMaxLength(int characters) {
    lineEdit()->setMaxLength(characters > 0 ? characters : 32767);
}

QString TFloatSpinEdit::textFromValue(double value) const {
    // Shortest text that reads back as the same float.
    return QString::number(static_cast<float>(value), 'g', 7).replace(',', '.');
}

double TFloatSpinEdit::valueFromText(const QString& text) const {
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok ? value : this->value();
}

QValidator::State TFloatSpinEdit::validate(QString& text, int&) const {
    const QString t = text.trimmed();
    if (t.isEmpty() || t == "-" || t == "." || t == "-.") return QValidator::Intermediate;
    bool ok = false;
    const double value = QLocale::c().toDouble(t, &ok);
    if (!ok) {
        // A number still being typed ("1e", "2.") may become one.
        static const QRegularExpression partial("^-?[0-9]*\\.?[0-9]*([eE][-+]?[0-9]*)?$");
        return partial.match(t).hasMatch() ? QValidator::Intermediate : QValidator::Invalid;
    }
    return value >= minimum() && value <= maximum() ? QValidator::Acceptable
                                                    : QValidator::Intermediate;
}

void TFloatSpinEdit::keyPressEvent(QKeyEvent* event) {
    QDoubleSpinBox::keyPressEvent(event);
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) emit returnPressed();
}
