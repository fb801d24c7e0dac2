#pragma once

#include <QObject>

#include "editing/animation_view.h"
#include "editing/object_properties.h"

class QAction;
class QMainWindow;
class QMenu;
class TCommandMenus;
class TJointLimitsForm;
class TKeyInfoForm;
class TKeyframeForm;
class TToolOptionsForm;
class TToolWindowKeeper;
class rgBone;
class rgEditor;

// The editor's tool windows: the Keyframer, Tool Options, Key Info and Joint
// Limits. It makes them, hands each what it shows (the Keyframer's tree is
// the scene's joint tree, the frame controls are the animation view), takes
// the Tool Options side of the main window's tool view, and registers the
// window commands ("Windows.Keyframer", "Windows.ToolOptions",
// "Windows.KeyBrowser").
class TToolWindows : public QObject, public rgAnimationView {
    Q_OBJECT
public:
    // `playback` hears of playback starting and stopping, as before.
    // `keeper` keeps the windows above `main` and in the user's places.
    TToolWindows(QMainWindow& main, rgEditor& editor, rgAnimationView& playback,
                 TToolWindowKeeper& keeper);
    ~TToolWindows() override;

    // Takes the menu items of "&Keyframer Window", "&Tool Options Window"
    // and "Key &Browser" the registry built; the ticks follow the windows.
    void AdoptWindowItems(TCommandMenus& menus);

    // The Tool Options side of the tool view.
    void ShowToolPages(unsigned pages);
    void ShowToolOptionsWindow();
    void ShowObjectProperties(const rgObjectProperties& properties);
    // The Keyframer shows at the Animation level only; "Meshes" follows too.
    void ShowEditLevel(int level);

    // What scripts changed behind the animation commands (for the script
    // view): frames and total frames, keys.
    void FramesChanged();
    void RepaintKeys();

    // rgAnimationView
    void ShowFrame(int frame) override;
    void ShowTotalFrames(int total) override;
    void ShowKeys(bool keyAtCurrentFrame) override;
    void ShowPlaying(bool playing) override;

    TKeyframeForm* Keyframer = nullptr;
    TToolOptionsForm* ToolOptions = nullptr;
    TKeyInfoForm* KeyInfo = nullptr;
    TJointLimitsForm* JointLimits = nullptr;
    QAction* KeyframerWindow1 = nullptr;
    QAction* ToolOptionsWindow1 = nullptr;
    QAction* KeyBrowser1 = nullptr;

private:
    void RegisterCommands();
    void ToggleWindow(QWidget* window);
    // The properties tool's current node when it is a joint.
    rgBone* CurrentJoint() const;

    QMainWindow& main_;
    rgEditor& editor_;
    rgAnimationView& playback_;
    bool optionsPlaced_ = false;
    bool keyframerPlaced_ = false;
};
