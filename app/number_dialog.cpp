#include "app/number_dialog.h"

#include <QInputDialog>
#include <QLocale>

double GetFloat(QWidget* parent, double initial, const QString& caption) {
    QInputDialog dialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    dialog.setObjectName("TGetFloatForm");
    dialog.setLocale(QLocale::c());
    dialog.setWindowTitle(caption);
    dialog.setLabelText("");
    dialog.setInputMode(QInputDialog::DoubleInput);
    dialog.setDoubleRange(-1e9, 1e9);
    dialog.setDoubleDecimals(4);
    dialog.setDoubleStep(1.0);
    dialog.setDoubleValue(initial);
    dialog.setOkButtonText("Ok");
    dialog.setCancelButtonText("Cancel");
    return dialog.exec() == QDialog::Accepted ? dialog.doubleValue() : initial;
}
