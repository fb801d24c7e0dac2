#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "animation/tcb_rotation_spline.h"

namespace {

using Spline = TcbRotationSpline;
constexpr double kPi = std::numbers::pi;

TEST(TcbRotationSpline, QuaternionHelpers) {
    const Spline::AxisAngle r{0, 0.6, 0.8, 1.2};
    const Spline::Quat q = Spline::FromAngleAxis(r);
    const Spline::AxisAngle back = Spline::ToAngleAxis(q);
    EXPECT_NEAR(back.angle, 1.2, 1e-12);
    EXPECT_NEAR(back.y, 0.6, 1e-12);
    EXPECT_NEAR(back.z, 0.8, 1e-12);
    // Exp undoes Log for a unit quaternion.
    const Spline::Quat e = Spline::Exp(Spline::Log(q));
    EXPECT_NEAR(e.w, q.w, 1e-12);
    EXPECT_NEAR(e.y, q.y, 1e-12);
    // Near identity the angle reads 0 and a zero vector part gives axis x.
    EXPECT_EQ(Spline::ToAngleAxis({0.9999995, 0.001, 0, 0}).angle, 0.0);
    const Spline::AxisAngle none = Spline::ToAngleAxis({1, 0, 0, 0});
    EXPECT_EQ(none.x, 1.0);
    EXPECT_EQ(none.angle, 0.0);
    // Slerp has no shortest-path flip and returns p for (anti)parallel inputs.
    const Spline::Quat p{1, 0, 0, 0}, minusP{-1, 0, 0, 0};
    EXPECT_EQ(Spline::Slerp(0.5, p, minusP).w, 1.0);
}

TEST(TcbRotationSpline, OppositeHemispheresFlipTheLaterKeyAndRewriteIt) {
    const double a = 170.0 * kPi / 180.0;
    std::vector<Spline::Key> keys = {
        {-1.0, {0, 0, 1, a}, 0, 0, 0},
        {0.0, {0, 0, 1, a}, 0, 0, 0},
        {1.0, {0, 0, -1, a}, 0, 0, 0},  // -170 degrees about z
        {2.0, {0, 0, -1, a}, 0, 0, 0},
    };
    const Spline spline(keys);
    EXPECT_NEAR(keys[2].rotation.z, 1.0, 1e-12);  // rewritten: +190 degrees about +z
    EXPECT_NEAR(keys[2].rotation.angle, 190.0 * kPi / 180.0, 1e-9);
    const Spline::AxisAngle mid = spline.Evaluate(0.5);
    EXPECT_NEAR(std::fabs(mid.angle), kPi, 1e-3);
    EXPECT_NEAR(spline.Evaluate(0.0).angle, a, 1e-9);
    EXPECT_NEAR(spline.Evaluate(5.0).angle, 190.0 * kPi / 180.0, 1e-9);  // past the end: u = 1
}

}  // namespace
