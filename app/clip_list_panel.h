#pragma once

#include <QWidget>

class QListWidget;
class QToolButton;
class rgEditor;

// The Keyframer's clip list: one row a clip ("Walk  1-24"); a double click
// selects the clip (its frames become the playback range); the buttons add
// a clip over the playback range, set the chosen clip to it, rename and
// delete. The buttons only call the clip commands.
class TClipListPanel : public QWidget {
    Q_OBJECT
public:
    TClipListPanel(rgEditor& editor, QWidget* parent);

    // Shows the scene's clips again (after any change, undo or load).
    void Refresh();

    QListWidget* ClipList = nullptr;
    QToolButton* AddClipBtn = nullptr;
    QToolButton* SetClipBtn = nullptr;
    QToolButton* RenameClipBtn = nullptr;
    QToolButton* DeleteClipBtn = nullptr;

private:
    int Chosen() const;
    void Rename();

    rgEditor& editor_;
};
