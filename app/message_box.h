#pragma once

#include "scene/user_messages.h"

class QWidget;

// Engine messages as modal OK boxes over the main window.
class TMessageBoxes : public rgUserMessages {
public:
    explicit TMessageBoxes(QWidget* owner) : owner_(owner) {}
    void ShowMessage(const std::string& text) override;
    // In the status bar of the owner (a main window), for ten seconds.
    void ShowStatus(const std::string& text) override;

private:
    QWidget* owner_;
};
