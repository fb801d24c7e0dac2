#pragma once

#include <vector>

#include "scene/rg_clip.h"

#include <QColor>
#include <QFont>
#include <QTreeWidget>
#include <QWidget>
#include <functional>
#include <unordered_map>

#include "scene/joint_tree.h"

class QPainter;
class rgEditor;
class rgKeyTimeline;
struct rgState;

// The Keyframer's joint tree: a "Scene" row and one row per joint, nested
// like the skeleton, as the engine builds it. 16-pixel rows, several rows
// may be selected, joints are renamed in place. Changes the engine makes
// (while it suspends change handling) are not reported back as the user's.
class TJointTreeView : public QTreeWidget, public rgJointTree {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 16;

    explicit TJointTreeView(QWidget* parent = nullptr);

    // rgJointTree
    void Reset() override;
    void RemoveAllItems() override;
    void AddItem(rgBone* joint, rgBone* parentJoint, const std::string& caption,
                 bool selected) override;
    void RemoveItem(const rgSceneNode* joint) override;
    bool HasItem(const rgSceneNode* joint) const override;
    void SetItemCaption(const rgSceneNode* joint, const std::string& caption) override;
    void SetItemSelected(const rgSceneNode* joint, bool selected) override;
    bool IsItemExpanded(const rgSceneNode* joint) const override;
    void ExpandItem(const rgSceneNode* joint) override;
    void ExpandRootItem() override;
    void SetChangeHandlingSuspended(bool suspended) override;

    QTreeWidgetItem* RootItem() const { return root_; }
    QTreeWidgetItem* ItemOf(const rgSceneNode* joint) const;
    static rgBone* JointOf(const QTreeWidgetItem* item);
    // The rows shown from the top of the view down to the last expanded row
    // (null: the "Scene" row).
    std::vector<rgBone*> ShownRows() const;
    // The joints of the selected rows.
    std::vector<rgBone*> SelectedJoints() const;
    bool IsRebuilding() const { return suspended_; }

    // The user changed the selection (not the program).
    std::function<void(const std::vector<rgBone*>& selected)> onSelectionChanged;
    // A mouse button went up over a row (joint null: "Scene" or no row).
    std::function<void(rgBone* joint)> onRowReleased;
    // The user renamed a joint's row.
    std::function<void(rgBone* joint, const std::string& name)> onRenamed;
    // Rows were added, removed, selected, folded or scrolled: the time line
    // follows.
    std::function<void()> onRowsChanged;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void Forget(QTreeWidgetItem* item);
    void RowsChanged();

    QTreeWidgetItem* root_ = nullptr;
    std::unordered_map<const rgSceneNode*, QTreeWidgetItem*> items_;
    bool suspended_ = false;
    int quiet_ = 0;  // changes the view makes itself
};

// The Keyframer's time line: cells of keys per shown tree row, the ruler
// with the playback range, the key selection. It hands the mouse to the
// engine's rgKeyTimeline and paints what that reports; only the area that
// needs it is painted.
class TKeyTimelineWidget : public QWidget {
    Q_OBJECT
public:
    TKeyTimelineWidget(rgEditor& editor, rgKeyTimeline& timeline, QWidget* parent = nullptr);

    // Where the rows come from (the joint tree).
    std::function<std::vector<rgBone*>()> rows;
    // A paint found the widget narrower or wider than the time line (the
    // frame count changed behind the window's back).
    std::function<void()> onStaleWidth;
    // Fits the widget to the time line's width and the given height.
    void FitTo(int visibleHeight);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void TakeRows();
    void ShowCursorAt(int x, int y);

    rgEditor& editor_;
    rgKeyTimeline& timeline_;
};

// Paints `area` of the time line: the ruler row, a row of cells per joint
// row, the selection and whatever is being dragged, and the button-face
// colour around them.
void PaintKeyTimeline(QPainter& painter, const QRect& area, const rgKeyTimeline& timeline,
                      const rgState& state, const QColor& buttonFace, const QFont& numberFont,
                      const std::vector<rgClip>& clips = {});

// Courier New 7 point (a fixed-pitch face where it is missing).
QFont TimelineNumberFont();
