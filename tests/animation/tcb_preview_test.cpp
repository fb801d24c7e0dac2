#include <gtest/gtest.h>

#include <cstdlib>

#include "animation/tcb_preview.h"

namespace {

using tcbpreview::Point;

// The previews are 89 x 70 pixels: the centre is (44, 35).
constexpr int kW = 89, kH = 70;

TEST(TcbPreview, TheCurveRunsThroughItsKeysWhateverTheParameters) {
    const auto keys = tcbpreview::Keys(kW, kH);
    EXPECT_EQ(keys[0], (Point{-16, 35}));
    EXPECT_EQ(keys[2], (Point{44, 15}));
    EXPECT_EQ(keys[4], (Point{104, 35}));
    const double values[][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, -1}, {-0.5, 0.3, 0.8}};
    for (const auto& v : values) {
        const std::vector<Point> curve = tcbpreview::Curve(v[0], v[1], v[2], kW, kH);
        ASSERT_EQ(curve.size(), 41u);  // times -20 .. 20
        // Outside -10 .. 10 the spline holds its ends.
        EXPECT_EQ(curve.front(), keys[1]);
        EXPECT_EQ(curve[10], keys[1]);
        EXPECT_EQ(curve[20], keys[2]);
        EXPECT_EQ(curve[30], keys[3]);
        EXPECT_EQ(curve.back(), keys[3]);
    }
}

TEST(TcbPreview, ParametersShapeThePeakAsTheSplineSays) {
    // One time unit either side of the peak (pixel y grows downward).
    const auto nearPeak = [](double t, double c, double b) {
        const std::vector<Point> curve = tcbpreview::Curve(t, c, b, kW, kH);
        return std::pair{curve[19], curve[21]};
    };
    // No parameters: a hump symmetric about the vertical axis, flat on top.
    const auto [left, right] = nearPeak(0, 0, 0);
    EXPECT_EQ(left.y, right.y);
    EXPECT_NEAR(44 - left.x, right.x - 44, 1);
    EXPECT_EQ(right.y, 15);
    // Bias 1 tilts the tangent to (30, 20): the curve still climbs past the
    // peak; bias -1 to (30, -20): it climbed into the peak from higher up.
    EXPECT_LT(nearPeak(0, 0, 1).second.y, 15);
    EXPECT_GT(nearPeak(0, 0, 1).first.y, 15);
    EXPECT_LT(nearPeak(0, 0, -1).first.y, 15);
    // Tension 1: zero tangent, so the curve lingers at the peak.
    EXPECT_LT(std::abs(nearPeak(1, 0, 0).second.x - 44), std::abs(right.x - 44));
    EXPECT_LT(std::abs(nearPeak(1, 0, 0).first.x - 44), std::abs(left.x - 44));
}

}  // namespace
