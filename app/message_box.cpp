#include "app/message_box.h"

#include <QApplication>
#include <QMessageBox>

void TMessageBoxes::ShowMessage(const std::string& text) {
    QMessageBox::information(owner_, QApplication::applicationName(), QString::fromStdString(text));
}
