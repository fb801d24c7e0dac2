#include "tests/scene/scene_fixture.h"

#include <set>

namespace {

using RgSceneTest = SceneTest;

class RecordingWatcher : public rgObjectWatcher {
public:
    void ObjectDestroyed(const void* object) override { destroyed.insert(object); }
    std::set<const void*> destroyed;
};

std::vector<std::string> CursorNames(rgScene& scene) {
    std::vector<std::string> names;
    for (rgSceneNode* n = scene.GetFirstNode(); n; n = scene.GetNextNode()) names.push_back(n->GetName());
    return names;
}

TEST_F(RgSceneTest, EmptyScene) {
    EXPECT_EQ(scene->GetFirstNode(), nullptr);
    EXPECT_EQ(scene->GetNextNode(), nullptr);
    vector3 c(7, 7, 7);
    float r = 7;
    EXPECT_FALSE(scene->GetBoundingSphere(c, r));
    EXPECT_EQ(c, vector3(7, 7, 7));
    EXPECT_EQ(r, 7.0f);
    EXPECT_EQ(scene->FindJointById(1), nullptr);
}

TEST_F(RgSceneTest, WalkOrderIsDepthFirstPreOrder) {
    rgSceneNode* a = AddNode(nullptr, "A");
    AddNode(a, "B");
    rgSceneNode* c = AddNode(a, "C");
    AddNode(nullptr, "D");
    std::vector<std::string> visited;
    scene->ForEach([&](rgSceneNode* n) { visited.push_back(n->GetName()); });
    EXPECT_EQ(visited, (std::vector<std::string>{"A", "B", "C", "D"}));
    EXPECT_EQ(CursorNames(*scene), visited);

    // A change between cursor calls shifts the sequence as a fresh walk would.
    EXPECT_EQ(scene->GetFirstNode()->GetName(), "A");
    EXPECT_EQ(scene->GetNextNode()->GetName(), "B");
    AddNode(a, "A0");
    delete a->GetChild(0);  // B goes: A, C, A0, D
    EXPECT_EQ(scene->GetNextNode()->GetName(), "A0");
    EXPECT_EQ(scene->GetNextNode()->GetName(), "D");
    EXPECT_EQ(scene->GetNextNode(), nullptr);
    (void)c;
}

TEST_F(RgSceneTest, CreateNodeByClassName) {
    tree.Reset();
    rgSceneNode* joint = scene->CreateNode("RGBONE", nullptr);
    ASSERT_NE(joint, nullptr);
    EXPECT_EQ(joint->GetParent(), root());
    EXPECT_EQ(tree.log.back(), "add Joint1 under Scene");
    rgSceneNode* mesh = scene->CreateNode("rgmesh", joint);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->GetParent(), joint);
    EXPECT_EQ(scene->CreateNode("rgSceneNode", nullptr), nullptr);
    EXPECT_EQ(scene->CreateNode("Camera", nullptr), nullptr);
    EXPECT_EQ(root()->GetChildCount(), 1);

    rgBone* loose = scene->CreateBone();
    EXPECT_EQ(loose->GetParent(), nullptr);
    delete loose;
}

TEST_F(RgSceneTest, FindJointByIdTakesTheLastInWalkOrder) {
    rgBone* a = AddJoint(nullptr);
    rgBone* b = AddJoint(a);
    rgBone* c = AddJoint(nullptr);
    b->SetId(9);
    c->SetId(9);
    EXPECT_EQ(scene->FindJointById(9), c);
    EXPECT_EQ(scene->FindJointById(a->GetId()), a);
    EXPECT_EQ(scene->FindJointById(2), nullptr);
}

TEST_F(RgSceneTest, BoundingSphereCoversEveryNodesSphere) {
    AddJoint(nullptr, {2, 0, 0});
    AddJoint(nullptr, {-2, 0, 0});
    scene->UpdateScene();
    vector3 c;
    float r = 0;
    ASSERT_TRUE(scene->GetBoundingSphere(c, r));
    EXPECT_TRUE(Near3(c, {0, 0, 0}));
    EXPECT_FLOAT_EQ(r, 2.1f);
}

TEST_F(RgSceneTest, ClearResetsToolsTreeAndNumbering) {
    AddJoint(AddJoint(nullptr));
    scene->Clear();
    EXPECT_EQ(tools.resets, 1);
    EXPECT_EQ(root()->GetChildCount(), 0);
    EXPECT_TRUE(tree.hasRoot);
    EXPECT_TRUE(tree.items.empty());
    EXPECT_EQ(tree.log.back(), "reset");
    EXPECT_FALSE(tree.suspendedNow);
    EXPECT_EQ(AddJoint(nullptr)->GetName(), "Joint1");
}

TEST_F(RgSceneTest, CopyIsDeepAndIndependent) {
    rgBone* joint = AddJoint(nullptr, {1, 0, 0});
    joint->SetId(5);
    joint->SetKey(3, matrix44(), 0.5f);
    rgMesh* mesh = AddMesh(joint);
    rgVertex v = MakeVertex({1, 2, 3});
    v.bone[0] = 5;
    mesh->AddVertex(v);
    AddNode(nullptr, "plain");
    const size_t itemsBefore = tree.items.size();

    std::unique_ptr<rgScene> copy = scene->Copy();
    EXPECT_EQ(tree.items.size(), itemsBefore);  // no tree items for the copy
    scene.reset();  // the source goes away
    rgBone* cj = ToBone(copy->GetFirstNode());
    ASSERT_NE(cj, nullptr);
    EXPECT_EQ(cj->GetScene(), copy.get());
    EXPECT_EQ(cj->GetId(), 5);
    EXPECT_EQ(cj->GetKeyCount(), 1);
    EXPECT_EQ(cj->GetKey(0)->trans_tcb.x, 0.5f);
    EXPECT_FALSE(tree.HasItem(cj));
    rgMesh* cm = ToMesh(copy->GetNextNode());
    ASSERT_NE(cm, nullptr);
    EXPECT_EQ(cm->GetVertex(0)->bone[0], 5);  // references survive
    EXPECT_EQ(copy->GetNextNode()->GetName(), "plain");
    EXPECT_EQ(copy->FindJointById(5), cj);

    copy->RebuildTree();
    EXPECT_TRUE(tree.HasItem(cj));
}

TEST_F(RgSceneTest, TreeExpansionSurvivesARebuildByName) {
    rgBone* a = AddJoint(nullptr);
    rgBone* b = AddJoint(a);
    rgBone* twin = AddJoint(nullptr);
    twin->SetName("Joint1");  // same name as a
    AddJoint(b);
    scene->RebuildTree();
    tree.ExpandItem(a);
    scene->SaveTreeExpansion();
    ASSERT_EQ(context.savedTreeExpansion.size(), 4u);
    EXPECT_TRUE(context.savedTreeExpansion[0].expanded);
    EXPECT_FALSE(context.savedTreeExpansion[1].expanded);

    scene->RebuildTree();  // items come back collapsed
    EXPECT_FALSE(tree.items.at(a).expanded);
    scene->RestoreTreeExpansion();
    EXPECT_TRUE(tree.items.at(a).expanded);
    EXPECT_TRUE(tree.items.at(twin).expanded);  // every record with the name applies
    EXPECT_FALSE(tree.items.at(b).expanded);
    EXPECT_TRUE(tree.rootExpanded);
    EXPECT_FALSE(tree.suspendedNow);
}

TEST_F(RgSceneTest, TheObjectWatcherHearsOfEverythingScriptsCanHold) {
    RecordingWatcher watcher;
    context.SetObjectWatcher(&watcher);
    rgBone* joint = AddJoint(nullptr);
    const matrix44 m;
    for (int frame : {1, 2, 3}) joint->SetKey(frame, m);
    rgKeyframe* byIndex = joint->GetKey(0);
    rgKeyframe* kept = joint->GetKey(1);
    rgKeyframe* byFrame = joint->GetKey(2);
    rgMesh* mesh = AddMesh(joint);
    rgSceneNode* node = AddNode(mesh, "N");
    joint->DeleteKeyIndex(0);
    joint->DeleteKey(3);
    EXPECT_EQ(watcher.destroyed, (std::set<const void*>{byIndex, byFrame}));

    const void* vertices = &mesh->Vertices();
    const void* oldRoot = root();
    scene->Clear();
    EXPECT_EQ(watcher.destroyed, (std::set<const void*>{byIndex, byFrame, kept, joint, mesh,
                                                        vertices, node, oldRoot}));
    context.SetObjectWatcher(nullptr);
}

}  // namespace
