#include "widgets/int_edit.h"

#include <QRegularExpressionValidator>
#include <algorithm>
#include <climits>

TIntEdit::TIntEdit(QWidget* parent) : QLineEdit(parent) {
    setValidator(new QRegularExpressionValidator(QRegularExpression("-?[0-9]{0,12}"), this));
    connect(this, &QLineEdit::returnPressed, this, [this] {
        const QString t = text().trimmed();
        if (!t.isEmpty() && t != "-") emit entered(Value());
    });
}

int TIntEdit::Value(int fallback) const {
    bool ok = false;
    const qlonglong v = text().trimmed().toLongLong(&ok);
    if (!ok) return fallback;
    return static_cast<int>(std::clamp<qlonglong>(v, INT_MIN, INT_MAX));
}

void TIntEdit::SetValue(int value) {
    setText(QString::number(value));
}
