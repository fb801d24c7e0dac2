#pragma once

#include <QMainWindow>

struct rgState;

// The editor's main window.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(rgState& state, QWidget* parent = nullptr);

    // "Kinemo - " + document name, with "*" once the document is modified.
    void UpdateTitle();

private:
    rgState& state_;
};
