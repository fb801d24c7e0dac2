#include "app/tool_windows.h"

#include <QAction>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QScreen>
#include <QSignalBlocker>

#include "app/command_menus.h"
#include "app/joint_limits_form.h"
#include "app/key_info_form.h"
#include "app/keyframe_form.h"
#include "app/key_timeline_view.h"
#include "app/tool_options_form.h"
#include "app/tool_window_keeper.h"
#include "editing/animation_control.h"
#include "editing/rg_editor.h"
#include "editing/rg_object_prop.h"
#include "editing/tool_manager.h"
#include "scene/rg_bone.h"
#include "scene/rg_scene.h"

namespace {

const char* const kKeyframerId = "Windows.Keyframer";
const char* const kToolOptionsId = "Windows.ToolOptions";
const char* const kKeyBrowserId = "Windows.KeyBrowser";

// A dock window that floats from the start and cannot be docked.
void Float(QMainWindow& main, QDockWidget& dock) {
    main.addDockWidget(Qt::BottomDockWidgetArea, &dock);
    dock.setFloating(true);
    dock.hide();
}

}  // namespace

TToolWindows::TToolWindows(QMainWindow& main, rgEditor& editor, rgAnimationView& playback,
                           TToolWindowKeeper& keeper)
    : QObject(&main), main_(main), editor_(editor), playback_(playback) {
    Keyframer = new TKeyframeForm(editor_, &main);
    ToolOptions = new TToolOptionsForm(editor_, &main);
    KeyInfo = new TKeyInfoForm(editor_, &main);
    JointLimits = new TJointLimitsForm(&main);
    Float(main, *Keyframer);
    Float(main, *ToolOptions);
    keyframerPlaced_ = keeper.Keep(*Keyframer, "Keyframer");
    optionsPlaced_ = keeper.Keep(*ToolOptions, "Tool Options");
    keeper.Keep(*KeyInfo, "Key Info");
    keeper.Keep(*JointLimits, "Joint Limits");

    // The Keyframer's tree is the scene's joint tree from now on.
    editor_.context.SetJointTree(Keyframer->TreeView);
    Keyframer->TreeView->Reset();
    editor_.scene().RebuildTree();
    editor_.scene().RestoreTreeExpansion();
    editor_.animation().SetView(this);

    ToolOptions->onJointLimits = [this] { JointLimits->Edit(CurrentJoint()); };
    ToolOptions->onKeyInfo = [this] {
        if (rgBone* joint = CurrentJoint()) KeyInfo->Open(joint);
    };
    ToolOptions->onWeightDisplayChanged = [this] { Keyframer->RepaintTimeline(); };
    RegisterCommands();
}

TToolWindows::~TToolWindows() {
    editor_.context.SetJointTree(nullptr);
    // The commands outlive the windows in the registry: they go quiet.
    for (const char* id : {kKeyframerId, kToolOptionsId, kKeyBrowserId})
        if (const rgCommand* c = editor_.commands.Find(id))
            editor_.commands.Add(
                {c->id, c->caption, c->shortcut, c->undoLabel, nullptr, nullptr, nullptr});
    delete JointLimits;
    delete KeyInfo;
    delete ToolOptions;
    delete Keyframer;
}

rgBone* TToolWindows::CurrentJoint() const {
    return ToBone(editor_.tools().objectProp().CurrentNode());
}

void TToolWindows::RegisterCommands() {
    rgCommandRegistry& commands = editor_.commands;
    commands.Add({kKeyframerId, "&Keyframer Window", "", "", [this] { ToggleWindow(Keyframer); },
                  nullptr, [this] { return Keyframer->isVisible(); }});
    commands.Add({kToolOptionsId, "&Tool Options Window", "", "",
                  [this] { ToggleWindow(ToolOptions); }, nullptr,
                  [this] { return ToolOptions->isVisible(); }});
    commands.Add({kKeyBrowserId, "Key &Browser", "", "", [this] { KeyInfo->Open(nullptr); },
                  nullptr, nullptr});
}

void TToolWindows::AdoptWindowItems(TCommandMenus& menus) {
    const auto item = [&](const char* id, const char* name, QDockWidget* window) {
        QAction* action = menus.Action(id);
        if (!action) return action;
        action->setObjectName(name);
        if (window) {
            // The tick follows the window, also when its close box hides it.
            connect(window, &QDockWidget::visibilityChanged, action, [action, window] {
                const QSignalBlocker quiet(action);
                action->setCheckable(true);
                action->setChecked(window->isVisible());
            });
        }
        return action;
    };
    KeyframerWindow1 = item(kKeyframerId, "KeyframerWindow1", Keyframer);
    ToolOptionsWindow1 = item(kToolOptionsId, "ToolOptionsWindow1", ToolOptions);
    KeyBrowser1 = item(kKeyBrowserId, "KeyBrowser1", nullptr);
    menus.Refresh();  // the items were placeholders until now
}

void TToolWindows::ToggleWindow(QWidget* window) {
    if (window->isVisible()) {
        window->hide();
        return;
    }
    if (window == ToolOptions)
        ShowToolOptionsWindow();
    else
        window->show();
}

void TToolWindows::ShowToolPages(unsigned pages) {
    ToolOptions->ShowPages(pages);
}

void TToolWindows::ShowToolOptionsWindow() {
    if (!optionsPlaced_) {
        ToolOptions->PlaceBeside(main_);
        optionsPlaced_ = true;
    }
    ToolOptions->show();
    ToolOptions->raise();
}

void TToolWindows::ShowObjectProperties(const rgObjectProperties& properties) {
    ToolOptions->ShowObjectProperties(properties);
}

void TToolWindows::ShowEditLevel(int level) {
    ToolOptions->ShowLevel(level);
    Keyframer->ShowLevel(level);
    if (level == kEditAnimation) {
        if (!keyframerPlaced_) {
            const QRect frame = main_.frameGeometry();
            Keyframer->move(frame.left() + 40, frame.bottom() - Keyframer->height() - 40);
            keyframerPlaced_ = true;
        }
        Keyframer->show();
        Keyframer->raise();
    } else {
        Keyframer->hide();
    }
}

void TToolWindows::FramesChanged() {
    Keyframer->SyncFromState();
}

void TToolWindows::RepaintKeys() {
    editor_.animation().KeysChanged();
}

void TToolWindows::ShowFrame(int frame) {
    Keyframer->ShowFrame(frame);
}

void TToolWindows::ShowTotalFrames(int total) {
    Keyframer->ShowTotalFrames(total);
}

void TToolWindows::ShowKeys(bool keyAtCurrentFrame) {
    Keyframer->ShowKeys(keyAtCurrentFrame);
}

void TToolWindows::ShowPlaying(bool playing) {
    Keyframer->ShowPlaying(playing);
    playback_.ShowPlaying(playing);
}
