#include "app/keyframe_form.h"

#include "app/clip_list_panel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/key_timeline_view.h"
#include "editing/animation_control.h"
#include "editing/joint_tree_commands.h"
#include "editing/key_commands.h"
#include "editing/rg_editor.h"
#include "scene/rg_bone.h"
#include "scene/rg_scene.h"
#include "widgets/int_edit.h"

namespace {

constexpr int kButtonSize = 23;
constexpr int kTreeWidth = 152;
constexpr int kKeyColumnWidth = 26;
constexpr int kMinWidth = 359;
constexpr int kAdvancedMinHeight = 198;
constexpr int kSimpleHeight = 85;

enum Glyph {
    kFirst,
    kPrev,
    kPlay,
    kStop,
    kNext,
    kLast,
    kSetKey,
    kDeleteKey,
    kPrevKey,
    kNextKey,
    kAdvanced,
    kKeySelected,
    kDeleteKeySelected,
    kDeleteSelection,
    kMove,
    kCopy
};

void Triangle(QPainter& p, qreal x, qreal y, qreal w, qreal h, bool right) {
    QPainterPath path;
    path.moveTo(right ? x : x + w, y);
    path.lineTo(right ? x + w : x, y + h / 2);
    path.lineTo(right ? x : x + w, y + h);
    path.closeSubpath();
    p.fillPath(path, p.brush());
}

void Diamond(QPainter& p, qreal cx, qreal cy, qreal r, const QColor& fill) {
    QPainterPath path;
    path.moveTo(cx, cy - r);
    path.lineTo(cx + r, cy);
    path.lineTo(cx, cy + r);
    path.lineTo(cx - r, cy);
    path.closeSubpath();
    p.fillPath(path, fill);
    p.save();
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.restore();
}

void Cross(QPainter& p, qreal x, qreal y) {
    p.setPen(QPen(Qt::black, 1.6));
    p.drawLine(QPointF(x - 3, y - 3), QPointF(x + 3, y + 3));
    p.drawLine(QPointF(x - 3, y + 3), QPointF(x + 3, y - 3));
}

QIcon GlyphIcon(int glyph) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::black);
    p.setBrush(Qt::black);
    const QColor key(220, 0, 0);
    switch (glyph) {
        case kFirst:
            p.fillRect(QRectF(3, 3, 2, 10), Qt::black);
            Triangle(p, 5, 3, 8, 10, false);
            break;
        case kPrev:
            Triangle(p, 4, 3, 8, 10, false);
            break;
        case kPlay:
            p.setBrush(QColor(0, 128, 0));
            Triangle(p, 4, 2, 9, 12, true);
            break;
        case kStop:
            p.fillRect(QRectF(4, 4, 8, 8), Qt::black);
            break;
        case kNext:
            Triangle(p, 4, 3, 8, 10, true);
            break;
        case kLast:
            Triangle(p, 3, 3, 8, 10, true);
            p.fillRect(QRectF(11, 3, 2, 10), Qt::black);
            break;
        case kSetKey:
            Diamond(p, 8, 8, 6, key);
            break;
        case kDeleteKey:
            Diamond(p, 8, 8, 6, QColor(192, 192, 192));
            Cross(p, 8, 8);
            break;
        case kPrevKey:
            Triangle(p, 1, 4, 6, 8, false);
            Diamond(p, 11, 8, 4.5, key);
            break;
        case kNextKey:
            Diamond(p, 5, 8, 4.5, key);
            Triangle(p, 9, 4, 6, 8, true);
            break;
        case kAdvanced:
            p.drawRect(QRectF(2.5, 2.5, 11, 11));
            p.fillRect(QRectF(4, 7, 3, 2), key);
            p.fillRect(QRectF(8, 7, 2, 2), key);
            p.fillRect(QRectF(6, 10, 5, 2), key);
            break;
        case kKeySelected:
            Diamond(p, 7, 8, 5, key);
            p.setPen(QPen(Qt::blue, 1.5));
            p.drawLine(QPointF(12, 9), QPointF(12, 15));
            p.drawLine(QPointF(9, 12), QPointF(15, 12));
            break;
        case kDeleteKeySelected:
            Diamond(p, 7, 8, 5, QColor(192, 192, 192));
            p.setPen(QPen(Qt::blue, 1.5));
            p.drawLine(QPointF(9, 12), QPointF(15, 12));
            break;
        case kDeleteSelection:
            p.setPen(QPen(QColor(200, 160, 0), 1, Qt::DashLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(1.5, 3.5, 13, 9));
            Cross(p, 8, 8);
            break;
        case kMove:
            p.setPen(QPen(Qt::black, 1.5));
            p.drawLine(QPointF(2, 8), QPointF(14, 8));
            Triangle(p, 10, 4, 5, 8, true);
            p.fillRect(QRectF(2, 4, 3, 8), key);
            break;
        case kCopy:
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(1.5, 1.5, 8, 8));
            p.fillRect(QRectF(6, 6, 9, 9), Qt::white);
            p.drawRect(QRectF(6.5, 6.5, 8, 8));
            p.fillRect(QRectF(9, 9, 3, 3), key);
            break;
    }
    return QIcon(pixmap);
}

}  // namespace

TKeyframeForm::TKeyframeForm(rgEditor& editor, QWidget* parent)
    : QDockWidget("Keyframer", parent), editor_(editor), timeline_(editor) {
    setObjectName("TKeyframeForm");
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                QDockWidget::DockWidgetFloatable);
    setAllowedAreas(Qt::NoDockWidgetArea);
    auto* content = new QWidget(this);
    content->setMinimumWidth(kMinWidth);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(4);
    BuildTopBar(content);
    BuildLowerPanel(content);
    setWidget(content);

    const rgState& state = editor_.state();
    ShowTotalFrames(state.totalFrames);
    ShowFrame(state.currentFrame);
    ShowKeys(false);
    ShowPlaying(false);
    ShowLevel(state.editLevel);
    SetAdvanced(true);
    resize(640, 260);
}

QToolButton* TKeyframeForm::Button(const char* name, const char* hint, int glyph) {
    auto* button = new QToolButton(widget());
    button->setObjectName(name);
    button->setIcon(GlyphIcon(glyph));
    button->setIconSize(QSize(16, 16));
    button->setFixedSize(kButtonSize, kButtonSize);
    button->setAutoRaise(true);
    if (hint) {
        button->setToolTip(hint);
        button->setStatusTip(hint);
    }
    return button;
}

void TKeyframeForm::BuildTopBar(QWidget* content) {
    rgAnimationControl& animation = editor_.animation();
    FirstFrameBtn = Button("FirstFrameBtn", "Go to first frame", kFirst);
    PrevFrameBtn = Button("PrevFrameBtn", "Go to previous frame", kPrev);
    PlayBtn = Button("PlayBtn", "Play", kPlay);
    StopBtn = Button("StopBtn", "Stop", kStop);
    NextFrameBtn = Button("NextFrameBtn", "Go to next frame", kNext);
    LastFrameBtn = Button("LastFrameBtn", "Go to last frame", kLast);
    SetKeyBtn = Button("SetKeyBtn", "Set keyframe", kSetKey);
    DeleteKeyBtn = Button("DeleteKeyBtn", "Delete keyframe", kDeleteKey);
    PrevKeyBtn = Button("PrevKeyBtn", "Go to previous keyframe", kPrevKey);
    NextKeyBtn = Button("NextKeyBtn", "Go to next keyframe", kNextKey);
    connect(FirstFrameBtn, &QToolButton::clicked, this, [&animation] { animation.FirstFrame(); });
    connect(PrevFrameBtn, &QToolButton::clicked, this, [&animation] { animation.PreviousFrame(); });
    connect(PlayBtn, &QToolButton::clicked, this, [&animation] { animation.Play(); });
    connect(StopBtn, &QToolButton::clicked, this, [&animation] { animation.Stop(); });
    connect(NextFrameBtn, &QToolButton::clicked, this, [&animation] { animation.NextFrame(); });
    connect(LastFrameBtn, &QToolButton::clicked, this, [&animation] { animation.LastFrame(); });
    connect(SetKeyBtn, &QToolButton::clicked, this,
            [this] { editor_.commands.Run("Animation.SetKeyframe"); });
    connect(DeleteKeyBtn, &QToolButton::clicked, this,
            [this] { editor_.commands.Run("Animation.DeleteKeyframe"); });
    connect(PrevKeyBtn, &QToolButton::clicked, this, [&animation] { animation.PreviousKey(); });
    connect(NextKeyBtn, &QToolButton::clicked, this, [&animation] { animation.NextKey(); });

    CurrentFrameEdit = new TIntEdit(content);
    CurrentFrameEdit->setObjectName("CurrentFrameEdit");
    CurrentFrameEdit->setToolTip("Current frame");
    CurrentFrameEdit->setStatusTip("Current frame");
    CurrentFrameEdit->setFixedWidth(44);
    connect(CurrentFrameEdit, &TIntEdit::entered, this,
            [&animation](int frame) { animation.EnterCurrentFrame(frame); });
    TotalFramesEdit = new TIntEdit(content);
    TotalFramesEdit->setObjectName("TotalFramesEdit");
    TotalFramesEdit->setToolTip("Total frames");
    TotalFramesEdit->setStatusTip("Total frames");
    TotalFramesEdit->setFixedWidth(44);
    connect(TotalFramesEdit, &TIntEdit::entered, this,
            [&animation](int frames) { animation.EnterTotalFrames(frames); });

    AdvancedKeyframerBtn = Button("AdvancedKeyframerBtn", "Toggle advanced keyframer", kAdvanced);
    AdvancedKeyframerBtn->setCheckable(true);
    connect(AdvancedKeyframerBtn, &QToolButton::toggled, this,
            [this](bool on) { SetAdvanced(on); });

    auto* bar = new QHBoxLayout;
    bar->setSpacing(0);
    for (QWidget* w : std::initializer_list<QWidget*>{FirstFrameBtn, PrevFrameBtn, PlayBtn, StopBtn,
                                                      NextFrameBtn, LastFrameBtn, SetKeyBtn,
                                                      DeleteKeyBtn, PrevKeyBtn, NextKeyBtn})
        bar->addWidget(w);
    bar->addSpacing(4);
    bar->addWidget(CurrentFrameEdit);
    bar->addSpacing(2);
    bar->addWidget(TotalFramesEdit);
    bar->addStretch(1);
    bar->addWidget(AdvancedKeyframerBtn);
    static_cast<QVBoxLayout*>(content->layout())->addLayout(bar);

    FrameFader = new QSlider(Qt::Horizontal, content);
    FrameFader->setObjectName("FrameFader");
    FrameFader->setTickPosition(QSlider::TicksBelow);
    FrameFader->setMinimum(1);
    connect(FrameFader, &QSlider::valueChanged, this,
            [&animation](int frame) { animation.GoToFrame(frame); });
    content->layout()->addWidget(FrameFader);
}

void TKeyframeForm::BuildLowerPanel(QWidget* content) {
    LowerPanel = new QWidget(content);
    LowerPanel->setObjectName("LowerPanel");
    auto* row = new QHBoxLayout(LowerPanel);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);

    Splitter = new QSplitter(Qt::Horizontal, LowerPanel);
    ClipPanel = new TClipListPanel(editor_, Splitter);
    TreeView = new TJointTreeView(Splitter);
    TimelineBox = new QScrollArea(Splitter);
    TimelineBox->setObjectName("TimelineBox");
    TimelineBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    TimelineBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    TimelineBox->setWidgetResizable(false);
    TimelineView = new TKeyTimelineWidget(editor_, timeline_);
    TimelineView->rows = [this] { return TreeView->ShownRows(); };
    TimelineView->onStaleWidth = [this] {
        QMetaObject::invokeMethod(this, &TKeyframeForm::SyncFromState, Qt::QueuedConnection);
    };
    TimelineBox->setWidget(TimelineView);
    TimelineBox->viewport()->installEventFilter(this);
    Splitter->addWidget(ClipPanel);
    Splitter->addWidget(TreeView);
    Splitter->addWidget(TimelineBox);
    Splitter->setStretchFactor(2, 1);
    Splitter->setSizes({kTreeWidth, kTreeWidth, 400});
    row->addWidget(Splitter, 1);

    auto* keyColumn = new QVBoxLayout;
    keyColumn->setSpacing(1);
    AddKeySelectedBtn =
        Button("AddKeySelectedBtn", "Set keyframe on selected joints only", kKeySelected);
    DeleteKeySelectedBtn = Button("DeleteKeySelectedBtn",
                                  "Delete keyframe from selected joints only", kDeleteKeySelected);
    DelSelKeysBtn = Button("DelSelKeysBtn", "Delete selected keyframes", kDeleteSelection);
    CopySelBtn = Button("CopySelBtn", "Toggle move/copy keyframes", kMove);
    CopySelBtn->setCheckable(true);
    for (QToolButton* b : {AddKeySelectedBtn, DeleteKeySelectedBtn, DelSelKeysBtn, CopySelBtn})
        keyColumn->addWidget(b);
    keyColumn->addStretch(1);
    auto* keyPanel = new QWidget(LowerPanel);
    keyPanel->setFixedWidth(kKeyColumnWidth);
    keyPanel->setLayout(keyColumn);
    keyColumn->setContentsMargins(0, 0, 0, 0);
    row->addWidget(keyPanel);
    content->layout()->addWidget(LowerPanel);

    connect(AddKeySelectedBtn, &QToolButton::clicked, this,
            [this] { editor_.commands.Run("Animation.SetKeyframeSelected"); });
    connect(DeleteKeySelectedBtn, &QToolButton::clicked, this,
            [this] { editor_.commands.Run("Animation.DeleteKeyframeSelected"); });
    connect(DelSelKeysBtn, &QToolButton::clicked, this, [this] {
        DeleteKeyframes(editor_, timeline_.SelectedBlock());
        RepaintTimeline();
    });
    connect(CopySelBtn, &QToolButton::toggled, this, [this](bool copy) {
        timeline_.copyMode = copy;
        CopySelBtn->setIcon(GlyphIcon(copy ? kCopy : kMove));
    });

    TreeView->onRowsChanged = [this] { RepaintTimeline(); };
    TreeView->onSelectionChanged = [this](const std::vector<rgBone*>& joints) {
        SelectJointsFromTree(editor_, joints);
        RepaintTimeline();
    };
    TreeView->onRowReleased = [this](rgBone* joint) {
        TreeMouseUp(editor_, joint);
        RepaintTimeline();
    };
    TreeView->onRenamed = [](rgBone* joint, const std::string& name) { joint->SetName(name); };
}

bool TKeyframeForm::eventFilter(QObject* watched, QEvent* event) {
    // A resized window starts without a key selection.
    if (watched == TimelineBox->viewport() && event->type() == QEvent::Resize) {
        timeline_.ClearSelection();
        FitTimeline();
    }
    return QDockWidget::eventFilter(watched, event);
}

void TKeyframeForm::FitTimeline() {
    TimelineView->FitTo(TimelineBox->viewport()->height());
    TimelineView->update();
}

void TKeyframeForm::RepaintTimeline() {
    TimelineView->update();
}

void TKeyframeForm::SyncFromState() {
    const rgState& state = editor_.state();
    if (FrameFader->maximum() != state.totalFrames || TimelineView->width() != timeline_.Width())
        ShowTotalFrames(state.totalFrames);
    if (FrameFader->value() != state.currentFrame) ShowFrame(state.currentFrame);
    ClipPanel->Refresh();
    RepaintTimeline();
}

void TKeyframeForm::ShowFrame(int frame) {
    {
        const QSignalBlocker quiet(FrameFader);
        FrameFader->setValue(frame);
    }
    CurrentFrameEdit->SetValue(frame);
    RepaintTimeline();
}

void TKeyframeForm::ShowTotalFrames(int total) {
    {
        const QSignalBlocker quiet(FrameFader);
        FrameFader->setMaximum(std::max(total, 1));
        FrameFader->setTickInterval(std::max(1, total / 10));
    }
    TotalFramesEdit->SetValue(total);
    timeline_.ClearSelection();
    FitTimeline();
}

void TKeyframeForm::ShowKeys(bool keyAtCurrentFrame) {
    keyAtCurrentFrame_ = keyAtCurrentFrame;
    DeleteKeyBtn->setEnabled(keyAtCurrentFrame && level_ == kEditAnimation);
    ClipPanel->Refresh();
    RepaintTimeline();
}

void TKeyframeForm::ShowPlaying(bool playing) {
    PlayBtn->setVisible(!playing);
    StopBtn->setVisible(playing);
    RepaintTimeline();
}

void TKeyframeForm::ShowLevel(int level) {
    level_ = level;
    const bool on = level == kEditAnimation;
    for (QWidget* w : std::initializer_list<QWidget*>{
             FirstFrameBtn, PrevFrameBtn, PlayBtn, StopBtn, NextFrameBtn, LastFrameBtn, SetKeyBtn,
             PrevKeyBtn, NextKeyBtn, CurrentFrameEdit, TotalFramesEdit, FrameFader, TimelineView,
             AddKeySelectedBtn, DeleteKeySelectedBtn, DelSelKeysBtn, CopySelBtn})
        w->setEnabled(on);
    DeleteKeyBtn->setEnabled(on && keyAtCurrentFrame_);
    if (!on) timeline_.ClearSelection();
    RepaintTimeline();
}

bool TKeyframeForm::IsAdvanced() const {
    return !LowerPanel->isHidden();
}

void TKeyframeForm::SetAdvanced(bool on) {
    {
        const QSignalBlocker quiet(AdvancedKeyframerBtn);
        AdvancedKeyframerBtn->setChecked(on);
    }
    QWidget* content = widget();
    if (!on && !LowerPanel->isHidden()) advancedHeight_ = content->height();
    LowerPanel->setVisible(on);
    if (on) {
        content->setMinimumHeight(kAdvancedMinHeight);
        content->setMaximumHeight(QWIDGETSIZE_MAX);
        content->resize(content->width(), std::max(advancedHeight_, kAdvancedMinHeight));
    } else {
        content->setFixedHeight(kSimpleHeight);
    }
    adjustSize();
}
