#pragma once

#include <string>

// Message boxes the engine shows the user (an OK box). The editor shows a
// dialog; runs without a window print to standard error.
class rgUserMessages {
public:
    virtual ~rgUserMessages() = default;
    virtual void ShowMessage(const std::string& text);
};
