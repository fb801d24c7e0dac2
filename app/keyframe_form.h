#pragma once

#include <QDockWidget>

#include "editing/animation_view.h"
#include "editing/key_timeline.h"

class QScrollArea;
class TClipListPanel;
class QSlider;
class QSplitter;
class QToolButton;
class TIntEdit;
class TJointTreeView;
class TKeyTimelineWidget;
class rgEditor;

// "Keyframer": the frame controls, the key commands, the joint tree and the
// time line with one row per tree row and one 8-pixel cell per frame. It
// floats above the main window; closing it only hides it. Its controls work
// at the Animation level (the advanced toggle always); the tree always
// follows the scene.
class TKeyframeForm : public QDockWidget, public rgAnimationView {
    Q_OBJECT
public:
    TKeyframeForm(rgEditor& editor, QWidget* parent);

    // rgAnimationView: the slider, the fields, the time line, Play/Stop.
    void ShowFrame(int frame) override;
    void ShowTotalFrames(int total) override;
    void ShowKeys(bool keyAtCurrentFrame) override;
    void ShowPlaying(bool playing) override;

    // Controls on at the Animation level (1), off at the Objects level.
    void ShowLevel(int level);
    // The advanced view: tree and time line below the slider (on at start).
    void SetAdvanced(bool on);
    bool IsAdvanced() const;
    // Repaints the time line (keys or selection may have changed).
    void RepaintTimeline();
    // Shows the editor state's frames again where they changed without the
    // animation commands (scripts, loaded documents).
    void SyncFromState();

    rgKeyTimeline& Timeline() { return timeline_; }

    QToolButton* FirstFrameBtn = nullptr;
    QToolButton* PrevFrameBtn = nullptr;
    QToolButton* PlayBtn = nullptr;
    QToolButton* StopBtn = nullptr;
    QToolButton* NextFrameBtn = nullptr;
    QToolButton* LastFrameBtn = nullptr;
    QToolButton* SetKeyBtn = nullptr;
    QToolButton* DeleteKeyBtn = nullptr;
    QToolButton* PrevKeyBtn = nullptr;
    QToolButton* NextKeyBtn = nullptr;
    TIntEdit* CurrentFrameEdit = nullptr;
    TIntEdit* TotalFramesEdit = nullptr;
    QToolButton* AdvancedKeyframerBtn = nullptr;
    QSlider* FrameFader = nullptr;
    QWidget* LowerPanel = nullptr;
    QSplitter* Splitter = nullptr;
    TJointTreeView* TreeView = nullptr;
    QScrollArea* TimelineBox = nullptr;
    TKeyTimelineWidget* TimelineView = nullptr;
    TClipListPanel* ClipPanel = nullptr;
    QToolButton* AddKeySelectedBtn = nullptr;
    QToolButton* DeleteKeySelectedBtn = nullptr;
    QToolButton* DelSelKeysBtn = nullptr;
    QToolButton* CopySelBtn = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* Button(const char* name, const char* hint, int glyph);
    void BuildTopBar(QWidget* content);
    void BuildLowerPanel(QWidget* content);
    void FitTimeline();

    rgEditor& editor_;
    rgKeyTimeline timeline_;
    bool keyAtCurrentFrame_ = false;
    int advancedHeight_ = 0;  // the height to go back to
    int level_ = 0;
};
