#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"
#include "scene/rg_bone.h"
#include "viewport/camera.h"
#include "viewport/framing.h"
#include "viewport/navigation.h"

namespace {

constexpr float kPi = 3.14159265358979323846f;
constexpr float kQuarterDegree = kPi / 180 * 0.25f;

::testing::AssertionResult Near(const vector3& a, const vector3& b, float tol = 1e-5f) {
    if (a.isequal(b, tol)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ") vs ("
                                         << b.x << ", " << b.y << ", " << b.z << ")";
}

// Press at (100, 100) with the left button in `mode`, move by (dx, dy).
struct DragCase {
    const char* name;
    int projection;
    int mode;
    int dx, dy;
    vector3 (*changed)(const rgViewportState&);
    vector3 expected;
};

vector3 PerspOffset(const rgViewportState& s) {
    return s.perspOffset;
}
vector3 PerspAngles(const rgViewportState& s) {
    return s.perspAngles;
}
vector3 CameraAngles(const rgViewportState& s) {
    return s.cameraAngles;
}
vector3 OrthoView(const rgViewportState& s) {
    return s.orthoView;
}

// Start values: perspOffset (0, -30, -100), angles 0, orthoView (0, 0, 0.01):
// a pan of one pixel is 0.005 / 0.01 = 0.5 units.
const DragCase kDrags[] = {
    {"persp_move_xz", kProjPerspective, kNavPerspMoveXZ, 10, -20, PerspOffset, {1, -30, -102}},
    {"persp_move_xy_middle_mode",
     kProjPerspective,
     kNavPerspMoveXY,
     10,
     -20,
     PerspOffset,
     {1, -32, -100}},
    {"persp_move_y", kProjPerspective, kNavPerspMoveY, 10, -20, PerspOffset, {0, -32, -100}},
    {"persp_rotate",
     kProjPerspective,
     kNavPerspRotate,
     8,
     -4,
     PerspAngles,
     {-4 * kQuarterDegree, 8 * kQuarterDegree, 0}},
    {"camera_rotate",
     kProjCamera,
     kNavCameraRotate,
     -8,
     12,
     CameraAngles,
     {12 * kQuarterDegree, -8 * kQuarterDegree, 0}},
    {"pan_top", kProjTop, kNavOrthoPan, 4, 2, OrthoView, {2, 1, 0.01f}},
    {"pan_bottom", kProjBottom, kNavOrthoPan, 4, 2, OrthoView, {2, -1, 0.01f}},
    {"pan_left", kProjLeft, kNavOrthoPan, 4, 2, OrthoView, {-1, 2, 0.01f}},
    {"pan_right", kProjRight, kNavOrthoPan, 4, 2, OrthoView, {-1, -2, 0.01f}},
    {"pan_front", kProjFront, kNavOrthoPan, 4, 2, OrthoView, {2, -1, 0.01f}},
    {"pan_back", kProjBack, kNavOrthoPan, 4, 2, OrthoView, {-2, -1, 0.01f}},
    {"zoom_down_grows", kProjFront, kNavOrthoZoom, 0, 100, OrthoView, {0, 0, 0.0125f}},
    {"zoom_up_clamps", kProjFront, kNavOrthoZoom, 0, -1000, OrthoView, {0, 0, kMinOrthoZoom}},
};

TEST(Navigation, DragChangesPerPixel) {
    for (const DragCase& c : kDrags) {
        rgViewportState s;
        s.projection = c.projection;
        s.navMode = c.mode;
        rgNavigator nav;
        EXPECT_TRUE(nav.Press(s, kMouseLeft, 100, 100)) << c.name;  // the tool still gets the press
        EXPECT_TRUE(nav.navDragging) << c.name;
        EXPECT_TRUE(nav.Move(s, 100 + c.dx, 100 + c.dy)) << c.name;
        EXPECT_TRUE(Near(c.changed(s), c.expected)) << c.name;
    }
}

TEST(Navigation, CameraMovesAlongItsOwnAxes) {
    rgViewportState s;
    s.projection = kProjCamera;
    s.cameraAngles.set(0, kPi / 2, 0);  // yawed a quarter turn
    matrix44 axes = ViewMatrix(s);
    axes.invert();
    rgNavigator nav;
    s.navMode = kNavCameraMoveXY;
    nav.Press(s, kMouseLeft, 0, 0);
    nav.Move(s, 10, 20);
    EXPECT_TRUE(Near(s.cameraOffset, vector3(0, -30, -100) + axes.x_component() * 1.0f +
                                         axes.y_component() * 2.0f));
    nav.Release(s);
    s.navMode = kNavCameraMoveZ;
    const vector3 before = s.cameraOffset;
    nav.Press(s, kMouseLeft, 0, 0);
    nav.Move(s, 50, 30);
    EXPECT_TRUE(Near(s.cameraOffset, before - axes.z_component() * 3.0f));
}

TEST(Navigation, ZoomDragUsesTheCurrentZoomEachMove) {
    rgViewportState s;
    s.projection = kProjFront;
    s.navMode = kNavOrthoZoom;
    rgNavigator nav;
    nav.Press(s, kMouseLeft, 0, 0);
    nav.Move(s, 0, 100);
    EXPECT_FLOAT_EQ(s.orthoView.z, 0.01f + 0.0025f * 100 * 0.01f);
    nav.Move(s, 0, 100);  // same place, larger current zoom: the growth speeds up
    EXPECT_FLOAT_EQ(s.orthoView.z, 0.01f + 0.0025f * 100 * 0.0125f);
}

TEST(Navigation, ModeZeroLeavesTheCameraToTheTool) {
    rgViewportState s;
    rgNavigator nav;
    EXPECT_TRUE(nav.Press(s, kMouseRight, 5, 5));
    EXPECT_FALSE(nav.navDragging);
    EXPECT_FALSE(nav.Move(s, 50, 50));
    EXPECT_TRUE(Near(s.perspOffset, {0, -30, -100}));
    EXPECT_TRUE(nav.Release(s));
    EXPECT_FALSE(nav.buttonDown);
}

struct MiddleCase {
    int projection;
    int dragMode;
};

TEST(Navigation, MiddleButtonNavigatesUnderAnyToolAndRestoresTheMode) {
    for (const MiddleCase c :
         {MiddleCase{kProjPerspective, kNavPerspMoveXY}, MiddleCase{kProjCamera, kNavCameraMoveXY},
          MiddleCase{kProjLeft, kNavOrthoPan}}) {
        rgViewportState s;
        s.projection = c.projection;
        s.navMode = kNavNone;
        rgNavigator nav;
        EXPECT_FALSE(nav.Press(s, kMouseMiddle, 0, 0));  // never reaches the tool
        EXPECT_EQ(s.navMode, c.dragMode);
        EXPECT_TRUE(nav.Move(s, 10, 10));
        EXPECT_FALSE(nav.Release(s));  // nor does its release
        EXPECT_EQ(s.navMode, kNavNone);
        EXPECT_FALSE(nav.navDragging);
        EXPECT_FALSE(nav.middleNav);
    }
    // A chosen navigation mode comes back after a middle drag.
    rgViewportState s;
    s.navMode = kNavPerspRotate;
    rgNavigator nav;
    nav.Press(s, kMouseMiddle, 0, 0);
    nav.Release(s);
    EXPECT_EQ(s.navMode, kNavPerspRotate);
}

TEST(Navigation, LeftViewPanFollowsThePointer) {
    rgViewportState s;
    s.projection = kProjLeft;
    s.navMode = kNavOrthoPan;
    rgNavigator nav;
    nav.Press(s, kMouseLeft, 0, 0);
    nav.Move(s, 10, 0);
    EXPECT_GT(s.orthoView.y, 0);  // right: the second component (world Z) grows
    nav.Move(s, 0, 10);
    EXPECT_LT(s.orthoView.x, 0);  // down: the first component (world Y) shrinks
}

TEST(ZoomWheel, StepsPerProjection) {
    rgViewportState s;
    ZoomWheel(s, kWheelStep);
    EXPECT_FLOAT_EQ(s.perspOffset.z, -97);  // 3 units towards the origin

    s.projection = kProjFront;
    ZoomWheel(s, kWheelStep);
    EXPECT_FLOAT_EQ(s.orthoView.z, 0.01f * 1.15f);
    ZoomWheel(s, -kWheelStep);
    EXPECT_FLOAT_EQ(s.orthoView.z, 0.01f * 1.15f * 0.85f);  // not back at the start
    s.orthoView.z = 0.00001f;
    ZoomWheel(s, -kWheelStep);
    EXPECT_FLOAT_EQ(s.orthoView.z, kMinOrthoZoom);

    s.projection = kProjCamera;
    s.cameraAngles.set(0, kPi / 2, 0);
    matrix44 axes = ViewMatrix(s);
    axes.invert();
    const vector3 before = s.cameraOffset;
    ZoomWheel(s, kWheelStep);
    EXPECT_TRUE(Near(s.cameraOffset, before - axes.z_component() * 3.0f));
}

class ZoomAllTest : public ::testing::Test {
protected:
    rgSceneContext context;
    rgScene scene{context};
};

TEST_F(ZoomAllTest, EmptySceneResetsTheView) {
    rgViewportState s;
    s.perspOffset.set(1, 2, 3);
    s.orthoView.set(5, 5, 2);
    vector3 c;
    float r = 0;
    ZoomAll(s, scene.GetBoundingSphere(c, r), c, r);
    EXPECT_TRUE(Near(s.perspOffset, {0, -30, -100}));
    EXPECT_TRUE(Near(s.orthoView, {0, 0, 0.01f}));
}

struct FrameCase {
    int projection;
    vector3 orthoView, perspOffset, cameraOffset;
};

TEST_F(ZoomAllTest, OneMeshIsCentredInEveryProjection) {
    rgMesh* mesh = scene.CreateMesh();
    scene.GetRootNode()->AttachChild(mesh);
    rgVertex v;
    v.position.set(1, 1, 1);
    mesh->AddVertex(v);
    v.position.set(3, 1, 1);
    mesh->AddVertex(v);  // centre (2, 1, 1), radius 1
    const float back = -1 - 1.732050808f;
    const FrameCase cases[] = {
        {kProjFront, {-2, -1, 1}, {0, -30, -100}, {0, -30, -100}},
        {kProjBack, {-2, -1, 1}, {0, -30, -100}, {0, -30, -100}},
        {kProjLeft, {-1, -1, 1}, {0, -30, -100}, {0, -30, -100}},
        {kProjRight, {-1, -1, 1}, {0, -30, -100}, {0, -30, -100}},
        {kProjTop, {-2, -1, 1}, {0, -30, -100}, {0, -30, -100}},
        {kProjBottom, {-2, -1, 1}, {0, -30, -100}, {0, -30, -100}},
        {kProjPerspective, {0, 0, 0.01f}, {-2, -1, back}, {0, -30, -100}},
        {kProjCamera, {0, 0, 0.01f}, {0, -30, -100}, {-2, -1, back}},
    };
    for (const FrameCase& c : cases) {
        rgViewportState s;
        s.projection = c.projection;
        s.perspAngles.set(0.5f, 0.5f, 0);
        s.cameraAngles.set(0.5f, 0.5f, 0);
        vector3 centre;
        float radius = 0;
        ZoomAll(s, scene.GetBoundingSphere(centre, radius), centre, radius);
        EXPECT_TRUE(Near(s.orthoView, c.orthoView)) << c.projection;
        EXPECT_TRUE(Near(s.perspOffset, c.perspOffset)) << c.projection;
        EXPECT_TRUE(Near(s.cameraOffset, c.cameraOffset)) << c.projection;
        if (c.projection == kProjPerspective) {
            EXPECT_TRUE(Near(s.perspAngles, {0, 0, 0}));
        }
        if (c.projection == kProjCamera) {
            EXPECT_TRUE(Near(s.cameraAngles, {0, 0, 0}));
        }
    }
}

// Frame Selected looks at the selected nodes only, with room around them.
TEST_F(ZoomAllTest, FrameSelectedFramesTheSelectionWithAMargin) {
    rgMesh* far = scene.CreateMesh();
    scene.GetRootNode()->AttachChild(far);
    rgVertex v;
    v.position.set(100, 0, 0);
    far->AddVertex(v);
    v.position.set(140, 0, 0);
    far->AddVertex(v);
    rgMesh* near = scene.CreateMesh();
    scene.GetRootNode()->AttachChild(near);
    v.position.set(1, 1, 1);
    near->AddVertex(v);
    v.position.set(3, 1, 1);
    near->AddVertex(v);  // centre (2, 1, 1), radius 1
    rgViewportState s;
    s.projection = kProjFront;
    s.orthoView.set(7, 7, 7);
    EXPECT_FALSE(FrameSelected(s, scene));  // nothing selected: the view stays
    EXPECT_TRUE(Near(s.orthoView, {7, 7, 7}));

    near->SetSelected(true);
    ASSERT_TRUE(FrameSelected(s, scene));
    EXPECT_TRUE(Near(s.orthoView, {-2, -1, 1 / kFrameMargin}));
    s.projection = kProjPerspective;
    ASSERT_TRUE(FrameSelected(s, scene));
    EXPECT_TRUE(Near(s.perspOffset, {-2, -1, -1 - 1.732050808f * kFrameMargin}));

    // A lone joint: its own small sphere (0.1), with the margin.
    near->SetSelected(false);
    rgBone* joint = scene.CreateBone();
    scene.GetRootNode()->AttachChild(joint);
    joint->GetLocalMatrix().translate(5, 6, 7);
    joint->SetSelected(true);
    s.projection = kProjFront;
    ASSERT_TRUE(FrameSelected(s, scene));
    EXPECT_TRUE(Near(s.orthoView, {-5, -6, 1 / (0.1f * kFrameMargin)}, 1e-4f));
}

TEST(ZoomAll, APointSizedSceneGetsAFiniteZoom) {
    rgViewportState s;
    s.projection = kProjFront;
    ZoomAll(s, true, {4, 5, 6}, 0.0f);
    EXPECT_TRUE(std::isfinite(s.orthoView.z));
    EXPECT_TRUE(Near(s.orthoView, {-4, -5, 1}));
}

}  // namespace
