#include <cmath>
#include <string>
#include <vector>

#include "editing/mesh_commands.h"
#include "scene/user_messages.h"
#include "tests/editing/tool_fixture.h"

namespace {

class RecordedStatus : public rgUserMessages {
public:
    void ShowStatus(const std::string& text) override { status.push_back(text); }
    std::vector<std::string> status;
};

// A mesh made of loose triangles, placed in the world by a turned, scaled
// and moved local matrix, with a plain node hanging under it.
class MeshCommandsTest : public ToolTest {
protected:
    MeshCommandsTest() {
        editor.context.SetMessages(&messages);
        mesh = scene().CreateMesh();
        scene().GetRootNode()->AttachChild(mesh);
        mesh->GetMatrix().scale(2, 1, 0.5f);
        mesh->GetMatrix().rotate_y(0.7f);
        mesh->GetMatrix().translate(5, 1, -2);
        child = new rgSceneNode(&scene());
        mesh->AttachChild(child);
        child->GetMatrix().translate(1, 2, 3);
        mesh->SetSelected(true);
    }
    ~MeshCommandsTest() override { editor.context.SetMessages(nullptr); }

    void Triangle(vector3 a, vector3 b, vector3 c, vector2 uv = {}) {
        const vector3 p[3] = {a, b, c};
        vector3 n = (b - a).CrossProduct(c - a);
        n.norm();
        int index[3];
        for (int k = 0; k < 3; ++k) {
            rgVertex v;
            v.position = p[k];
            v.normal = n;
            v.texcoords = uv;
            index[k] = mesh->AddVertex(v, false);
        }
        mesh->AddFace(index[0], index[1], index[2]);
    }
    // Where vertex i and the child are in the world.
    vector3 World(int i) {
        scene().UpdateScene();
        return mesh->GetGlobalMatrix().Transform(mesh->GetVertex(i)->position);
    }
    vector3 ChildWorld() {
        scene().UpdateScene();
        return child->GetGlobalMatrix().pos_component();
    }
    static bool Near(const vector3& a, const vector3& b) {
        return std::fabs(a.x - b.x) < 1e-4f && std::fabs(a.y - b.y) < 1e-4f &&
               std::fabs(a.z - b.z) < 1e-4f;
    }

    RecordedStatus messages;
    rgMesh* mesh = nullptr;
    rgSceneNode* child = nullptr;
};

TEST_F(MeshCommandsTest, WithoutASelectedMeshNothingHappens) {
    Triangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    mesh->SetSelected(false);
    const struct {
        const char* label;
        int (*run)(rgEditor&);
    } commands[] = {
        {"Generate Normals", GenerateMeshNormals},
        {"Flip Faces", FlipMeshFaces},
        {"Merge Duplicate Vertices", [](rgEditor& e) { return MergeDuplicateVertices(e, 0.1f); }},
        {"Center Pivot", CenterMeshPivots},
        {"Freeze Transform", FreezeMeshTransforms},
    };
    for (const auto& c : commands) {
        EXPECT_EQ(c.run(editor), 0) << c.label;
        ASSERT_FALSE(messages.status.empty());
        EXPECT_EQ(messages.status.back(), std::string(c.label) + ": select a mesh first");
    }
    EXPECT_EQ(editor.undo.Count(), 0);
}

TEST_F(MeshCommandsTest, FlipFacesTurnsTrianglesAndNormals) {
    Triangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    EXPECT_EQ(FlipMeshFaces(editor), 1);
    EXPECT_EQ(editor.undo.TopLabel(), "Flip Faces");
    mesh = static_cast<rgMesh*>(scene().GetRootNode()->GetChild(0));
    int a, b, c;
    mesh->GetFace(0, a, b, c);
    EXPECT_EQ((std::vector<int>{a, b, c}), (std::vector<int>{2, 1, 0}));
    EXPECT_FLOAT_EQ(mesh->GetVertex(0)->normal.z, -1);
    editor.Undo();
    mesh = static_cast<rgMesh*>(scene().GetRootNode()->GetChild(0));
    mesh->GetFace(0, a, b, c);
    EXPECT_EQ((std::vector<int>{a, b, c}), (std::vector<int>{0, 1, 2}));
    EXPECT_FLOAT_EQ(mesh->GetVertex(0)->normal.z, 1);
}

TEST_F(MeshCommandsTest, MergeWeldsCornersButKeepsUvSeams) {
    // A quad of two loose triangles (two corners shared, one within 1e-5),
    // a third triangle on another UV island at the same corner, and a sliver
    // that collapses once merged.
    Triangle({0, 0, 0}, {1, 0, 0}, {1, 1, 0});
    Triangle({0, 0, 0}, {1, 1.00001f, 0}, {0, 1, 0});
    Triangle({0, 0, 0}, {-1, 0, 0}, {0, -1, 0}, {0.5f, 0.5f});
    Triangle({2, 2, 2}, {2, 2, 2.00001f}, {3, 2, 2});
    ASSERT_EQ(mesh->GetVertexCount(), 12);
    EXPECT_EQ(MergeDuplicateVertices(editor, 0.0f), 1);  // only the exact copy of (0, 0, 0)
    EXPECT_EQ(MergeDuplicateVertices(editor, 0.001f), 2);
    EXPECT_EQ(editor.undo.TopLabel(), "Merge Duplicate Vertices");
    EXPECT_EQ(mesh->GetVertexCount(), 9);
    ASSERT_EQ(mesh->GetFaceCount(), 3);  // the sliver went
    int a, b, c;
    mesh->GetFace(1, a, b, c);
    EXPECT_EQ((std::vector<int>{a, b, c}), (std::vector<int>{0, 2, 3}));
    mesh->GetFace(2, a, b, c);
    EXPECT_NE(a, 0) << "the corner on the other UV island stays its own vertex";
}

TEST_F(MeshCommandsTest, CenterPivotAndFreezeTransformMoveNothingInTheWorld) {
    Triangle({1, 1, 1}, {3, 1, 1}, {1, 4, 2});
    std::vector<vector3> before;
    for (int i = 0; i < 3; ++i) before.push_back(World(i));
    const vector3 childBefore = ChildWorld();

    EXPECT_EQ(CenterMeshPivots(editor), 1);
    EXPECT_EQ(editor.undo.TopLabel(), "Center Pivot");
    EXPECT_TRUE(Near(mesh->GetVertex(0)->position, {-1, -1.5f, -0.5f}));  // box centre (2, 2.5, 1.5)
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(Near(World(i), before[size_t(i)])) << i;
    EXPECT_TRUE(Near(ChildWorld(), childBefore));

    EXPECT_EQ(FreezeMeshTransforms(editor), 1);
    EXPECT_EQ(editor.undo.TopLabel(), "Freeze Transform");
    matrix44 identity;
    identity.ident();
    EXPECT_TRUE(mesh->GetMatrix() == identity);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(Near(World(i), before[size_t(i)])) << i;
    EXPECT_TRUE(Near(ChildWorld(), childBefore));
    // The non-uniform scale went into the vertices: normals stay at right
    // angles to the face and of unit length.
    const vector3 e1 = mesh->GetVertex(1)->position - mesh->GetVertex(0)->position;
    const vector3 e2 = mesh->GetVertex(2)->position - mesh->GetVertex(0)->position;
    const vector3 n = mesh->GetVertex(0)->normal;
    EXPECT_NEAR(n.DotProduct(e1), 0, 1e-4f);
    EXPECT_NEAR(n.DotProduct(e2), 0, 1e-4f);
    EXPECT_NEAR(n.len(), 1, 1e-5f);

    editor.Undo();
    editor.Undo();
    mesh = static_cast<rgMesh*>(scene().GetRootNode()->GetChild(0));
    EXPECT_TRUE(Near(mesh->GetVertex(0)->position, {1, 1, 1}));
}

}  // namespace
