#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "viewport/grid_lines.h"

namespace {

TEST(PerspectiveGrid, FixedSquareOfLines) {
    rgViewportState s;  // extent 200, spacing 0.25
    const rgGrid grid = PerspectiveGrid(s);
    ASSERT_EQ(grid.lines.size(), 2u * 801);
    EXPECT_EQ(grid.lines.front().from.x, -100);
    EXPECT_EQ(grid.lines[800].from.x, 100);
    EXPECT_EQ(grid.lines[801].from.z, -100);
    for (const rgGridLine& l : grid.lines) {
        EXPECT_EQ(l.from.y, 0);
        EXPECT_FALSE(l.major);
    }
    s.adaptiveSpacing = 50;  // never adaptive
    EXPECT_EQ(PerspectiveGrid(s).lines.size(), 2u * 801);
}

// The floor fades by how far apart its lines fall on screen: fully drawn
// near the eye, gone where they crowd, every line end coloured between.
TEST(PerspectiveGrid, FadesWhereItsLinesCrowd) {
    const struct {
        float depth;
        float visibility;
    } cases[] = {{1, 1}, {20, 1}, {50, 0.5f}, {100, 0}, {1000, 0}, {-5, 1}};
    // 0.25 apart at focal 800: 6 px at depth 33.3, 2 px at depth 100.
    for (const auto& c : cases)
        EXPECT_NEAR(GridLineVisibility(0.25f, 800, c.depth), c.visibility, 1e-5f) << c.depth;

    rgGrid grid;
    grid.lines.push_back({{0, 0, -1}, {0, 0, -200}, false});
    std::vector<float> points, colours;
    const vector3 line(0.2f, 0.2f, 0.2f), back(0.8f, 0.8f, 0.8f);
    FadedGridLines(grid, matrix44(), 800, 0.25f, line, line, back, points, colours);
    // Pieces end every 12.4375 units; those beyond depth 100 are left out.
    ASSERT_EQ(points.size(), 8u * 6);
    ASSERT_EQ(colours.size(), points.size());
    EXPECT_FLOAT_EQ(points[2], -1);
    EXPECT_GT(points.back(), -115);
    EXPECT_NEAR(colours[0], 0.2f, 1e-6f);       // the near end: the line's colour
    EXPECT_NEAR(colours.back(), 0.8f, 1e-6f);   // the last piece's end: the background
    for (size_t i = 3; i < colours.size(); i += 3) EXPECT_GE(colours[i] + 1e-6f, colours[i - 3]);
}

TEST(OrthoGrid, AdaptiveSpacingSettlesBetween50And100Lines) {
    rgViewportState s;
    s.projection = kProjFront;
    const float aspect = 4.0f / 3.0f;
    rgGrid first = OrthoGrid(s, aspect, true);
    EXPECT_GT(first.horizontalCount, 1000);  // the first frame uses the state grid size
    AdaptGridSpacing(s, first);
    const rgGrid second = OrthoGrid(s, aspect, true);
    const int lines = std::max(second.horizontalCount, second.verticalCount);
    EXPECT_GE(lines, 50);
    EXPECT_LE(lines, 100);
    EXPECT_FLOAT_EQ(s.adaptiveSpacing, 4.0f);
    // Settled: another frame changes nothing.
    AdaptGridSpacing(s, second);
    EXPECT_FLOAT_EQ(s.adaptiveSpacing, 4.0f);
    // After zooming far in, the spacing halves over the next few frames (the
    // two lines beyond the edges make the first estimate short).
    s.orthoView.z = 1.0f;
    int frames = 0;
    for (; frames < 5; ++frames) {
        const rgGrid g = OrthoGrid(s, aspect, true);
        const int n = std::max(g.horizontalCount, g.verticalCount);
        if (n >= 50 && n <= 100) break;
        AdaptGridSpacing(s, g);
    }
    EXPECT_LE(frames, 3);
    EXPECT_LT(s.adaptiveSpacing, 0.1f);
}

TEST(OrthoGrid, MajorLinesOnlyWhenAdaptiveAndThroughTheOrigin) {
    rgViewportState s;
    s.projection = kProjFront;
    s.orthoView.set(0.3f, -0.2f, 0.1f);
    s.adaptiveSpacing = 1.0f;
    s.majorLinesEvery = 4;
    const rgGrid adaptive = OrthoGrid(s, 1.0f, true);
    bool originMajor = false;
    for (const rgGridLine& l : adaptive.lines) {
        const bool vertical = l.from.x == l.to.x;
        const float at = vertical ? l.from.x : l.from.y;
        EXPECT_EQ(l.major, static_cast<int>(std::lround(at)) % 4 == 0) << at;
        if (at == 0 && l.major) originMajor = true;
    }
    EXPECT_TRUE(originMajor);
    for (const rgGridLine& l : OrthoGrid(s, 1.0f, false).lines) EXPECT_FALSE(l.major);
}

struct PlaneCase {
    int projection;
    int constantAxis;  // 0 x, 1 y, 2 z
};

TEST(OrthoGrid, LinesLieInTheProjectionsPlaneAndCoverTheView) {
    for (const PlaneCase c :
         {PlaneCase{kProjTop, 1}, PlaneCase{kProjBottom, 1}, PlaneCase{kProjLeft, 0},
          PlaneCase{kProjRight, 0}, PlaneCase{kProjFront, 2}, PlaneCase{kProjBack, 2}}) {
        rgViewportState s;
        s.projection = c.projection;
        s.orthoView.set(5, -3, 0.2f);  // view 10 x 10 units around the pan
        s.gridSpacing = 1.0f;
        const rgGrid grid = OrthoGrid(s, 1.0f, false);
        ASSERT_FALSE(grid.lines.empty());
        float lo = 1e9f, hi = -1e9f;
        for (const rgGridLine& l : grid.lines) {
            const float from[3] = {l.from.x, l.from.y, l.from.z}, to[3] = {l.to.x, l.to.y, l.to.z};
            EXPECT_EQ(from[c.constantAxis], 0);
            EXPECT_EQ(to[c.constantAxis], 0);
        }
        // The horizontal screen axis runs from -aspect/zoom - ph to +aspect/zoom - ph.
        const bool side = c.projection == kProjLeft || c.projection == kProjRight;
        const float ph = side ? s.orthoView.y : s.orthoView.x;
        for (int k = 0; k < grid.horizontalCount; ++k) {
            const rgGridLine& l = grid.lines[static_cast<size_t>(k)];
            const float h = side ? l.from.z : l.from.x;
            lo = std::min(lo, h);
            hi = std::max(hi, h);
        }
        EXPECT_LE(lo, -5 - ph);
        EXPECT_GE(hi, 5 - ph);
    }
}

TEST(OrthoGrid, FarZoomedOutGridIsCountedNotBuilt) {
    rgViewportState s;
    s.projection = kProjFront;
    s.orthoView.z = 0.00001f;
    const rgGrid grid = OrthoGrid(s, 1.0f, false);
    EXPECT_GT(grid.horizontalCount, 100000);
    EXPECT_TRUE(grid.lines.empty());
    AdaptGridSpacing(s, grid);  // still settles in one step
    const rgGrid settled = OrthoGrid(s, 1.0f, true);
    EXPECT_LE(std::max(settled.horizontalCount, settled.verticalCount), 100);
}

}  // namespace
