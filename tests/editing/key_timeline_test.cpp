#include "editing/key_timeline.h"

#include "tests/editing/tool_fixture.h"

namespace {

using namespace keytimeline;

TEST(KeyTimelineGeometry, CellsRowsAndSnapping) {
    const struct {
        int x, y, frame, row, snappedX, snappedY;
    } cases[] = {
        {0, 0, 1, 0, 0, 0},           {7, 15, 1, 0, 0, 0},   {8, 16, 2, 1, 8, 16},
        {383, 40, 48, 2, 376, 32},    {-3, -5, 1, -1, 0, 0},  // toward zero for negatives
        {-17, -20, -1, -1, -16, -16},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FrameAt(c.x), c.frame) << c.x;
        EXPECT_EQ(RowAt(c.y), c.row) << c.y;
        EXPECT_EQ(SnapDown(c.x, kCellWidth), c.snappedX) << c.x;
        EXPECT_EQ(SnapDown(c.y, kRowHeight), c.snappedY) << c.y;
    }
    // A key at frame 1 lies in pixels 1..6 of its row; 48 frames are 384 wide.
    EXPECT_EQ(CellLeft(1), 0);
    EXPECT_EQ(CellLeft(48) + kCellWidth, 384);

    const Rect r = Rect{40, 48, 8, 16}.Normalized();
    EXPECT_EQ(r, (Rect{8, 16, 40, 48}));
    EXPECT_EQ(r.FirstFrame(), 2);
    EXPECT_EQ(r.LastFrame(), 5);
    EXPECT_TRUE(r.Contains(9, 17));
    EXPECT_FALSE(r.Contains(8, 30));  // the border is outside
    EXPECT_FALSE((Rect{8, 16, 8, 48}).HasArea());
}

TEST(KeyTimelineGeometry, BandsTakeTheRowsWhoseCentreTheyCover) {
    rgBone* const a = reinterpret_cast<rgBone*>(0x10);
    rgBone* const b = reinterpret_cast<rgBone*>(0x20);
    rgBone* const c = reinterpret_cast<rgBone*>(0x30);
    const std::vector<rgBone*> rows = {nullptr, a, b, c};  // "Scene", then three joints
    const struct {
        int y1, y2;
        std::vector<rgBone*> joints;
    } cases[] = {
        {0, 64, {a, b, c}},                // the "Scene" row never counts
        {16, 48, {a, b}},   {24, 40, {}},  // centres on the edges are outside
        {23, 25, {a}},      {48, 400, {c}},
    };
    for (const auto& k : cases)
        EXPECT_EQ(JointsBetween(rows, k.y1, k.y2), k.joints) << k.y1 << ".." << k.y2;
}

TEST(KeyTimelineGeometry, ShiftsKeepTheSelectionInsideTheFrames) {
    const Rect frames2to5{8, 16, 40, 32};
    const struct {
        int wanted, total, shift;
    } cases[] = {{3, 48, 3}, {-5, 48, -1}, {100, 48, 43}, {43, 48, 43}, {2, 3, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(ClampShift(c.wanted, frames2to5, c.total), c.shift) << c.wanted;

    // Range markers at frames 1 and 48: cells 0..8 and 376..384, borders excluded.
    const struct {
        int x;
        Marker marker;
    } markers[] = {{0, Marker::None},   {1, Marker::Start}, {7, Marker::Start}, {8, Marker::None},
                   {200, Marker::None}, {377, Marker::End}, {384, Marker::None}};
    for (const auto& m : markers) EXPECT_EQ(MarkerAt(m.x, 1, 48), m.marker) << m.x;
}

// Rows: "Scene", A, B, C; A keyed at 2..5, B at 3, C at 10. Animation level.
class KeyTimelineTest : public ToolTest {
protected:
    KeyTimelineTest() {
        tools().ChangeLevel(kEditAnimation);
        a = AddJoint(nullptr, {0, 0, 0});
        b = AddJoint(nullptr, {1, 0, 0});
        c = AddJoint(nullptr, {2, 0, 0});
        for (int f : {2, 3, 4, 5}) a->SetKey(f, matrix44());
        b->SetKey(3, matrix44());
        c->SetKey(10, matrix44());
        timeline.SetRows({nullptr, a, b, c});
    }
    void Drag(int x1, int y1, int x2, int y2) {
        timeline.MouseDown(true, x1, y1);
        timeline.MouseMove((x1 + x2) / 2, (y1 + y2) / 2);
        timeline.MouseMove(x2, y2);
        timeline.MouseUp(true, x2, y2);
    }
    std::vector<int> Frames(const rgBone* joint) {
        std::vector<int> frames;
        for (int i = 0; i < joint->GetKeyCount(); ++i) frames.push_back(joint->GetKey(i)->frame);
        return frames;
    }

    rgKeyTimeline timeline{editor};
    rgBone* a;
    rgBone* b;
    rgBone* c;
};

TEST_F(KeyTimelineTest, RubberBandsSelectBlocksOfKeys) {
    EXPECT_EQ(timeline.Width(), 384);
    EXPECT_EQ(timeline.Height(), 64);
    // From inside frame 2 of A down into the row of B at frame 6: the band
    // covers every cell it touches, frames 2..6 of A and B.
    timeline.MouseDown(true, 10, 20);
    EXPECT_EQ(timeline.DragState(), rgKeyTimeline::Drag::Selecting);
    timeline.MouseMove(45, 40);
    EXPECT_EQ(timeline.Band(), (Rect{8, 16, 48, 48}));
    timeline.MouseUp(true, 45, 40);
    ASSERT_TRUE(timeline.HasSelection());
    EXPECT_EQ(timeline.Selection(), (Rect{8, 16, 48, 48}));
    const rgKeyBlock block = timeline.SelectedBlock();
    EXPECT_EQ(block.joints, (std::vector<rgBone*>{a, b}));
    EXPECT_EQ(block.first, 2);
    EXPECT_EQ(block.last, 6);

    // The first and the last row touched count, whichever way the band goes.
    const struct {
        int x1, y1, x2, y2;
        std::vector<rgBone*> joints;
    } bands[] = {
        {3, 20, 60, 56, {a, b, c}}, {60, 56, 3, 20, {a, b, c}}, {3, 47, 60, 33, {b}},
        {3, 31, 60, 32, {a, b}},    {60, 63, 3, 48, {c}},
    };
    for (const auto& band : bands) {
        timeline.MouseUp(false, 0, 0);  // a press inside a selection would move it
        Drag(band.x1, band.y1, band.x2, band.y2);
        EXPECT_EQ(timeline.SelectedJoints(), band.joints) << band.y1 << " -> " << band.y2;
    }

    // Backwards, and clamped to the image: everything.
    Drag(1000, 1000, -50, -50);
    EXPECT_EQ(timeline.Selection(), (Rect{0, 0, 384, 64}));
    EXPECT_EQ(timeline.SelectedJoints(), (std::vector<rgBone*>{a, b, c}));

    // A right-button release clears it.
    timeline.MouseUp(false, 3, 3);
    EXPECT_FALSE(timeline.HasSelection());
    // A press and release in one cell: no selection. One row or one
    // frame wide: that row or that frame.
    Drag(41, 20, 46, 30);
    EXPECT_FALSE(timeline.HasSelection());
    Drag(40, 20, 44, 60);
    EXPECT_EQ(timeline.Selection(), (Rect{40, 16, 48, 64}));
    Drag(0, 16, 80, 20);
    EXPECT_EQ(timeline.SelectedJoints(), std::vector<rgBone*>{a});
    // New rows clear it too.
    Drag(0, 16, 80, 64);
    timeline.SetRows({nullptr, a, b, c});  // the same rows keep it
    EXPECT_TRUE(timeline.HasSelection());
    timeline.SetRows({nullptr, a, c});
    EXPECT_FALSE(timeline.HasSelection());
}

TEST_F(KeyTimelineTest, DraggingTheSelectionMovesOrCopiesItsKeys) {
    Drag(8, 16, 39, 47);  // frames 2..5 of A and B
    EXPECT_EQ(timeline.CursorAt(20, 30), rgKeyTimeline::Cursor::SizeHorizontal);
    EXPECT_EQ(timeline.CursorAt(60, 30), rgKeyTimeline::Cursor::Normal);

    // Pressed at x = 20, let go 3 cells and 5 pixels on.
    timeline.MouseDown(true, 20, 30);
    EXPECT_EQ(timeline.DragState(), rgKeyTimeline::Drag::Moving);
    timeline.MouseMove(49, 30);
    EXPECT_EQ(timeline.MoveShift(), 3);
    EXPECT_EQ(editor.undo.Count(), 0);  // nothing happens before the release
    timeline.MouseUp(true, 49, 30);
    EXPECT_EQ(Frames(a), (std::vector<int>{5, 6, 7, 8}));
    EXPECT_EQ(Frames(b), (std::vector<int>{6}));
    EXPECT_EQ(editor.undo.TopLabel(), "Move Keyframes");
    EXPECT_EQ(timeline.Selection(), (Rect{32, 16, 64, 48}));  // the selection went along

    // Copy mode, dragged far to the left: clamped at frame 1.
    timeline.copyMode = true;
    timeline.MouseDown(true, 40, 20);
    timeline.MouseUp(true, -500, 20);
    EXPECT_EQ(Frames(a), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(editor.undo.TopLabel(), "Copy Keyframes");
    EXPECT_EQ(timeline.Selection(), (Rect{0, 16, 32, 48}));

    // Dragged far to the right: clamped at the last frame.
    timeline.copyMode = false;
    timeline.MouseDown(true, 10, 20);
    timeline.MouseUp(true, 5000, 20);
    EXPECT_EQ(Frames(a), (std::vector<int>{5, 6, 7, 8, 45, 46, 47, 48}));

    // A click inside the selection moves nothing and records nothing.
    const int steps = editor.undo.Count();
    timeline.MouseDown(true, 370, 20);
    timeline.MouseUp(true, 372, 20);
    EXPECT_EQ(editor.undo.Count(), steps);
}

TEST_F(KeyTimelineTest, RangeMarkersDragOnTheRulerRow) {
    rgState& s = state();
    EXPECT_EQ(timeline.CursorAt(3, 8), rgKeyTimeline::Cursor::SizeHorizontal);
    EXPECT_EQ(timeline.CursorAt(100, 8), rgKeyTimeline::Cursor::Normal);
    const struct {
        int pressX, moveX;
        int first, last;
    } drags[] = {
        {3, 100, 13, 48},                     // start marker to frame 13
        {100, 1000, 47, 48},                  // past the end marker: one frame before it
        {371, -50, 1, 48},   {380, 0, 1, 2},  // end marker: one frame after the start
        {11, 300, 1, 38},    {300, 9999, 1, 48},
    };
    for (const auto& d : drags) {
        timeline.MouseDown(true, d.pressX, 5);
        timeline.MouseMove(d.moveX, 5);
        timeline.MouseUp(true, d.moveX, 5);
        EXPECT_EQ(s.segmentStart, d.first) << d.pressX << " -> " << d.moveX;
        EXPECT_EQ(s.segmentEnd, d.last) << d.pressX << " -> " << d.moveX;
    }
    EXPECT_EQ(editor.undo.Count(), 0);
    // Elsewhere on the ruler row a press starts a rubber band.
    timeline.MouseDown(true, 200, 5);
    EXPECT_EQ(timeline.DragState(), rgKeyTimeline::Drag::Selecting);
}

}  // namespace
