// The optimised mesh paths (spatial merge, normals, skin table, cached walk)
// against straightforward implementations of the defined algorithms, on
// random data: same indices, same vertices, same floats bit for bit.
#include <cstring>
#include <random>

#include "scene/skin_pack.h"
#include "scene/skin_table.h"
#include "tests/scene/scene_fixture.h"

namespace {

using FastPathTest = SceneTest;

// Linear first-match scan with the defined tolerances.
int ReferenceMergeIndex(const std::vector<rgVertex>& vertices, const rgVertex& v) {
    for (size_t i = 0; i < vertices.size(); ++i) {
        const rgVertex& e = vertices[i];
        if (e.position.isequal(v.position, 1e-7f) && e.normal.isequal(v.normal, 1e-7f) &&
            v.texcoords.IsEqualTo(e.texcoords, 1e-7f))
            return static_cast<int>(i);
    }
    return -1;
}

// Vertices x faces, position match per corner.
std::vector<vector3> ReferenceNormals(const std::vector<rgVertex>& v, const std::vector<rgFace>& faces) {
    std::vector<vector3> out;
    for (const rgVertex& vertex : v) {
        vector3 sum(0, 0, 0);
        int l = 0;
        for (const rgFace& f : faces) {
            const vector3 &a = v[f.a].position, &b = v[f.b].position, &c = v[f.c].position;
            if (a.isequal(vertex.position, 1e-7f) || b.isequal(vertex.position, 1e-7f) ||
                c.isequal(vertex.position, 1e-7f)) {
                sum += (b - a).CrossProduct(c - b);
                ++l;
            }
        }
        if (l == 0) {
            out.push_back(vertex.normal);
            continue;
        }
        vector3 n = sum / static_cast<float>(l);
        n.norm();
        out.push_back(n);
    }
    return out;
}

// Per vertex and influence: a scene search and the skin matrix built afresh.
void ReferenceSkin(rgScene& scene, rgMesh& mesh, std::vector<vector3>& positions, std::vector<vector3>& normals) {
    const matrix44 local = mesh.GetMatrix();
    matrix44 inverseLocal = local;
    inverseLocal.invert();
    for (int i = 0; i < mesh.GetVertexCount(); ++i) {
        const rgVertex& s = *static_cast<const rgMesh&>(mesh).GetVertex(i);
        float w = 0;
        for (int k = 0; k < 4; ++k)
            if (s.bone[k] >= 0) w += s.weight[k];
        const float f = static_cast<double>(w) >= 0.0001 ? 1.0f / w : 0.0f;
        vector3 p(0, 0, 0), n(0, 0, 0);
        bool found = false;
        for (int k = 0; k < 4; ++k) {
            if (s.bone[k] < 0) continue;
            rgBone* joint = scene.FindJointById(s.bone[k]);
            if (!joint) continue;
            found = true;
            const matrix44 S = local * joint->GetInverseRelaxedMatrix() * joint->GetGlobalMatrix() * inverseLocal;
            p += S.Transform(s.position) * (s.weight[k] * f);
            matrix44 noTranslation = S;
            noTranslation.clear_translation();
            n += noTranslation.Transform(s.normal) * (s.weight[k] * f);
        }
        positions.push_back(found ? p : s.position);
        normals.push_back(found ? n : s.normal);
    }
}

bool SameBits(const vector3& a, const vector3& b) { return std::memcmp(&a, &b, sizeof(a)) == 0; }

TEST_F(FastPathTest, MergeMatchesALinearScan) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> grid(0, 6);
    std::uniform_int_distribution<int> jitter(-3, 3);
    rgMesh* mesh = AddMesh(nullptr);
    std::vector<rgVertex> reference;
    for (int n = 0; n < 3000; ++n) {
        // Few distinct positions, nudged by multiples of 4e-8 across the
        // tolerance, with normals and texcoords from small sets.
        rgVertex v = MakeVertex({grid(rng) * 0.5f + jitter(rng) * 4e-8f, grid(rng) * 0.25f,
                                 -grid(rng) * 0.125f + jitter(rng) * 4e-8f},
                                {0, 0, grid(rng) < 3 ? 1.0f : -1.0f},
                                {grid(rng) < 5 ? 0.0f : 0.5f, jitter(rng) * 5e-8f});
        // Every seventh add, and a run in the middle, skips merging: later
        // merges must still find those vertices.
        const bool merge = n % 7 != 3 && (n < 1000 || n > 1200);
        int expected = merge ? ReferenceMergeIndex(reference, v) : -1;
        if (expected < 0) {
            expected = static_cast<int>(reference.size());
            reference.push_back(v);
        }
        ASSERT_EQ(mesh->AddVertex(v, merge), expected) << "vertex " << n;
    }
    ASSERT_EQ(mesh->GetVertexCount(), static_cast<int>(reference.size()));
    // Editing a vertex in place invalidates the index; merging still agrees.
    mesh->GetVertex(0)->position.x += 100;
    reference[0].position.x += 100;
    rgVertex moved = reference[0];
    EXPECT_EQ(mesh->AddVertex(moved), ReferenceMergeIndex(reference, moved));
}

TEST_F(FastPathTest, GenerateNormalsMatchesTheQuadraticDefinition) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> coord(-1, 1);
    std::uniform_int_distribution<int> pick(0, 199);
    rgMesh* mesh = AddMesh(nullptr);
    std::vector<vector3> positions(200);
    for (auto& p : positions) p.set(coord(rng), coord(rng), coord(rng));
    std::vector<rgVertex> vertices;
    for (int i = 0; i < 600; ++i) {  // each position split into about three vertices
        rgVertex v = MakeVertex(positions[static_cast<size_t>(pick(rng))], {0, 0, 0}, {float(i), 0});
        if (i % 7 == 0) v.position.x += 5e-8f;  // within the tolerance of its twin
        vertices.push_back(v);
        mesh->AddVertex(v, false);
    }
    std::vector<rgFace> faces;
    std::uniform_int_distribution<int> vertexPick(0, 599);
    for (int f = 0; f < 500; ++f) {
        rgFace face{vertexPick(rng), vertexPick(rng), vertexPick(rng)};
        faces.push_back(face);
        mesh->AddFace(face.a, face.b, face.c);
    }
    mesh->GenerateNormals();
    const std::vector<vector3> expected = ReferenceNormals(vertices, faces);
    for (int i = 0; i < 600; ++i)
        ASSERT_TRUE(SameBits(mesh->GetVertex(i)->normal, expected[static_cast<size_t>(i)])) << "vertex " << i;
}

TEST_F(FastPathTest, DeformMatchesAPerInfluenceSceneSearch) {
    Animation();
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> angle(-3, 3), coord(-2, 2), weight(0, 1);
    std::vector<rgBone*> joints;
    for (int j = 0; j < 12; ++j) {
        rgSceneNode* parent = j == 0 ? nullptr : joints[static_cast<size_t>(rng() % joints.size())];
        rgBone* joint = AddJoint(parent, {coord(rng), coord(rng), coord(rng)});
        joint->GetLocalMatrix().rotate_y(angle(rng));
        joint->RotateOffset({angle(rng), angle(rng), angle(rng)}, matrix44(), false);
        joint->TranslateOffset({coord(rng), 0, coord(rng)}, matrix44());
        joints.push_back(joint);
    }
    joints[4]->SetId(joints[9]->GetId());  // two joints share a number: the later one counts
    rgMesh* mesh = AddMesh(joints[2]);
    mesh->GetMatrix().rotate_x(0.4f);
    mesh->GetMatrix().translate(1, 2, 3);
    for (int i = 0; i < 2000; ++i) {
        rgVertex v = MakeVertex({coord(rng), coord(rng), coord(rng)}, {coord(rng), coord(rng), coord(rng)});
        for (int k = 0; k < 4; ++k) {
            const int r = static_cast<int>(rng() % 16);
            v.bone[k] = r < 13 ? r : (r == 13 ? 99 : -1);  // some joints missing, some slots empty
            v.weight[k] = weight(rng) * (i % 50 == 0 ? 1e-6f : 1.0f);
        }
        mesh->AddVertex(v, false);
    }
    // Components whose sum is zero, either sign: the wide loop's padding must not change them.
    rgVertex zero = MakeVertex({0, 0, 0}, {-0.0f, 0, -0.0f});
    zero.bone[0] = 0, zero.weight[0] = 1;
    mesh->AddVertex(zero, false);
    scene->UpdateScene();
    mesh->Deform();
    std::vector<vector3> positions, normals;
    ReferenceSkin(*scene, *mesh, positions, normals);
    for (int i = 0; i < mesh->GetVertexCount(); ++i) {
        ASSERT_TRUE(SameBits(mesh->DeformedPositions()[static_cast<size_t>(i)], positions[static_cast<size_t>(i)]))
            << "vertex " << i;
        ASSERT_TRUE(SameBits(mesh->DeformedNormals()[static_cast<size_t>(i)], normals[static_cast<size_t>(i)]))
            << "vertex " << i;
    }
    // Each loop the processor may run gives the same bits.
    const rgSkinTable table(*scene, mesh->GetMatrix());
    rgSkinPack pack;
    pack.Build(mesh->Vertices(), table);
    const size_t n = static_cast<size_t>(mesh->GetVertexCount());
    for (rgSkinKernel kernel : {rgSkinKernel::kBest, rgSkinKernel::kFourLanes}) {
        std::vector<vector3> p(n), q(n);
        pack.Run(table, p.data(), q.data(), kernel);
        for (size_t i = 0; i < n; ++i) {
            ASSERT_TRUE(SameBits(p[i], positions[i])) << "vertex " << i;
            ASSERT_TRUE(SameBits(q[i], normals[i])) << "vertex " << i;
        }
    }
}

}  // namespace
