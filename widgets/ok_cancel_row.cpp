#include "widgets/ok_cancel_row.h"

#include <QBoxLayout>
#include <QDialog>
#include <QPushButton>

void AddOkCancelRow(QDialog& dialog, QBoxLayout& column, QPushButton*& ok, QPushButton*& cancel) {
    auto* buttons = new QHBoxLayout;
    ok = new QPushButton("Ok", &dialog);
    ok->setDefault(true);
    cancel = new QPushButton("Cancel", &dialog);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    column.addLayout(buttons);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
}
