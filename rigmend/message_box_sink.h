#pragma once

#include "rigmend/message.h"

class QWidget;

namespace rigmend {

// Shows each message in a modal message box with an OK button.
class MessageBoxSink : public MessageSink {
public:
    void SetParent(QWidget* parent) { parent_ = parent; }
    void Show(const Message& message) override;

private:
    QWidget* parent_ = nullptr;
};

}  // namespace rigmend
