#pragma once

#include <string>

namespace rigmend {

// True when a Qt GUI platform can be expected to start: an explicit
// QT_QPA_PLATFORM, or an X11/Wayland display named in the environment.
bool DisplayNamed(std::string* why);

// Replaces Qt's abort on a display that cannot be opened with one clear line
// on standard error and exit status 1. Call before constructing QApplication;
// RemoveDisplayFailureHandler() restores Qt's handling once it exists.
void InstallDisplayFailureHandler();
void RemoveDisplayFailureHandler();

}  // namespace rigmend
