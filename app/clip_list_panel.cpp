#include "app/clip_list_panel.h"

#include <QHBoxLayout>
#include <QInputDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "editing/clip_commands.h"
#include "editing/rg_editor.h"

namespace {

QToolButton* TextButton(QWidget* parent, const char* name, const char* text, const char* hint) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(hint);
    b->setStatusTip(hint);
    b->setAutoRaise(true);
    return b;
}

}  // namespace

TClipListPanel::TClipListPanel(rgEditor& editor, QWidget* parent)
    : QWidget(parent), editor_(editor) {
    setObjectName("ClipListPanel");
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(1);
    ClipList = new QListWidget(this);
    ClipList->setObjectName("ClipList");
    ClipList->setToolTip("Clips: double click one to play its frames");
    column->addWidget(ClipList, 1);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(0);
    AddClipBtn = TextButton(this, "AddClipBtn", "Add", "Add a clip over the playback range");
    SetClipBtn = TextButton(this, "SetClipBtn", "Set", "Set the clip to the playback range");
    RenameClipBtn = TextButton(this, "RenameClipBtn", "Name", "Rename the clip");
    DeleteClipBtn = TextButton(this, "DeleteClipBtn", "Del", "Delete the clip");
    for (QToolButton* b : {AddClipBtn, SetClipBtn, RenameClipBtn, DeleteClipBtn})
        buttons->addWidget(b);
    buttons->addStretch(1);
    column->addLayout(buttons);

    connect(AddClipBtn, &QToolButton::clicked, this, [this] {
        const int index = AddClipFromPlaybackRange(editor_);
        Refresh();
        ClipList->setCurrentRow(index);
    });
    connect(SetClipBtn, &QToolButton::clicked, this, [this] {
        SetClipToPlaybackRange(editor_, Chosen());
        Refresh();
    });
    connect(RenameClipBtn, &QToolButton::clicked, this, [this] { Rename(); });
    connect(DeleteClipBtn, &QToolButton::clicked, this, [this] {
        DeleteClip(editor_, Chosen());
        Refresh();
    });
    connect(ClipList, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem*) { SelectClip(editor_, Chosen()); });
    connect(ClipList, &QListWidget::currentRowChanged, this, [this](int row) {
        for (QToolButton* b : {SetClipBtn, RenameClipBtn, DeleteClipBtn}) b->setEnabled(row >= 0);
    });
    Refresh();
}

int TClipListPanel::Chosen() const {
    return ClipList->currentRow();
}

void TClipListPanel::Refresh() {
    const std::vector<rgClip>& clips = editor_.scene().Clips();
    const int chosen = Chosen();
    ClipList->clear();
    for (const rgClip& clip : clips)
        ClipList->addItem(QString("%1  %2-%3%4")
                              .arg(QString::fromStdString(clip.name))
                              .arg(clip.first)
                              .arg(clip.last)
                              .arg(clip.loop ? "  (loop)" : ""));
    ClipList->setCurrentRow(std::min(chosen, static_cast<int>(clips.size()) - 1));
    for (QToolButton* b : {SetClipBtn, RenameClipBtn, DeleteClipBtn}) b->setEnabled(Chosen() >= 0);
}

void TClipListPanel::Rename() {
    const int index = Chosen();
    if (index < 0) return;
    bool ok = false;
    const QString name = QInputDialog::getText(
        this, "Rename Clip", "Name:", QLineEdit::Normal,
        QString::fromStdString(editor_.scene().Clips()[static_cast<size_t>(index)].name), &ok);
    if (!ok) return;
    const std::string problem = RenameClip(editor_, index, name.trimmed().toStdString());
    if (!problem.empty())
        QMessageBox::warning(this, "Rename Clip",
                             QString::fromStdString("The clip keeps its name: " + problem + "."));
    Refresh();
}
