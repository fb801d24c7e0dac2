#pragma once

#include <QMainWindow>

#include "editing/document_view.h"

class rgEditor;

// The editor's main window.
class TMainForm : public QMainWindow, public rgDocumentView {
    Q_OBJECT
public:
    explicit TMainForm(rgEditor& editor, QWidget* parent = nullptr);
    ~TMainForm() override;

    // rgDocumentView
    void SetTitle(const std::string& title) override;

    // Shows the document name, with "*" once the document is modified.
    void UpdateTitle();

private:
    rgEditor& editor_;
};
