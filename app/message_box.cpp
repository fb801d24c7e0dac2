#include "app/message_box.h"

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>

void TMessageBoxes::ShowMessage(const std::string& text) {
    QMessageBox::information(owner_, QApplication::applicationName(), QString::fromStdString(text));
}

void TMessageBoxes::ShowStatus(const std::string& text) {
    if (auto* main = qobject_cast<QMainWindow*>(owner_))
        main->statusBar()->showMessage(QString::fromStdString(text), 10000);
}
