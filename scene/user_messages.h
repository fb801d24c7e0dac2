#pragma once

#include <string>

// Message boxes the engine shows the user (an OK box). The editor shows a
// dialog; runs without a window print to standard error.
class rgUserMessages {
public:
    virtual ~rgUserMessages() = default;
    virtual void ShowMessage(const std::string& text);
    // A short report of what a command did, where the user looks without
    // being stopped (the editor's status bar). Runs without a window keep quiet.
    virtual void ShowStatus(const std::string& text) { (void)text; }
};
