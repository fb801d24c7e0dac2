#include "app/main_form.h"

#include "editing/rg_editor.h"

TMainForm::TMainForm(rgEditor& editor, QWidget* parent) : QMainWindow(parent), editor_(editor) {
    // A fresh document, as after File > New.
    rgState& state = editor_.state();
    state.SetFileName("unnamed.rig");
    state.modified = false;
    state.named = false;
    setMinimumWidth(570);
    resize(800, 120);
    editor_.SetDocumentView(this);
    UpdateTitle();
}

TMainForm::~TMainForm() { editor_.SetDocumentView(nullptr); }

void TMainForm::SetTitle(const std::string& title) { setWindowTitle(QString::fromStdString(title)); }

void TMainForm::UpdateTitle() { SetTitle(WindowTitle(editor_.state())); }
