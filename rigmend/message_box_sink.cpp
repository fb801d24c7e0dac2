#include "rigmend/message_box_sink.h"

#include <QMessageBox>
#include <QString>

namespace rigmend {

void MessageBoxSink::Show(const Message& message) {
    const bool done = message.title == "Done!";
    QMessageBox box(done ? QMessageBox::Information : QMessageBox::Warning,
                    QString::fromStdString(message.title), QString::fromStdString(message.text),
                    QMessageBox::Ok, parent_);
    box.exec();
}

}  // namespace rigmend
