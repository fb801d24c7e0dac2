// Rigged characters as other tools write them: skeletons under transformed
// nodes, several animations, sparse LINEAR keys, more than four weights and
// sums that are not 1. Each file is imported into a real scene and posed at
// the first, a middle and the last frame of every clip; the skinned vertices
// are compared with what the glTF rules give there, computed here.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <unistd.h>

#include "animation/key_evaluation.h"
#include "animation/scene_pose.h"
#include "plugins/native/gltf/gltf_format.h"
#include "plugins/native/gltf/tinygltf_config.h"
#include "tests/scene/scene_fixture.h"

namespace kp = kinemo_plugin;
namespace fs = std::filesystem;

namespace {

struct ScratchFolder {
    fs::path path = fs::temp_directory_path() / ("kinemo_clips_" + std::to_string(getpid()));
    ScratchFolder() { fs::create_directories(path); }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

fs::path Scratch(const std::string& name) {
    static const ScratchFolder folder;
    return folder.path / name;
}

constexpr double kRate = 24;

// --- a small glTF document -------------------------------------------------

struct Document {
    tinygltf::Model g;

    template <typename T>
    int Add(const std::vector<T>& values, int componentType, int type, size_t count) {
        if (g.buffers.empty()) g.buffers.emplace_back();
        auto& data = g.buffers[0].data;
        while (data.size() % 4) data.push_back(0);
        tinygltf::BufferView view;
        view.buffer = 0;
        view.byteOffset = data.size();
        view.byteLength = values.size() * sizeof(T);
        const auto* p = reinterpret_cast<const unsigned char*>(values.data());
        data.insert(data.end(), p, p + view.byteLength);
        g.bufferViews.push_back(view);
        tinygltf::Accessor a;
        a.bufferView = static_cast<int>(g.bufferViews.size()) - 1;
        a.componentType = componentType;
        a.type = type;
        a.count = count;
        g.accessors.push_back(a);
        return static_cast<int>(g.accessors.size()) - 1;
    }
    int Floats(const std::vector<float>& v, int type, size_t width) {
        const int a = Add(v, TINYGLTF_COMPONENT_TYPE_FLOAT, type, v.size() / width);
        if (type == TINYGLTF_TYPE_SCALAR) {
            g.accessors.back().minValues = {v.front()};
            g.accessors.back().maxValues = {v.back()};
        }
        return a;
    }
    int Node(const std::string& name, int parent) {
        tinygltf::Node n;
        n.name = name;
        g.nodes.push_back(n);
        const int index = static_cast<int>(g.nodes.size()) - 1;
        if (parent >= 0)
            g.nodes[static_cast<size_t>(parent)].children.push_back(index);
        else
            g.scenes[0].nodes.push_back(index);
        return index;
    }
    // A LINEAR (or other) channel with keys at the given times.
    void Channel(int animation, int node, const char* path, const std::vector<float>& times,
                 const std::vector<float>& values, const char* interpolation = "LINEAR") {
        tinygltf::Animation& a = g.animations[static_cast<size_t>(animation)];
        tinygltf::AnimationSampler s;
        s.input = Floats(times, TINYGLTF_TYPE_SCALAR, 1);
        const bool rotation = std::strcmp(path, "rotation") == 0;
        s.output = Floats(values, rotation ? TINYGLTF_TYPE_VEC4 : TINYGLTF_TYPE_VEC3,
                          rotation ? 4 : 3);
        s.interpolation = interpolation;
        a.samplers.push_back(s);
        tinygltf::AnimationChannel c;
        c.sampler = static_cast<int>(a.samplers.size()) - 1;
        c.target_node = node;
        c.target_path = path;
        a.channels.push_back(c);
    }
};

std::vector<float> AxisAngle(double x, double y, double z, double angle) {
    const double s = std::sin(angle / 2);
    return {static_cast<float>(x * s), static_cast<float>(y * s), static_cast<float>(z * s),
            static_cast<float>(std::cos(angle / 2))};
}

// --- the glTF rules --------------------------------------------------------

kp::Mat4 LocalAt(const tinygltf::Model& g, int node, int animation, double t) {
    const tinygltf::Node& n = g.nodes[static_cast<size_t>(node)];
    if (n.matrix.size() == 16) return kp::Mat4::From(n.matrix.data());
    kp::Trs trs;
    for (size_t k = 0; k < n.translation.size(); ++k) trs.t[k] = n.translation[k];
    for (size_t k = 0; k < n.scale.size(); ++k) trs.s[k] = n.scale[k];
    if (n.rotation.size() == 4) trs.r = {n.rotation[0], n.rotation[1], n.rotation[2], n.rotation[3]};
    if (animation >= 0) {
        const tinygltf::Animation& a = g.animations[static_cast<size_t>(animation)];
        for (const auto& c : a.channels) {
            if (c.target_node != node) continue;
            const auto& s = a.samplers[static_cast<size_t>(c.sampler)];
            auto floats = [&](int accessor) {
                const auto& acc = g.accessors[static_cast<size_t>(accessor)];
                const auto& view = g.bufferViews[static_cast<size_t>(acc.bufferView)];
                const size_t width = acc.type == TINYGLTF_TYPE_SCALAR ? 1 : acc.type == TINYGLTF_TYPE_VEC3 ? 3 : 4;
                std::vector<float> out(acc.count * width);
                std::memcpy(out.data(), g.buffers[0].data.data() + view.byteOffset, out.size() * 4);
                return out;
            };
            const std::vector<float> times = floats(s.input), values = floats(s.output);
            const size_t w = c.target_path == "rotation" ? 4 : 3;
            size_t k = 0;
            while (k + 1 < times.size() && times[k + 1] <= t) ++k;
            double u = 0;
            if (k + 1 < times.size() && t > times[k]) u = (t - times[k]) / (times[k + 1] - times[k]);
            const size_t k2 = k + 1 < times.size() ? k + 1 : k;
            if (t <= times[0]) u = 0, k = 0;
            double v[4];
            if (w == 4) {
                const kp::Quat q = kp::Slerp({values[k * 4], values[k * 4 + 1], values[k * 4 + 2], values[k * 4 + 3]},
                                             {values[k2 * 4], values[k2 * 4 + 1], values[k2 * 4 + 2], values[k2 * 4 + 3]}, u);
                trs.r = kp::Normalized(q);
            } else {
                for (size_t i = 0; i < 3; ++i) v[i] = values[k * 3 + i] + (values[k2 * 3 + i] - values[k * 3 + i]) * u;
                std::copy(v, v + 3, c.target_path == "translation" ? trs.t : trs.s);
            }
        }
    }
    return kp::Compose(trs);
}

kp::Mat4 WorldAt(const tinygltf::Model& g, int node, int animation, double t) {
    for (size_t p = 0; p < g.nodes.size(); ++p)
        for (int c : g.nodes[p].children)
            if (c == node)
                return kp::Mul(LocalAt(g, node, animation, t), WorldAt(g, static_cast<int>(p), animation, t));
    return LocalAt(g, node, animation, t);
}

kp::Mat4 Ibm(const tinygltf::Model& g, size_t joint) {
    const auto& acc = g.accessors[static_cast<size_t>(g.skins[0].inverseBindMatrices)];
    const auto& view = g.bufferViews[static_cast<size_t>(acc.bufferView)];
    float m[16];
    std::memcpy(m, g.buffers[0].data.data() + view.byteOffset + joint * 64, 64);
    return kp::Mat4::From(m);
}

// --- the characters --------------------------------------------------------

// A strip of six joints standing up along y, four vertices a joint,
// weighted to neighbouring joints; vertex 5 names six joints, vertex 9's
// weights add up to 0.99.
struct Character {
    Document d;
    int container = -1;
    std::vector<int> joints;
    std::vector<float> positions;
    std::vector<std::vector<std::pair<int, float>>> influences;  // skin joint, weight
    double size = 5;

    explicit Character(const kp::Mat4& above, bool meshUnderContainer) {
        d.g.asset.version = "2.0";
        d.g.scenes.emplace_back();
        container = d.Node("Armature", -1);
        const kp::Trs trs = kp::Decompose(above);
        auto& a = d.g.nodes[static_cast<size_t>(container)];
        a.translation = {trs.t[0], trs.t[1], trs.t[2]};
        a.rotation = {trs.r.x, trs.r.y, trs.r.z, trs.r.w};
        a.scale = {trs.s[0], trs.s[1], trs.s[2]};
        int parent = container;
        for (int j = 0; j < 6; ++j) {
            parent = d.Node(j == 0 ? "Hip" : "Bone" + std::to_string(j), parent);
            d.g.nodes[static_cast<size_t>(parent)].translation = {0, j == 0 ? 0.5 : 1.0, 0};
            joints.push_back(parent);
        }
        const int meshNode = d.Node("Body", meshUnderContainer ? container : -1);
        // Vertices in the space the bind matrices map from: the world at bind.
        for (int j = 0; j < 6; ++j)
            for (int k = 0; k < 4; ++k) {
                const double local[3] = {k % 2 ? 0.3 : -0.3, 0.25 * (k / 2) + 0.1, k < 2 ? 0.1 : -0.1};
                kp::Mat4 point;
                for (int c = 0; c < 3; ++c) point(3, c) = local[c];
                const kp::Mat4 world = kp::Mul(point, WorldAt(d.g, joints[static_cast<size_t>(j)], -1, 0));
                for (int c = 0; c < 3; ++c) positions.push_back(static_cast<float>(world(3, c)));
                const int next = std::min(j + 1, 5);
                influences.push_back({{j, 0.7f}, {next, 0.3f}});
            }
        influences[5] = {{0, 0.3f}, {1, 0.25f}, {2, 0.2f}, {3, 0.1f}, {4, 0.1f}, {5, 0.05f}};
        influences[9] = {{2, 0.69f}, {3, 0.3f}};
        std::vector<uint8_t> joints0, joints1;
        std::vector<float> weights0, weights1;
        for (const auto& v : influences)
            for (size_t k = 0; k < 8; ++k) {
                const bool used = k < v.size();
                (k < 4 ? joints0 : joints1).push_back(used ? static_cast<uint8_t>(v[k].first) : 0);
                (k < 4 ? weights0 : weights1).push_back(used ? v[k].second : 0.0f);
            }
        tinygltf::Primitive prim;
        const size_t n = positions.size() / 3;
        prim.attributes["POSITION"] = d.Floats(positions, TINYGLTF_TYPE_VEC3, 3);
        d.g.accessors.back().minValues = {-100, -100, -100};
        d.g.accessors.back().maxValues = {100, 100, 100};
        prim.attributes["JOINTS_0"] = d.Add(joints0, TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE, TINYGLTF_TYPE_VEC4, n);
        prim.attributes["WEIGHTS_0"] = d.Floats(weights0, TINYGLTF_TYPE_VEC4, 4);
        prim.attributes["JOINTS_1"] = d.Add(joints1, TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE, TINYGLTF_TYPE_VEC4, n);
        prim.attributes["WEIGHTS_1"] = d.Floats(weights1, TINYGLTF_TYPE_VEC4, 4);
        std::vector<uint16_t> indices;
        for (uint16_t q = 0; q + 3 < n; q += 2) indices.insert(indices.end(), {q, uint16_t(q + 1), uint16_t(q + 2), uint16_t(q + 1), uint16_t(q + 3), uint16_t(q + 2)});
        prim.indices = d.Add(indices, TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT, TINYGLTF_TYPE_SCALAR, indices.size());
        tinygltf::Mesh mesh;
        mesh.primitives.push_back(prim);
        d.g.meshes.push_back(mesh);
        d.g.nodes[static_cast<size_t>(meshNode)].mesh = 0;
        d.g.nodes[static_cast<size_t>(meshNode)].skin = 0;
        tinygltf::Skin skin;
        skin.joints = joints;
        std::vector<float> ibms;
        for (int j : joints) {
            const kp::Mat4 inverse = kp::Inverse(WorldAt(d.g, j, -1, 0));
            for (double v : inverse.m) ibms.push_back(static_cast<float>(v));
        }
        skin.inverseBindMatrices = d.Add(ibms, TINYGLTF_COMPONENT_TYPE_FLOAT, TINYGLTF_TYPE_MAT4, 6);
        d.g.skins.push_back(skin);
    }

    // One animation of `seconds`, named (or not), turning two joints about
    // z and moving the container, with a key every 12 frames.
    void AddAnimation(const std::string& name, double seconds, double turn) {
        tinygltf::Animation a;
        a.name = name;
        d.g.animations.push_back(a);
        const int index = static_cast<int>(d.g.animations.size()) - 1;
        std::vector<float> times, turns, moves;
        for (double t = 0; t <= seconds + 1e-9; t += 0.5) {
            times.push_back(static_cast<float>(t));
            const std::vector<float> q = AxisAngle(0, 0, 1, turn * std::sin(3 * t));
            turns.insert(turns.end(), q.begin(), q.end());
            moves.insert(moves.end(), {static_cast<float>(0.4 * t), 0, static_cast<float>(std::sin(t))});
        }
        d.Channel(index, joints[1], "rotation", times, turns);
        d.Channel(index, joints[3], "rotation", times, turns);
        d.Channel(index, joints[0], "translation", times, moves);
    }

    // Where vertex i is at time t of an animation, by the glTF rules, with
    // the weights engines use: the four strongest, normalised.
    kp::Mat4 Expected(size_t i, int animation, double t) const {
        auto weights = influences[i];
        std::sort(weights.begin(), weights.end(), [](auto& a, auto& b) { return a.second > b.second; });
        if (weights.size() > 4) weights.resize(4);
        double sum = 0;
        for (auto& w : weights) sum += w.second;
        kp::Mat4 point, out;
        for (int c = 0; c < 3; ++c) point(3, c) = positions[i * 3 + static_cast<size_t>(c)];
        for (int c = 0; c < 3; ++c) out(3, c) = 0;
        for (auto& [joint, weight] : weights) {
            const kp::Mat4 p = kp::Mul(kp::Mul(point, Ibm(d.g, static_cast<size_t>(joint))),
                                       WorldAt(d.g, joints[static_cast<size_t>(joint)], animation, t));
            for (int c = 0; c < 3; ++c) out(3, c) += p(3, c) * weight / sum;
        }
        return out;
    }
};

// The imported model as the editor builds it (SceneData.Build, in C++).
class ClipImportTest : public SceneTest {
protected:
    std::vector<rgBone*> joints_;
    rgMesh* mesh_ = nullptr;

    void Build(const kp::Model& model) {
        std::vector<rgSceneNode*> made;
        std::map<int, int> ids;
        for (const kp::Node& n : model.nodes) {
            rgSceneNode* parent = n.parent < 0 ? root() : made[static_cast<size_t>(n.parent)];
            rgSceneNode* node = n.kind == kp::NodeKind::kJoint ? scene->CreateBone()
                                : n.kind == kp::NodeKind::kMesh ? static_cast<rgSceneNode*>(scene->CreateMesh())
                                                                 : new rgSceneNode(scene.get());
            parent->AttachChild(node);
            node->SetName(n.name.c_str());
            matrix44 m;
            std::copy(n.matrix.m, n.matrix.m + 16, m.m);
            node->SetMatrix(m);
            made.push_back(node);
            if (auto* joint = dynamic_cast<rgBone*>(node)) {
                ids[static_cast<int>(made.size()) - 1] = joint->GetId();
                joints_.push_back(joint);
                for (const kp::Key& k : n.keys) {
                    std::copy(k.offset.m, k.offset.m + 16, m.m);
                    joint->SetKey(k.frame, m);
                }
            }
        }
        for (size_t i = 0; i < model.nodes.size(); ++i) {
            if (model.nodes[i].kind != kp::NodeKind::kMesh) continue;
            mesh_ = static_cast<rgMesh*>(made[i]);
            for (const kp::Vertex& v : model.nodes[i].vertices) {
                rgVertex r = MakeVertex({v.position[0], v.position[1], v.position[2]});
                for (int k = 0; k < 4; ++k) {
                    r.bone[k] = v.joint[k] < 0 ? -1 : ids[v.joint[k]];
                    r.weight[k] = v.weight[k];
                }
                mesh_->AddVertex(r, false);
            }
        }
    }
    vector3 Skinned(int i) {
        const rgVertex* v = mesh_->GetTransformedVertex(i);
        return v->position;
    }
};

struct CharacterCase {
    const char* name;
    kp::Mat4 above;
    bool meshUnderContainer;
};

kp::Mat4 Placement(double scale, double ax, double angle, double tx) {
    kp::Trs trs;
    trs.s[0] = trs.s[1] = trs.s[2] = scale;
    trs.r = {std::sin(angle / 2) * ax, 0, std::sin(angle / 2) * (1 - ax), std::cos(angle / 2)};
    trs.t[0] = tx;
    return kp::Compose(trs);
}

TEST_F(ClipImportTest, EveryClipPosesAsTheFileSays) {
    const double pi = std::acos(-1.0);
    const CharacterCase cases[] = {
        {"blender_armature_scaled_0.0254_turned_90", Placement(0.0254, 1, pi / 2, 0), true},
        {"z_up_root", Placement(1, 1, -pi / 2, 0.5), false},
        {"at_the_origin", kp::Mat4(), false},
    };
    for (const CharacterCase& c : cases) {
        SCOPED_TRACE(c.name);
        scene->Clear();
        joints_.clear();
        Character character(c.above, c.meshUnderContainer);
        character.AddAnimation("Walk", 1.0, 0.8);
        character.AddAnimation("", 2.0, -0.5);
        character.AddAnimation("Run", 0.5, 1.2);
        const std::string path = Scratch(std::string(c.name) + ".gltf").string();
        tinygltf::TinyGLTF writer;
        ASSERT_TRUE(writer.WriteGltfSceneToFile(&character.d.g, path, true, true, true, false));

        kp::Model model;
        model.frameRate = kRate;
        std::string problem;
        ASSERT_TRUE(kp::ReadGltf(path, model, problem)) << problem;
        ASSERT_EQ(model.clips.size(), 3u);
        const struct { const char* name; int first, last; } clips[] = {
            {"Walk", 1, 25}, {"Animation 2", 26, 74}, {"Run", 75, 87}};
        for (size_t k = 0; k < 3; ++k) {
            EXPECT_EQ(model.clips[k].name, clips[k].name);
            EXPECT_EQ(model.clips[k].first, clips[k].first);
            EXPECT_EQ(model.clips[k].last, clips[k].last);
        }
        ASSERT_EQ(model.notes.size(), 1u);
        EXPECT_NE(model.notes[0].find("1 vertex had more than four joint weights"), std::string::npos) << model.notes[0];
        EXPECT_NE(model.notes[0].find("1 vertex had weights that did not add up to 1"), std::string::npos) << model.notes[0];
        Build(model);
        // 1e-3 of the model's size, which the nodes above scale.
        const double scale = std::cbrt(std::fabs(
            c.above(0, 0) * (c.above(1, 1) * c.above(2, 2) - c.above(1, 2) * c.above(2, 1)) -
            c.above(0, 1) * (c.above(1, 0) * c.above(2, 2) - c.above(1, 2) * c.above(2, 0)) +
            c.above(0, 2) * (c.above(1, 0) * c.above(2, 1) - c.above(1, 1) * c.above(2, 0))));
        const double near = 1e-3 * character.size * scale;

        // Objects level: every joint stands on its bind pose.
        context.state.editLevel = kEditObjects;
        scene->UpdateScene();
        for (size_t j = 0; j < 6; ++j) {
            const kp::Mat4 bind = kp::Inverse(Ibm(character.d.g, j));
            const matrix44& global = joints_[j]->GetGlobalMatrix();
            for (int k = 0; k < 16; ++k) EXPECT_NEAR(global.m[k], bind.m[k], 1e-4) << "joint " << j;
        }
        // Animation level, in every interpolation mode: the file's pose.
        Animation();
        for (int mode : {0, 1, 2}) {
            context.state.interpolation = mode;
            for (size_t k = 0; k < 3; ++k) {
                const int first = clips[k].first, last = clips[k].last;
                for (int f : {first, (first + last) / 2 + 1, last}) {
                    GoToFrame(*scene, f);
                    scene->UpdateScene();
                    for (size_t v = 0; v < character.influences.size(); ++v) {
                        const kp::Mat4 want = character.Expected(v, static_cast<int>(k), (f - first) / kRate);
                        const vector3 got = Skinned(static_cast<int>(v));
                        EXPECT_NEAR(got.x, want(3, 0), near) << "mode " << mode << " frame " << f << " vertex " << v;
                        EXPECT_NEAR(got.y, want(3, 1), near) << "mode " << mode << " frame " << f << " vertex " << v;
                        EXPECT_NEAR(got.z, want(3, 2), near) << "mode " << mode << " frame " << f << " vertex " << v;
                    }
                }
            }
        }

        // Exported and imported again: the same clips and the same keys.
        kp::Model written = model;
        written.clips[0].loop = true;
        written.firstFrame = 1;
        written.lastFrame = 87;
        context.state.interpolation = kInterpSpline;
        size_t joint = 0;
        for (size_t i = 0; i < written.nodes.size(); ++i) {
            kp::Node& n = written.nodes[i];
            n.id = static_cast<int>(i);
            if (n.kind != kp::NodeKind::kJoint) continue;
            for (int f = 1; f <= 87; ++f) {
                EvaluateAtFrame(*joints_[joint], f, rgAnimationSettings::From(context.state));
                n.samples.push_back(kp::Mat4::From(joints_[joint]->GetOffsetMatrix().m));
            }
            ++joint;
        }
        written.interpolation = kInterpSpline;
        const std::string again = Scratch(std::string(c.name) + "_again").string();
        ASSERT_TRUE(kp::WriteGltf(again, written, true, problem)) << problem;
        kp::Model back;
        back.frameRate = kRate;
        ASSERT_TRUE(kp::ReadGltf(again + ".glb", back, problem)) << problem;
        ASSERT_EQ(back.clips.size(), 3u);
        for (size_t k = 0; k < 3; ++k) {
            EXPECT_EQ(back.clips[k].name, clips[k].name);
            EXPECT_EQ(back.clips[k].first, clips[k].first);
            EXPECT_EQ(back.clips[k].last, clips[k].last);
            EXPECT_EQ(back.clips[k].loop, k == 0);
        }
        std::vector<const kp::Node*> before, after;
        for (const kp::Node& n : written.nodes)
            if (n.kind == kp::NodeKind::kJoint) before.push_back(&n);
        for (const kp::Node& n : back.nodes)
            if (n.kind == kp::NodeKind::kJoint) after.push_back(&n);
        ASSERT_EQ(before.size(), after.size());
        for (size_t j = 0; j < before.size(); ++j) {
            ASSERT_EQ(before[j]->keys.size(), after[j]->keys.size()) << "joint " << j;
            for (size_t k = 0; k < before[j]->keys.size(); ++k) {
                EXPECT_EQ(before[j]->keys[k].frame, after[j]->keys[k].frame);
                const kp::Mat4 a = kp::PoseMatrix(before[j]->matrix, before[j]->keys[k].offset);
                const kp::Mat4 b = kp::PoseMatrix(after[j]->matrix, after[j]->keys[k].offset);
                for (int e = 0; e < 16; ++e)
                    ASSERT_NEAR(a.m[e], b.m[e], 1e-4) << "joint " << j << " key " << k;
            }
        }
    }
}

}  // namespace
