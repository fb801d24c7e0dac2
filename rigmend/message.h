#pragma once

#include <string>

namespace rigmend {

// A message for the user: a message box in the window, a line on standard
// error on the command line.
struct Message {
    std::string title;
    std::string text;
};

inline bool operator==(const Message& a, const Message& b) {
    return a.title == b.title && a.text == b.text;
}

// Shows messages; the window's message boxes and the tests' recorders.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void Show(const Message& message) = 0;
};

}  // namespace rigmend
