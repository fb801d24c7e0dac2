#include "editing/key_timeline.h"

#include <algorithm>

#include "editing/key_commands.h"
#include "editing/rg_editor.h"

namespace keytimeline {

Rect Rect::Normalized() const {
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

std::vector<rgBone*> JointsBetween(const std::vector<rgBone*>& rows, int y1, int y2) {
    std::vector<rgBone*> joints;
    for (size_t i = 0; i < rows.size(); ++i) {
        const int centre = static_cast<int>(i) * kRowHeight + kRowHeight / 2;
        if (rows[i] && y1 < centre && centre < y2) joints.push_back(rows[i]);
    }
    return joints;
}

int ClampShift(int frames, const Rect& selection, int totalFrames) {
    const int lowest = -(selection.x1 / kCellWidth);
    const int highest = totalFrames - selection.x2 / kCellWidth;
    if (lowest > highest) return 0;  // wider than the time line: nowhere to go
    return std::clamp(frames, lowest, highest);
}

Marker MarkerAt(int x, int first, int last) {
    if (CellLeft(first) < x && x < CellLeft(first) + kCellWidth) return Marker::Start;
    if (CellLeft(last) < x && x < CellLeft(last) + kCellWidth) return Marker::End;
    return Marker::None;
}

}  // namespace keytimeline

using namespace keytimeline;

void rgKeyTimeline::SetRows(std::vector<rgBone*> rows) {
    if (rows == rows_) return;
    rows_ = std::move(rows);
    ClearSelection();
}

int rgKeyTimeline::Width() const {
    return std::max(editor_.state().totalFrames, 0) * kCellWidth;
}

int rgKeyTimeline::Height() const {
    return static_cast<int>(rows_.size()) * kRowHeight;
}

rgKeyTimeline::Cursor rgKeyTimeline::CursorAt(int x, int y) const {
    const int row = RowAt(y);
    if (row >= 0 && row < static_cast<int>(rows_.size()) && !rows_[static_cast<size_t>(row)]) {
        const rgState& state = editor_.state();
        return MarkerAt(x, state.segmentStart, state.segmentEnd) != Marker::None
                   ? Cursor::SizeHorizontal
                   : Cursor::Normal;
    }
    return present_ && selection_.Contains(x, y) ? Cursor::SizeHorizontal : Cursor::Normal;
}

void rgKeyTimeline::MouseDown(bool leftButton, int x, int y) {
    if (!leftButton || drag_ != Drag::Idle) return;
    if (CursorAt(x, y) == Cursor::SizeHorizontal) {
        const int row = RowAt(y);
        if (row >= 0 && row < static_cast<int>(rows_.size()) && !rows_[static_cast<size_t>(row)]) {
            const rgState& state = editor_.state();
            drag_ = MarkerAt(x, state.segmentStart, state.segmentEnd) == Marker::Start
                        ? Drag::StartMarker
                        : Drag::EndMarker;
        } else {
            drag_ = Drag::Moving;
            offset_ = x - selection_.x1;
            shift_ = 0;
        }
        return;
    }
    drag_ = Drag::Selecting;
    present_ = false;
    joints_.clear();
    shift_ = 0;
    anchorX_ = std::clamp(x, 0, std::max(Width() - 1, 0));
    anchorY_ = std::clamp(y, 0, std::max(Height() - 1, 0));
    cornerX_ = anchorX_;
    cornerY_ = anchorY_;
}

Rect rgKeyTimeline::Band() const {
    const int ax = SnapDown(anchorX_, kCellWidth), ay = SnapDown(anchorY_, kRowHeight);
    const int cx = SnapDown(cornerX_, kCellWidth), cy = SnapDown(cornerY_, kRowHeight);
    if (ax == cx && ay == cy) return Rect{ax, ay, ax, ay};
    return Rect{std::min(ax, cx), std::min(ay, cy), std::max(ax, cx) + kCellWidth,
                std::max(ay, cy) + kRowHeight};
}

void rgKeyTimeline::Follow(int x, int y) {
    rgState& state = editor_.state();
    switch (drag_) {
        case Drag::Selecting:
            cornerX_ = std::clamp(x, 0, std::max(Width() - 1, 0));
            cornerY_ = std::clamp(y, 0, std::max(Height() - 1, 0));
            break;
        case Drag::Moving:
            shift_ = ClampShift((x - offset_ - selection_.x1) / kCellWidth, selection_,
                                state.totalFrames);
            break;
        case Drag::StartMarker:
            state.segmentStart = std::max(std::min(FrameAt(x), state.segmentEnd - 1), 1);
            break;
        case Drag::EndMarker:
            state.segmentEnd =
                std::min(std::max(FrameAt(x), state.segmentStart + 1), state.totalFrames);
            break;
        case Drag::Idle:
            break;
    }
}

void rgKeyTimeline::MouseMove(int x, int y) {
    Follow(x, y);
}

void rgKeyTimeline::MouseUp(bool leftButton, int x, int y) {
    if (!leftButton) {
        ClearSelection();
        return;
    }
    Follow(x, y);
    const Drag was = drag_;
    drag_ = Drag::Idle;
    if (was == Drag::Selecting) {
        selection_ = Band();
        present_ = selection_.HasArea();
        joints_ =
            present_ ? JointsBetween(rows_, selection_.y1, selection_.y2) : std::vector<rgBone*>();
    } else if (was == Drag::Moving) {
        const int shift = shift_;
        shift_ = 0;
        MoveKeyframes(editor_, SelectedBlock(), shift, copyMode);
        selection_.x1 += shift * kCellWidth;
        selection_.x2 += shift * kCellWidth;
    }
}

void rgKeyTimeline::ClearSelection() {
    drag_ = Drag::Idle;
    present_ = false;
    joints_.clear();
    shift_ = 0;
}

rgKeyBlock rgKeyTimeline::SelectedBlock() const {
    rgKeyBlock block;
    if (!present_) return block;
    block.joints = joints_;
    block.first = selection_.FirstFrame();
    block.last = selection_.LastFrame();
    return block;
}
