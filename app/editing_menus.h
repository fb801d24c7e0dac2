#pragma once

#include <QObject>

class QAction;
class QMenu;
class QMenuBar;
class TBindSkinForm;
class rgEditor;

// The "&Edit" menu's Undo item and the "S&keleton" menu. Each item calls
// its engine operation; "Bind Skin" asks for its settings first.
class TEditingMenus : public QObject {
    Q_OBJECT
public:
    TEditingMenus(QMenuBar& bar, rgEditor& editor);

    // The Undo item follows the undo stack.
    void ShowUndoItem(bool enabled, const QString& caption);
    // "Attach Joints" carries its tick while its tool is on.
    void ShowAttachTick(bool on);
    void ShowLevel(int level);

    QMenu* EditMenu = nullptr;
    QMenu* SkeletonMenu = nullptr;
    QAction* Undo1 = nullptr;
    QAction* AttachJointsMenu = nullptr;
    QAction* DetachJoints = nullptr;
    QAction* BindSkin1 = nullptr;
    QAction* DetachSkin1 = nullptr;
    QAction* OrientJoints1 = nullptr;
    // Made once, so it keeps its values between uses.
    TBindSkinForm* BindSkinForm = nullptr;

private:
    rgEditor& editor_;
};
