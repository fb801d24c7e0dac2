#include "app/about_form.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <lua.hpp>

#include "app/dialog_placement.h"

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName("TAboutForm");
    setWindowTitle("About Kinemo");
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 12, 16, 12);
    ProductName = new QLabel(QString("Kinemo %1").arg(kKinemoVersion), this);
    ProductName->setObjectName("ProductName");
    QFont title("Arial");
    title.setPixelSize(24);
    title.setBold(true);
    ProductName->setFont(title);
    column->addWidget(ProductName);
    column->addWidget(new QLabel("Rigging and animation for game characters.", this));
    Libraries = new QLabel(this);
    Libraries->setObjectName("Libraries");
    Libraries->setText(QString("Built on:\n"
                               "  Qt %1 (windows, image files)\n"
                               "  %2 with tolua++ (scripts and plug-ins)\n"
                               "  OpenGL and GLU (viewports)\n"
                               "  DevIL (older image formats)")
                           .arg(qVersion(), LUA_VERSION));
    column->addSpacing(8);
    column->addWidget(Libraries);
    auto* buttons = new QHBoxLayout;
    OkBtn = new QPushButton("Ok", this);
    OkBtn->setObjectName("OkBtn");
    OkBtn->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(OkBtn);
    column->addLayout(buttons);
    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutForm::Execute() {
    CentreOnScreen(*this);
    exec();
}
