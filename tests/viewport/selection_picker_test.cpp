#include <gtest/gtest.h>

#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"
#include "viewport/selection_picker.h"

namespace {

// A front view at zoom 0.1 of a 202 x 202 client: 10 pixels per unit, the
// origin under client pixel (101, 101).
constexpr int kSize = 202;
constexpr int kCentre = 101;

class PickerTest : public ::testing::Test {
protected:
    PickerTest() {
        view.projection = kProjFront;
        view.orthoView.set(0, 0, 0.1f);
    }

    // A 4 x 4 square facing +z (towards the front view's eye) at depth z.
    rgMesh* AddSquare(float z, bool facingViewer = true) {
        rgMesh* mesh = scene.CreateMesh();
        scene.GetRootNode()->AttachChild(mesh);
        const vector3 corners[4] = {{-2, -2, z}, {2, -2, z}, {2, 2, z}, {-2, 2, z}};
        for (const vector3& c : corners) {
            rgVertex v;
            v.position = c;
            mesh->AddVertex(v, false);
        }
        if (facingViewer) {
            mesh->AddFace(0, 1, 2);
            mesh->AddFace(0, 2, 3);
        } else {
            mesh->AddFace(0, 2, 1);
            mesh->AddFace(0, 3, 2);
        }
        return mesh;
    }
    rgBone* AddJoint(vector3 at) {
        rgBone* joint = scene.CreateBone();
        joint->GetLocalMatrix().translate(at.x, at.y, at.z);
        scene.GetRootNode()->AttachChild(joint);
        return joint;
    }
    // Client pixel of a world point in the front view.
    static int PX(float x) { return kCentre + static_cast<int>(x * 10); }
    static int PY(float y) { return kCentre - static_cast<int>(y * 10); }

    bool PickNode(rgSceneNode* node, int x, int y, int mode = kPickObjects, int shift = 0) {
        scene.UpdateScene();
        rgSelectionPicker picker = rgSelectionPicker::ForRegion(view, kSize, kSize, x, y, 0, 0);
        picker.SetPickHits(&hits);
        return node->Pick(picker, mode, shift);
    }
    bool PickAxis(rgSceneNode* node, int x, int y) {
        scene.UpdateScene();
        rgSelectionPicker picker = rgSelectionPicker::ForRegion(view, kSize, kSize, x, y, 0, 0);
        return node->PickAxis(picker);
    }

    rgSceneContext context;
    rgScene scene{context};
    rgViewportState view;
    rgPickHits hits;
};

TEST_F(PickerTest, MeshIsHitUnderTheCursorOnly) {
    rgMesh* mesh = AddSquare(0);
    EXPECT_TRUE(PickNode(mesh, PX(0), PY(0)));
    EXPECT_TRUE(PickNode(mesh, PX(1.8f), PY(-1.8f)));
    EXPECT_FALSE(PickNode(mesh, PX(3), PY(0)));
    mesh->Hide();
    EXPECT_FALSE(PickNode(mesh, PX(0), PY(0)));
}

TEST_F(PickerTest, SingleClickKeepsTheNearestMesh) {
    rgMesh* far = AddSquare(0);
    rgMesh* near = AddSquare(1);
    hits.Reset(true);
    EXPECT_TRUE(PickNode(near, PX(0), PY(0)));
    EXPECT_FALSE(PickNode(far, PX(0), PY(0)));  // behind the one recorded
    ASSERT_EQ(hits.entries.size(), 1u);
    EXPECT_EQ(hits.entries[0].node, near);

    hits.Reset(true);
    near->SetSelected(true);
    EXPECT_TRUE(PickNode(far, PX(0), PY(0)));
    EXPECT_TRUE(PickNode(near, PX(0), PY(0)));  // nearer than the one before
    ASSERT_EQ(hits.entries.size(), 2u);
    EXPECT_FALSE(hits.entries[0].wasSelected);
    EXPECT_TRUE(hits.entries[1].wasSelected);
    EXPECT_LT(hits.nearestMeshDepth,
              1.0f);  // unsigned depth x 2^-31 of a hit in front of the middle

    hits.Reset(false);  // a frame: every mesh inside counts, nothing is recorded
    EXPECT_TRUE(PickNode(near, PX(0), PY(0)));
    EXPECT_TRUE(PickNode(far, PX(0), PY(0)));
    EXPECT_TRUE(hits.entries.empty());
}

TEST_F(PickerTest, JointsAreRecordedOnEveryHit) {
    rgMesh* mesh = AddSquare(5);
    rgBone* joint = AddJoint({0, 0, -5});
    hits.Reset(true);
    EXPECT_TRUE(PickNode(mesh, PX(0), PY(0)));
    EXPECT_TRUE(PickNode(joint, PX(0), PY(0)));  // behind the mesh, recorded all the same
    EXPECT_FALSE(PickNode(joint, PX(1), PY(0)));
    // A joint is a dot: a click a few pixels beside it takes it, while a
    // mesh keeps the narrow region (5 pixels beyond its edge is a miss).
    EXPECT_TRUE(PickNode(joint, PX(0) + 5, PY(0) - 5));
    EXPECT_FALSE(PickNode(mesh, PX(2) + 5, PY(0)));
    hits.Reset(true);
    EXPECT_TRUE(PickNode(mesh, PX(0), PY(0)));
    EXPECT_TRUE(PickNode(joint, PX(0), PY(0)));
    ASSERT_EQ(hits.entries.size(), 2u);
    EXPECT_EQ(hits.entries[1].node, joint);
    hits.Reset(false);
    EXPECT_TRUE(PickNode(joint, PX(0), PY(0)));
    EXPECT_EQ(hits.entries.size(), 1u);
}

TEST_F(PickerTest, BackFacesAreHitOnlyWhenDrawn) {
    rgMesh* mesh = AddSquare(0, false);
    EXPECT_FALSE(PickNode(mesh, PX(0), PY(0)));
    view.drawBackfaces = true;
    EXPECT_TRUE(PickNode(mesh, PX(0), PY(0)));
}

struct VertexCase {
    const char* name;
    int shift;
    bool underBefore, asideBefore;
    bool underAfter, asideAfter;
};

const VertexCase kVertexCases[] = {
    {"plain_click_replaces", 0, false, true, true, false},
    {"ctrl_adds", kCtrlKey, false, true, true, true},
    {"alt_removes", kAltKey, true, true, false, true},
    {"ctrl_wins_over_alt", kCtrlKey | kAltKey, false, false, true, false},
    {"shift_locks", kShiftKey, false, true, false, true},
};

TEST_F(PickerTest, VertexModeSetsVertexSelectionByModifiers) {
    rgMesh* mesh = AddSquare(0);  // vertex 0 at (-2, -2), vertex 2 at (2, 2)
    for (const VertexCase& c : kVertexCases) {
        mesh->GetVertex(0)->selected = c.underBefore;
        mesh->GetVertex(2)->selected = c.asideBefore;
        EXPECT_FALSE(PickNode(mesh, PX(-2), PY(-2), kPickVertices, c.shift)) << c.name;
        EXPECT_EQ(mesh->GetVertex(0)->selected, c.underAfter) << c.name;
        EXPECT_EQ(mesh->GetVertex(2)->selected, c.asideAfter) << c.name;
    }
    mesh->GetVertex(0)->visible = false;  // hidden vertices are never picked
    mesh->GetVertex(0)->selected = false;
    PickNode(mesh, PX(-2), PY(-2), kPickVertices, kCtrlKey);
    EXPECT_FALSE(mesh->GetVertex(0)->selected);
}

struct AxisCase {
    const char* name;
    float x, y;  // world position clicked
    int axis;
};

// The joint at the origin; at zoom 0.1 the gizmo axes are 0.3 / 0.1 = 3 long
// and the centre sphere has radius 0.3. Z points at the viewer.
const AxisCase kAxes[] = {
    {"x_axis", 2.0f, 0, kAxisX},    {"x_arrowhead_beside_the_line", 2.5f, 0.3f, kAxisX},
    {"y_axis", 0, 1.5f, kAxisY},    {"centre_sphere_beats_z", 0, 0, kAxisCentre},
    {"nothing", -2, -2, kAxisNone},
};

TEST_F(PickerTest, GizmoHandlesSetTheActiveAxis) {
    rgBone* joint = AddJoint({0, 0, 0});
    joint->SetSelected(true);
    rgState& state = context.state;
    state.showHandles = true;
    for (const AxisCase& c : kAxes) {
        state.activeAxis = kAxisNone;
        state.bestAxisDepth = 10000000.0f;
        EXPECT_EQ(PickAxis(joint, PX(c.x), PY(c.y)), c.axis != kAxisNone) << c.name;
        EXPECT_EQ(state.activeAxis, c.axis) << c.name;
    }
    state.showHandles = false;
    state.activeAxis = kAxisNone;
    EXPECT_FALSE(PickAxis(joint, PX(2), PY(0)));
    state.showHandles = true;
    joint->SetSelected(false);
    EXPECT_FALSE(PickAxis(joint, PX(2), PY(0)));
    EXPECT_EQ(state.activeAxis, kAxisNone);
}

}  // namespace
