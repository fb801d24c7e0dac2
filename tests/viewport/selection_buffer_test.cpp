#include <gtest/gtest.h>

#include "viewport/camera.h"
#include "viewport/selection_buffer.h"

namespace {

// A front view of the unit square around the origin, 100 x 100 pixels.
class SelectionBufferTest : public ::testing::Test {
protected:
    SelectionBufferTest() {
        buffer.SetProjection(OrthoMatrix(-1, 1, -1, 1, -10, 10));
        buffer.SetModelview(matrix44());
        buffer.Begin(viewport);
    }
    rgViewportRect viewport{0, 0, 100, 100};
    rgSelectionBuffer buffer;
};

TEST_F(SelectionBufferTest, RecordsFollowTheNameStack) {
    buffer.InitNames();
    buffer.PushName(1);
    buffer.Point({0, 0, 0});
    buffer.LoadName(2);       // writes [1]
    buffer.Point({5, 0, 0});  // outside: no record for name 2
    buffer.LoadName(3);
    buffer.PushName(4);
    buffer.Point({0.5f, 0.5f, 5});  // z = 5: window depth 0.25
    EXPECT_EQ(buffer.End(), 2);
    const auto& r = buffer.Records();
    EXPECT_EQ(r[0].names, std::vector<uint32_t>({1}));
    EXPECT_EQ(r[1].names, std::vector<uint32_t>({3, 4}));
    EXPECT_EQ(r[0].minDepth, 0x80000000u);
    EXPECT_EQ(r[1].minDepth, 0x40000000u);
    EXPECT_EQ(r[1].maxDepth, 0x40000000u);
}

TEST_F(SelectionBufferTest, ManyRecordsGrowPastTheOldLimit) {
    for (uint32_t i = 0; i < 250; ++i) {
        buffer.LoadName(i);
        buffer.Point({0, 0, 0});
    }
    EXPECT_EQ(buffer.End(), 250);
    EXPECT_EQ(buffer.Records().back().names.front(), 249u);
}

TEST_F(SelectionBufferTest, DepthsSaturateAtTheFarPlane) {
    EXPECT_EQ(rgSelectionBuffer::DepthToUnsigned(0.0f), 0u);
    EXPECT_EQ(rgSelectionBuffer::DepthToUnsigned(0.5f), 0x80000000u);
    EXPECT_EQ(rgSelectionBuffer::DepthToUnsigned(1.0f), 0xFFFFFFFFu);
    buffer.PushName(1);
    buffer.Line({0, 0, 20}, {0, 0, -20});  // through both planes
    ASSERT_EQ(buffer.End(), 1);
    EXPECT_EQ(buffer.Records()[0].minDepth, 0u);
    EXPECT_EQ(buffer.Records()[0].maxDepth, 0xFFFFFFFFu);
}

TEST_F(SelectionBufferTest, TrianglesNamingMissingCornersAreSkipped) {
    const vector3 p[3] = {{-1, -1, 0}, {1, -1, 0}, {0, 1, 0}};
    const int32_t corners[] = {0, 1, 7, -1, 0, 1};
    buffer.PushName(1);
    buffer.Triangles(p, 3, corners, 2);
    EXPECT_EQ(buffer.End(), 0);
}

}  // namespace

namespace {

// The box test that lets picks skip a mesh against the definition: whenever
// it says a box is out of view, no triangle inside the box hits. Random
// boxes in random pick regions of a perspective and an orthographic view,
// with triangles touching the box's faces and corners.
TEST(SelectionBufferBoxTest, ABoxOutOfViewHoldsNoHit) {
    uint32_t seed = 12345;
    auto random = [&seed](float lo, float hi) {
        seed = seed * 1664525u + 1013904223u;
        return lo + (hi - lo) * static_cast<float>(seed >> 8) / 16777216.0f;
    };
    int outside = 0, inside = 0;
    for (int trial = 0; trial < 4000; ++trial) {
        const bool perspective = trial % 2 == 0;
        const float aspect = 1.5f;
        const rgViewportRect vp{1, 1, 298, 198};
        const matrix44 pick = PickMatrix(random(0, 300), random(0, 200), 5, 5, vp);
        matrix44 view;
        view.translate(0, 0, perspective ? -20.0f : 0.0f);
        rgSelectionBuffer buffer;
        buffer.SetProjection(ProjectionMatrix(perspective ? kProjPerspective : kProjFront, aspect) *
                             pick);
        buffer.SetModelview(view);
        const vector3 lo(random(-8, 8), random(-8, 8), random(-8, 8));
        const vector3 hi = lo + vector3(random(0, 2), random(0, 2), random(0, 2));
        const bool skip = buffer.BoxOutside(lo, hi);
        (skip ? outside : inside)++;
        if (!skip) continue;
        std::vector<vector3> points;
        for (int i = 0; i < 30; ++i) {
            vector3 p(random(lo.x, hi.x), random(lo.y, hi.y), random(lo.z, hi.z));
            // Snap some coordinates onto the box's faces.
            for (int axis = 0; axis < 3; ++axis)
                if (random(0, 1) < 0.3f) p[axis] = random(0, 1) < 0.5f ? lo[axis] : hi[axis];
            points.push_back(p);
        }
        std::vector<int32_t> corners;
        for (int t = 0; t + 2 < 30; ++t) corners.insert(corners.end(), {t, t + 1, t + 2});
        buffer.Begin(vp);
        buffer.PushName(1);
        buffer.Triangles(points.data(), points.size(), corners.data(), corners.size() / 3);
        buffer.Points(points.data(), points.size());
        ASSERT_EQ(buffer.End(), 0) << "trial " << trial;
    }
    // Both answers occur.
    EXPECT_GT(outside, 1000);
    EXPECT_GT(inside, 10);
}

}  // namespace
