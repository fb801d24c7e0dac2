#include <gtest/gtest.h>

#include <cmath>

#include "viewport/axis_drag.h"
#include "viewport/camera.h"

namespace {

constexpr float kPi = 3.14159265358979323846f;

::testing::AssertionResult Near(const vector3& a, const vector3& b, float tol = 1e-4f) {
    if (a.isequal(b, tol)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ") vs ("
                                         << b.x << ", " << b.y << ", " << b.z << ")";
}

struct ViewCase {
    const char* name;
    int projection;
    vector3 perspAngles, perspOffset, cameraAngles, cameraOffset, orthoView;
    vector3 world;
    vector3 eye;  // where the view matrix puts the world point
};

// Pan (1, 2), zoom 0.5 for the orthographic views; the point (1, 3, 5).
const ViewCase kViews[] = {
    {"top", kProjTop, {}, {}, {}, {}, {1, 2, 0.5f}, {1, 3, 5}, {1, -3.5f, 1.5f}},
    {"bottom", kProjBottom, {}, {}, {}, {}, {1, 2, 0.5f}, {1, 3, 5}, {1, 3.5f, -1.5f}},
    {"left", kProjLeft, {}, {}, {}, {}, {1, 2, 0.5f}, {1, 3, 5}, {3.5f, 2, -0.5f}},
    {"right", kProjRight, {}, {}, {}, {}, {1, 2, 0.5f}, {1, 3, 5}, {-3.5f, 2, 0.5f}},
    {"front", kProjFront, {}, {}, {}, {}, {1, 2, 0.5f}, {1, 3, 5}, {1, 2.5f, 2.5f}},
    {"back", kProjBack, {}, {}, {}, {}, {1, 2, 0.5f}, {1, 3, 5}, {-1, 2.5f, -2.5f}},
    // Perspective: rotate about the origin, then the eye-space offset.
    {"perspective_yaw",
     kProjPerspective,
     {0, kPi / 2, 0},
     {0, -30, -100},
     {},
     {},
     {},
     {1, 3, 5},
     {5, -27, -101}},
    {"perspective_pitch",
     kProjPerspective,
     {kPi / 2, 0, 0},
     {0, -30, -100},
     {},
     {},
     {},
     {1, 3, 5},
     {1, -35, -97}},
    // Camera: the world offset first, then the rotation.
    {"camera_yaw", kProjCamera, {}, {}, {0, kPi / 2, 0}, {1, 2, 3}, {}, {1, 3, 5}, {8, 5, -2}},
    {"unknown_projection_identity", 11, {}, {}, {}, {}, {1, 2, 0.5f}, {1, 3, 5}, {1, 3, 5}},
};

TEST(ViewMatrix, PlacesWorldPointsPerProjection) {
    for (const ViewCase& c : kViews) {
        rgViewportState s;
        s.projection = c.projection;
        s.perspAngles = c.perspAngles;
        s.perspOffset = c.perspOffset;
        s.cameraAngles = c.cameraAngles;
        s.cameraOffset = c.cameraOffset;
        s.orthoView = c.orthoView;
        EXPECT_TRUE(Near(ViewMatrix(s).Transform(c.world), c.eye)) << c.name;
    }
}

TEST(ViewMatrix, TopViewShowsXRightAndMinusZUp) {
    rgViewportState s;
    s.projection = kProjTop;
    const matrix44 v = ViewMatrix(s);
    EXPECT_GT(v.Transform({1, 0, 0}).x, 0);
    EXPECT_GT(v.Transform({0, 0, -1}).y, 0);
}

TEST(Projection, AspectAndDrawingArea) {
    EXPECT_FLOAT_EQ(ViewportAspect(400, 300), 4.0f / 3.0f);
    EXPECT_FLOAT_EQ(ViewportAspect(250, 0), 250.0f);  // no division by zero
    const rgViewportRect r = DrawingRect(100, 50);
    EXPECT_EQ(r.x, 1);
    EXPECT_EQ(r.y, 1);
    EXPECT_EQ(r.width, 98);
    EXPECT_EQ(r.height, 48);
}

TEST(Projection, OrthographicBoxAndPerspectiveFrustum) {
    const float aspect = 2.0f;
    // The orthographic box: x +-aspect, y +-1, eye z from 50 (near) to -50 (far).
    const matrix44 ortho = ProjectionMatrix(kProjFront, aspect);
    EXPECT_TRUE(Near(ortho.Transform({2, 1, -50}), {1, 1, 1}));
    EXPECT_TRUE(Near(ortho.Transform({-2, -1, 50}), {-1, -1, -1}));
    // 60 degrees vertically, near 0.5, far 500.
    const matrix44 persp = ProjectionMatrix(kProjCamera, aspect);
    auto ndc = [&](vector3 e) {
        const float* m = persp.m;
        const float w = e.x * m[3] + e.y * m[7] + e.z * m[11] + m[15];
        return persp.Transform(e) / w;
    };
    const float t = std::tan(kPi / 6);
    EXPECT_TRUE(Near(ndc({0, 10 * t, -10}), {0, 1, ndc({0, 0, -10}).z}));
    EXPECT_TRUE(Near(ndc({20 * t, 0, -10}), {1, 0, ndc({0, 0, -10}).z}));
    EXPECT_NEAR(ndc({0, 0, -0.5f}).z, -1, 1e-5);
    EXPECT_NEAR(ndc({0, 0, -500}).z, 1, 1e-4);
}

TEST(Projection, PickMatrixMapsTheRegionOntoTheView) {
    const rgViewportRect vp{1, 1, 200, 100};
    const matrix44 pick = PickMatrix(51, 31, 10, 4, vp);
    // NDC of the region's centre and right/top edges.
    const float cx = (51 - 1) / 100.0f - 1, cy = (31 - 1) / 50.0f - 1;
    EXPECT_TRUE(Near(pick.Transform({cx, cy, 0.3f}), {0, 0, 0.3f}));
    EXPECT_TRUE(Near(pick.Transform({cx + 10 / 200.0f, cy + 4 / 100.0f, 0}), {1, 1, 0}));
}

TEST(Unproject, InvertsProject) {
    rgViewportState s;
    s.perspAngles.set(0.3f, -0.7f, 0);
    const matrix44 mv = ViewMatrix(s), proj = ProjectionMatrix(kProjPerspective, 1.5f);
    const rgViewportRect vp = DrawingRect(300, 200);
    double wx, wy, wz;
    ASSERT_TRUE(Project({3, -2, 7}, mv, proj, vp, wx, wy, wz));
    vector3 back;
    ASSERT_TRUE(Unproject(wx, wy, wz, mv, proj, vp, back));
    EXPECT_TRUE(Near(back, {3, -2, 7}, 1e-3f));
}

struct ScreenCase {
    const char* name;
    int projection;
    vector3 orthoView;
    int x, y;
    vector3 expected;
};

// A 400 x 300 client: drawing area 398 x 298, centre pixel (200, 150). At
// zoom 0.01, 149 pixels up are 100 units; 149 pixels right are
// 149 * 2 / 398 * (4 / 3) / 0.01 units.
constexpr float kRight = 99.83250f;
const ScreenCase kScreens[] = {
    {"front_centre", kProjFront, {1, 2, 0.01f}, 200, 150, {-1, -2, 0}},
    {"front_right_up", kProjFront, {0, 0, 0.01f}, 200 + 149, 150 - 149, {kRight, 100, 0}},
    {"back_right", kProjBack, {0, 0, 0.01f}, 200 + 149, 150, {-kRight, 0, 0}},
    {"top_up_is_minus_z", kProjTop, {0, 0, 0.01f}, 200, 150 - 149, {0, 0, -100}},
    {"bottom_up_is_plus_z", kProjBottom, {0, 0, 0.01f}, 200, 150 - 149, {0, 0, 100}},
    {"left_right_is_plus_z", kProjLeft, {0, 0, 0.01f}, 200 + 149, 150, {0, 0, kRight}},
    {"right_right_is_minus_z", kProjRight, {0, 0, 0.01f}, 200 + 149, 150 - 149, {0, 100, -kRight}},
};

TEST(ScreenToWorld, OrthographicViewsLandOnTheirPlane) {
    for (const ScreenCase& c : kScreens) {
        rgViewportState s;
        s.projection = c.projection;
        s.orthoView = c.orthoView;
        EXPECT_TRUE(Near(ScreenToWorld(s, 400, 300, c.x, c.y), c.expected, 0.05f)) << c.name;
    }
}

TEST(ScreenToWorld, PerspectiveGivesAPointJustBeforeTheEye) {
    rgViewportState s;  // eye at (0, 30, 100) looking down -z
    const vector3 p = ScreenToWorld(s, 400, 300, 200, 150);
    // Half depth of the 0.5..500 range lies 2 n f / (n + f) in front of the eye.
    EXPECT_TRUE(Near(p, {0, 30, 100 - 2 * 0.5f * 500 / 500.5f}, 1e-3f));
}

// The point of an axis under the pointer: project a point of the axis to
// the screen, and the pointer there finds it again (within a pixel).
TEST(AxisDrag, ThePointUnderThePointerIsFoundOnTheAxis) {
    const struct {
        const char* name;
        int projection;
        vector3 origin, axis;
        float t;
    } cases[] = {
        {"front view, x axis", kProjFront, {1, 2, 0}, {1, 0, 0}, 3.5f},
        {"perspective, x axis", kProjPerspective, {0, 0, 0}, {1, 0, 0}, 12},
        {"perspective, a tilted axis", kProjPerspective, {5, -2, 3}, {0.6f, 0.8f, 0}, -7},
        {"perspective, toward the eye", kProjPerspective, {0, 0, 0}, {0.2f, 0, 1}, 20},
    };
    for (const auto& c : cases) {
        rgViewportState s;
        s.projection = c.projection;
        s.orthoView.set(0, 0, 0.05f);
        s.perspAngles.set(0.3f, -0.4f, 0);
        const vector3 target = c.origin + c.axis * c.t;
        double wx, wy, wz;
        ASSERT_TRUE(Project(target, ViewMatrix(s), ProjectionMatrix(s.projection, ViewportAspect(400, 300)),
                            DrawingRect(400, 300), wx, wy, wz))
            << c.name;
        const int x = static_cast<int>(std::lround(wx)), y = 300 - static_cast<int>(std::lround(wy));
        float t = 0;
        ASSERT_TRUE(AxisParameterUnderPointer(s, 400, 300, x, y, c.origin, c.axis, t)) << c.name;
        const vector3 found = c.origin + c.axis * t;
        double fx, fy, fz;
        Project(found, ViewMatrix(s), ProjectionMatrix(s.projection, ViewportAspect(400, 300)),
                DrawingRect(400, 300), fx, fy, fz);
        EXPECT_NEAR(fx, wx, 1.0) << c.name;
        EXPECT_NEAR(fy, wy, 1.0) << c.name;
    }
    // Looking straight down an axis: no single point is nearest.
    rgViewportState front;
    front.projection = kProjFront;
    float t = 0;
    EXPECT_FALSE(AxisParameterUnderPointer(front, 400, 300, 200, 150, {0, 0, 0}, {0, 0, 1}, t));
}

}  // namespace
