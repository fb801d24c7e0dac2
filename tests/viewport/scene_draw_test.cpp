#include <gtest/gtest.h>

#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"
#include "tests/scene/recording_painter.h"
#include "viewport/scene_draw.h"
#include "viewport/vertex_display.h"

namespace {

TEST(DrawScene, MeshesThenJointsThenGizmos) {
    rgSceneContext context;
    rgScene scene(context);
    rgSceneNode* root = scene.GetRootNode();
    rgBone* hip = scene.CreateBone();
    hip->SetName("Hip");
    root->AttachChild(hip);
    rgMesh* body = scene.CreateMesh();
    body->SetName("Body");
    root->AttachChild(body);
    rgBone* knee = scene.CreateBone();
    knee->SetName("Knee");
    hip->AttachChild(knee);
    rgMesh* hat = scene.CreateMesh();
    hat->SetName("Hat");
    hip->AttachChild(hat);  // a mesh under a joint comes with its joint
    rgMesh* cape = scene.CreateMesh();
    cape->SetName("Cape");
    root->AttachChild(cape);
    knee->SetSelected(true);
    body->SetSelected(true);
    hip->GetLocalMatrix().translate(0, 3, 0);

    RecordingPainter painter;
    DrawScene(scene, painter, 4, false);
    EXPECT_EQ(painter.drawn, (std::vector<std::string>{"Body", "Cape", "Knee", "Hat", "Hip"}));
    EXPECT_EQ(painter.gizmos, (std::vector<std::string>{"Knee", "Body"}));
    EXPECT_EQ(hat->GetGlobalMatrix().pos_component().y, 3);  // matrices brought up to date first
    EXPECT_EQ(painter.depth, 0);
}

TEST(VertexWeightGrey, WeightOfTheCurrentJoint) {
    rgVertex v;
    v.bone[0] = 3, v.weight[0] = 0.25f;
    v.bone[1] = 5, v.weight[1] = 0.5f;
    v.bone[2] = -1, v.weight[2] = 0.25f;  // an emptied slot keeps its weight but is not counted
    EXPECT_EQ(VertexWeightGrey(v, {}), 0.0f);  // no current joint: black
    EXPECT_EQ(VertexWeightGrey(v, {5, false}), 0.5f);
    EXPECT_EQ(VertexWeightGrey(v, {7, false}), 0.0f);
    EXPECT_FLOAT_EQ(VertexWeightGrey(v, {5, true}), 0.5f / 0.75f);
    rgVertex twice = v;  // a joint in two slots shows the weight of the first
    twice.bone[3] = 5, twice.weight[3] = 0.125f;
    EXPECT_EQ(VertexWeightGrey(twice, {5, false}), 0.5f);
    rgVertex unweighted;
    unweighted.bone[0] = 5;
    EXPECT_EQ(VertexWeightGrey(unweighted, {5, true}), 0.0f);
}

}  // namespace
