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
