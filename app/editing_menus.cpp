#include "app/editing_menus.h"

#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>

#include "app/bind_skin_form.h"
#include "editing/joint_commands.h"
#include "editing/skin_commands.h"
#include "editing/rg_editor.h"
#include "editing/tool_manager.h"

TEditingMenus::TEditingMenus(QMenuBar& bar, rgEditor& editor) : QObject(&bar), editor_(editor) {
    EditMenu = bar.addMenu("&Edit");
    Undo1 = EditMenu->addAction("Can't Undo", this, [this] { editor_.Undo(); });
    Undo1->setObjectName("Undo1");
    Undo1->setShortcut(QKeySequence("Ctrl+Z"));
    Undo1->setEnabled(false);

    SkeletonMenu = bar.addMenu("S&keleton");
    AttachJointsMenu = SkeletonMenu->addAction("Attach Joints");
    AttachJointsMenu->setObjectName("AttachJointsMenu");
    AttachJointsMenu->setCheckable(true);
    connect(AttachJointsMenu, &QAction::triggered, this, [this] {
        editor_.tools().Click(rgToolButton::AttachJoints);
        ShowAttachTick(editor_.tools().IsDown(rgToolButton::AttachJoints));
    });
    DetachJoints =
        SkeletonMenu->addAction("Detach Joints", this, [this] { ::DetachJoints(editor_); });
    DetachJoints->setObjectName("DetachJoints");
    SkeletonMenu->addSeparator();
    BindSkinForm = new TBindSkinForm(bar.window());
    BindSkin1 = SkeletonMenu->addAction("Bind Skin", this, [this] {
        rgBindSkinSettings settings;
        if (BindSkinForm->Ask(settings)) BindSkin(editor_, settings);
    });
    BindSkin1->setObjectName("BindSkin1");
    DetachSkin1 = SkeletonMenu->addAction("Detach Skin", this, [this] { DetachSkin(editor_); });
    DetachSkin1->setObjectName("DetachSkin1");
    SkeletonMenu->addSeparator();
    OrientJoints1 =
        SkeletonMenu->addAction("Auto Orient Joints", this, [this] { AutoOrientJoints(editor_); });
    OrientJoints1->setObjectName("OrientJoints1");
}

void TEditingMenus::ShowUndoItem(bool enabled, const QString& caption) {
    Undo1->setText(caption);
    Undo1->setEnabled(enabled);
}

void TEditingMenus::ShowAttachTick(bool on) {
    const QSignalBlocker quiet(AttachJointsMenu);
    AttachJointsMenu->setChecked(on);
}

void TEditingMenus::ShowLevel(int level) {
    SkeletonMenu->menuAction()->setVisible(level != 1);
}
