#pragma once

#include <vector>

#include "animation/key_block.h"

class rgBone;
class rgEditor;

// The Keyframer's time line as numbers: one 8-pixel cell per frame, one
// 16-pixel row per shown row of the joint tree, (0, 0) at the top left of
// frame 1 in the first shown row. Mouse positions are time line pixels.
namespace keytimeline {

constexpr int kCellWidth = 8;
constexpr int kRowHeight = 16;

// Down to a multiple of `grid`, toward zero for negative values.
constexpr int SnapDown(int value, int grid) {
    return value / grid * grid;
}
// The frame whose cell holds x (x / 8 + 1; frame 1 also for -7..-1).
constexpr int FrameAt(int x) {
    return x / kCellWidth + 1;
}
// The row that holds y; -1 above the first row.
constexpr int RowAt(int y) {
    return y < 0 ? -1 : y / kRowHeight;
}
// Left edge of a frame's cell.
constexpr int CellLeft(int frame) {
    return (frame - 1) * kCellWidth;
}

// A rectangle in time line pixels; normalised ones have x1 <= x2, y1 <= y2.
struct Rect {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool operator==(const Rect&) const = default;
    Rect Normalized() const;
    bool HasArea() const { return x1 != x2 && y1 != y2; }
    // Strictly inside (the border does not count).
    bool Contains(int x, int y) const { return x1 < x && x < x2 && y1 < y && y < y2; }
    // The frames a snapped selection covers: x1 / 8 + 1 .. x2 / 8.
    int FirstFrame() const { return x1 / kCellWidth + 1; }
    int LastFrame() const { return x2 / kCellWidth; }
};

// The joints of the rows whose vertical centre lies strictly between y1 and
// y2 (`rows` holds each row's joint, null for the "Scene" row).
std::vector<rgBone*> JointsBetween(const std::vector<rgBone*>& rows, int y1, int y2);

// A shift of `frames` for a selection, clamped so the selection stays within
// frames 1 .. total (x1 / 8 + s >= 0 and x2 / 8 + s <= total).
int ClampShift(int frames, const Rect& selection, int totalFrames);

// Which range marker of the ruler row x lies on: the start marker's cell
// ((first - 1) * 8 < x < first * 8), the end marker's, or neither. Where the
// cells meet, the start marker wins.
enum class Marker { None, Start, End };
Marker MarkerAt(int x, int first, int last);

}  // namespace keytimeline

// What the mouse does on the Keyframer's time line: rubber-band selection of
// a block of keys, moving or copying that block, and dragging the playback
// range's markers on the ruler row. The window hands it mouse events and its
// shown rows and paints from what it reports; the key edits go through the
// key commands.
class rgKeyTimeline {
public:
    using Rect = keytimeline::Rect;
    enum class Drag { Idle, Selecting, Moving, StartMarker, EndMarker };
    enum class Cursor { Normal, SizeHorizontal };

    explicit rgKeyTimeline(rgEditor& editor) : editor_(editor) {}

    // The tree rows now shown, top to bottom (null: the "Scene" row). Rows
    // that differ from the last ones clear the selection.
    void SetRows(std::vector<rgBone*> rows);
    const std::vector<rgBone*>& Rows() const { return rows_; }
    // Image size: total frames x 8 by rows x 16.
    int Width() const;
    int Height() const;

    Cursor CursorAt(int x, int y) const;
    void MouseDown(bool leftButton, int x, int y);
    void MouseMove(int x, int y);
    void MouseUp(bool leftButton, int x, int y);
    // The selection and any drag go (tree scrolled or folded, window resized).
    void ClearSelection();

    // "Toggle move/copy keyframes": down = copy.
    bool copyMode = false;

    bool HasSelection() const { return present_; }
    // The selection rectangle, snapped to the cells (meaningful with HasSelection).
    const Rect& Selection() const { return selection_; }
    const std::vector<rgBone*>& SelectedJoints() const { return joints_; }
    // The selected keys: the selected joints over the selection's frames.
    rgKeyBlock SelectedBlock() const;
    Drag DragState() const { return drag_; }
    // While selecting: the rubber band, normalised: every cell it touches,
    // from the cell pressed in to the cell the pointer is in, whichever way
    // it was drawn. Empty while the pointer stays in the cell pressed in.
    Rect Band() const;
    // While moving: the shift in frames so far.
    int MoveShift() const { return shift_; }

private:
    void Follow(int x, int y);

    rgEditor& editor_;
    std::vector<rgBone*> rows_;
    Drag drag_ = Drag::Idle;
    bool present_ = false;
    Rect selection_;
    std::vector<rgBone*> joints_;
    int anchorX_ = 0, anchorY_ = 0, cornerX_ = 0, cornerY_ = 0;  // pointer, in the image
    int offset_ = 0;
    int shift_ = 0;
};
