#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <unistd.h>

#include "animation/key_evaluation.h"
#include "plugins/native/common/texture_files.h"
#include "plugins/native/gltf/gltf_format.h"
#include "plugins/native/gltf/tinygltf_config.h"
#include "tests/scene/scene_fixture.h"

namespace kp = kinemo_plugin;
namespace fs = std::filesystem;

namespace {

// One folder a process, removed when the tests end.
struct ScratchFolder {
    fs::path path = fs::temp_directory_path() / ("kinemo_gltf_" + std::to_string(getpid()));
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

fs::path Scratch(const std::string& name) {
    static const ScratchFolder folder;
    fs::create_directories(folder.path);
    return folder.path / name;
}

// Floats of an accessor as the writer lays them out (tightly packed).
std::vector<float> Floats(const tinygltf::Model& g, int accessor) {
    const tinygltf::Accessor& a = g.accessors[static_cast<size_t>(accessor)];
    const tinygltf::BufferView& v = g.bufferViews[static_cast<size_t>(a.bufferView)];
    const int width = a.type == TINYGLTF_TYPE_SCALAR ? 1 : a.type == TINYGLTF_TYPE_VEC3 ? 3 : 4;
    std::vector<float> out(a.count * static_cast<size_t>(width));
    std::memcpy(out.data(), g.buffers[0].data.data() + v.byteOffset + a.byteOffset,
                out.size() * sizeof(float));
    return out;
}

// A channel evaluated as the glTF specification defines it.
std::vector<double> Evaluate(const tinygltf::Model& g, const tinygltf::AnimationSampler& s,
                             double t) {
    const std::vector<float> times = Floats(g, s.input), values = Floats(g, s.output);
    const size_t n = times.size(),
                 width = values.size() / n / (s.interpolation == "CUBICSPLINE" ? 3 : 1);
    auto value = [&](size_t k, size_t part) {
        const size_t i = s.interpolation == "CUBICSPLINE" ? (3 * k + part) * width : k * width;
        return std::vector<double>(values.begin() + static_cast<long>(i),
                                   values.begin() + static_cast<long>(i + width));
    };
    if (t <= times[0]) return value(0, 1);
    if (t >= times[n - 1]) return value(n - 1, 1);
    size_t k = 0;
    while (times[k + 1] <= t) ++k;
    if (s.interpolation == "STEP") return value(k, 1);
    const double span = times[k + 1] - times[k], u = (t - times[k]) / span;
    std::vector<double> a = value(k, 1), b = value(k + 1, 1), out(width);
    if (s.interpolation == "CUBICSPLINE") {
        const std::vector<double> outTangent = value(k, 2), inTangent = value(k + 1, 0);
        for (size_t c = 0; c < width; ++c)
            out[c] = (2 * u * u * u - 3 * u * u + 1) * a[c] +
                     span * (u * u * u - 2 * u * u + u) * outTangent[c] +
                     (-2 * u * u * u + 3 * u * u) * b[c] +
                     span * (u * u * u - u * u) * inTangent[c];
    } else if (width == 4) {
        const kp::Quat q = kp::Slerp({a[0], a[1], a[2], a[3]}, {b[0], b[1], b[2], b[3]}, u);
        out = {q.x, q.y, q.z, q.w};
    } else {
        for (size_t c = 0; c < width; ++c) out[c] = a[c] + (b[c] - a[c]) * u;
    }
    return out;
}

class GltfExportTest : public SceneTest, public ::testing::WithParamInterface<int> {};

// The written channels give the pose the editor plays at every frame (and
// between frames where the conversion is exact): STEP switches halfway
// between keys, LINEAR slerps, CUBICSPLINE carries the TCB tangents.
TEST_P(GltfExportTest, ChannelsReplayTheEditorsInterpolation) {
    const int mode = GetParam();
    rgBone* joint = AddJoint(nullptr);
    joint->GetLocalMatrix().rotate(0.6f, 0.8f, 0, 0.7f);
    joint->GetLocalMatrix().translate(1, 2, 3);
    const int frames[] = {1, 4, 10, 11, 20};
    for (int k = 0; k < 5; ++k) {
        matrix44 m;
        m.rotate(0, k % 2 ? 0.6f : 1.0f, k % 2 ? 0.8f : 0.0f, 0.5f * static_cast<float>(k) - 1.0f);
        m.translate(static_cast<float>(k * k) * 0.3f, std::sin(static_cast<float>(k)),
                    0.1f * static_cast<float>(k));
        joint->SetKey(frames[k], m, 0.3f * static_cast<float>(k) - 0.5f,
                      0.2f - 0.1f * static_cast<float>(k), 0.15f * static_cast<float>(k % 3), 0.1f,
                      -0.2f, 0.3f);
    }
    const rgAnimationSettings settings{mode, 24.0f, 1.0f};

    kp::Model model;
    model.frameRate = 24;
    model.interpolation = mode;
    model.firstFrame = 1;
    model.lastFrame = 20;
    kp::Node& node = model.nodes.emplace_back();
    node.kind = kp::NodeKind::kJoint;
    node.name = "Joint";
    node.id = joint->GetId();
    node.matrix = kp::Mat4::From(joint->GetLocalMatrix().m);
    for (int i = 0; i < joint->GetKeyCount(); ++i) {
        const rgKeyframe& k = *joint->GetKey(i);
        node.keys.push_back(
            {k.frame,
             kp::Mat4::From(k.matrix.m),
             {k.trans_tcb.x, k.trans_tcb.y, k.trans_tcb.z, k.rot_tcb.x, k.rot_tcb.y, k.rot_tcb.z}});
    }
    for (int f = 1; f <= 20; ++f) {
        EvaluateAtFrame(*joint, f, settings);
        node.samples.push_back(kp::Mat4::From(joint->GetOffsetMatrix().m));
    }
    const std::string path = Scratch("channels_" + std::to_string(mode)).string();
    std::string problem;
    ASSERT_TRUE(kp::WriteGltf(path, model, false, problem)) << problem;

    tinygltf::TinyGLTF loader;
    tinygltf::Model g;
    std::string error, warning;
    ASSERT_TRUE(loader.LoadASCIIFromFile(&g, &error, &warning, path + ".gltf")) << error;
    ASSERT_EQ(g.animations.size(), 1u);
    const tinygltf::AnimationSampler* translation = nullptr;
    const tinygltf::AnimationSampler* rotation = nullptr;
    for (const auto& c : g.animations[0].channels)
        (c.target_path == "translation" ? translation : rotation) =
            &g.animations[0].samplers[static_cast<size_t>(c.sampler)];
    const char* expected[] = {"STEP", "LINEAR", "CUBICSPLINE"};
    EXPECT_EQ(translation->interpolation, expected[mode]);

    // Fifths of frames through the editor's playback evaluation (away from
    // the halfway points, where rounding picks the side); the sampled spline
    // rotations only at whole frames. Frame 1 is at t = 0.
    for (int fifth = 5; fifth <= 5 * 20; ++fifth) {
        const double frame = fifth / 5.0;
        const bool whole = fifth % 5 == 0;
        if (whole)
            EvaluateAtFrame(*joint, fifth / 5, settings);
        else
            EvaluateAtTime(*joint, static_cast<float>(frame / 24.0), settings);
        const kp::Trs pose =
            kp::Decompose(kp::PoseMatrix(node.matrix, kp::Mat4::From(joint->GetOffsetMatrix().m)));
        const double time = (frame - 1) / 24.0;
        const std::vector<double> t = Evaluate(g, *translation, time);
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(t[static_cast<size_t>(c)], pose.t[c], 2e-5) << "frame " << frame;
        if (mode == 2 && !whole) continue;
        const std::vector<double> r = Evaluate(g, *rotation, time);
        EXPECT_GT(std::fabs(kp::Dot({r[0], r[1], r[2], r[3]}, pose.r)), 1 - 1e-6)
            << "frame " << frame;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryMode, GltfExportTest, ::testing::Values(0, 1, 2));

// A small skinned triangle, valid; each case below damages one thing.
struct Triangle {
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

    Triangle() {
        g.asset.version = "2.0";
        tinygltf::Primitive prim;
        prim.attributes["POSITION"] = Add<float>(
            {0, 0, 0, 1, 0, 0, 0, 1, 0}, TINYGLTF_COMPONENT_TYPE_FLOAT, TINYGLTF_TYPE_VEC3, 3);
        prim.attributes["JOINTS_0"] =
            Add<uint8_t>(std::vector<uint8_t>(12, 0), TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE,
                         TINYGLTF_TYPE_VEC4, 3);
        prim.attributes["WEIGHTS_0"] =
            Add<float>({1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}, TINYGLTF_COMPONENT_TYPE_FLOAT,
                       TINYGLTF_TYPE_VEC4, 3);
        prim.indices = Add<uint16_t>({0, 1, 2, 0}, TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT,
                                     TINYGLTF_TYPE_SCALAR, 3);
        tinygltf::Mesh mesh;
        mesh.primitives.push_back(prim);
        g.meshes.push_back(mesh);
        tinygltf::Node holder, joint;
        holder.name = "Body";
        holder.mesh = 0;
        holder.skin = 0;
        joint.name = "Bone";
        g.nodes = {holder, joint};
        tinygltf::Skin skin;
        skin.joints = {1};
        g.skins.push_back(skin);
        g.scenes.emplace_back();
        g.scenes[0].nodes = {0, 1};
    }
    void SetFloat(int accessor, size_t index, float value) {
        const tinygltf::Accessor& a = g.accessors[static_cast<size_t>(accessor)];
        const tinygltf::BufferView& v = g.bufferViews[static_cast<size_t>(a.bufferView)];
        std::memcpy(g.buffers[0].data.data() + v.byteOffset + index * 4, &value, 4);
    }
    int Attribute(const char* name) { return g.meshes[0].primitives[0].attributes[name]; }
};

struct DamageCase {
    const char* name;
    std::function<void(Triangle&)> damage;
    const char* problem;
};

void PrintTo(const DamageCase& c, std::ostream* os) {
    *os << c.name;
}

class GltfDamageTest : public ::testing::TestWithParam<DamageCase> {};

TEST_P(GltfDamageTest, IsRefusedWithTheProblem) {
    Triangle t;
    GetParam().damage(t);
    const std::string path = Scratch(std::string(GetParam().name) + ".gltf").string();
    tinygltf::TinyGLTF writer;
    ASSERT_TRUE(writer.WriteGltfSceneToFile(&t.g, path, false, true, true, false));
    kp::Model model;
    std::string problem;
    const bool read = kp::ReadGltf(path, model, problem);
    if (std::string(GetParam().problem).empty()) {
        EXPECT_TRUE(read) << problem;
        return;
    }
    EXPECT_FALSE(read);
    EXPECT_NE(problem.find(GetParam().problem), std::string::npos) << problem;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GltfDamageTest,
    ::testing::Values(
        DamageCase{"sound", [](Triangle&) {}, ""},
        // Weights are taken as engines take them (see WeightsAsEnginesTakeThem).
        DamageCase{"weights_short",
                   [](Triangle& t) { t.SetFloat(t.Attribute("WEIGHTS_0"), 4, 0.6f); }, ""},
        DamageCase{"five_weights",
                   [](Triangle& t) {
                       t.SetFloat(t.Attribute("WEIGHTS_0"), 0, 0.5f);
                       for (int k = 1; k < 4; ++k)
                           t.SetFloat(t.Attribute("WEIGHTS_0"), static_cast<size_t>(k), 0.1f);
                       auto& prim = t.g.meshes[0].primitives[0];
                       prim.attributes["JOINTS_1"] = t.Add<uint8_t>(
                           std::vector<uint8_t>(12, 0), TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE,
                           TINYGLTF_TYPE_VEC4, 3);
                       prim.attributes["WEIGHTS_1"] =
                           t.Add<float>({0.2f, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                                        TINYGLTF_COMPONENT_TYPE_FLOAT, TINYGLTF_TYPE_VEC4, 3);
                   },
                   ""},
        DamageCase{"index_range",
                   [](Triangle& t) {
                       const auto& a =
                           t.g.accessors[static_cast<size_t>(t.g.meshes[0].primitives[0].indices)];
                       const uint16_t seven = 7;
                       std::memcpy(
                           t.g.buffers[0].data.data() +
                               t.g.bufferViews[static_cast<size_t>(a.bufferView)].byteOffset + 2,
                           &seven, 2);
                   },
                   "names vertex 7 of 3"},
        DamageCase{"nan_position",
                   [](Triangle& t) {
                       t.SetFloat(t.Attribute("POSITION"), 4,
                                  std::numeric_limits<float>::quiet_NaN());
                   },
                   "has a vertex position that is not a finite number"},
        DamageCase{"accessor_too_long",
                   [](Triangle& t) {
                       t.g.accessors[static_cast<size_t>(t.Attribute("POSITION"))].count = 40;
                   },
                   "reads beyond the end of its buffer view"},
        DamageCase{
            "joint_outside_skin",
            [](Triangle& t) {
                const auto& a = t.g.accessors[static_cast<size_t>(t.Attribute("JOINTS_0"))];
                t.g.buffers[0].data[t.g.bufferViews[static_cast<size_t>(a.bufferView)].byteOffset] =
                    5;
            },
            "names joint 5 of a skin with 1"},
        DamageCase{"node_loop", [](Triangle& t) { t.g.nodes[1].children = {1}; },
                   "appears twice in the hierarchy"},
        DamageCase{"skin_without_node", [](Triangle& t) { t.g.skins[0].joints = {9}; },
                   "skin 0 names node 9, which is not there"}),
    [](const ::testing::TestParamInfo<DamageCase>& info) { return std::string(info.param.name); });

}  // namespace

// Documents that would take the parser down before any check of the model:
// refused by their nesting, strings not counted.
TEST(GltfFiles, DeepNestingIsRefusedBeforeParsing) {
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    const std::string json = "{\"asset\":{\"version\":\"2.0\"},\"extras\":" + deep + "}";
    std::string glb = "glTF";
    const auto u32 = [&glb](uint32_t v) { glb.append(reinterpret_cast<const char*>(&v), 4); };
    std::string chunk = json + std::string((4 - json.size() % 4) % 4, ' ');
    u32(2);
    u32(static_cast<uint32_t>(20 + chunk.size()));
    u32(static_cast<uint32_t>(chunk.size()));
    glb += "JSON" + chunk;
    const std::string brackets =
        "{\"asset\":{\"version\":\"2.0\",\"generator\":\"" + std::string(1000, '[') + "\"}}";
    const struct {
        const char* name;
        std::string bytes;
        bool tooDeep;
    } cases[] = {
        {"deep.gltf", json, true},
        {"deep.glb", glb, true},
        {"brackets_in_a_string.gltf", brackets, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Scratch(c.name).string();
        {
            std::ofstream out(path, std::ios::binary);
            out << c.bytes;
        }
        kinemo_plugin::Model model;
        std::string problem;
        const bool read = kinemo_plugin::ReadGltf(path, model, problem);
        EXPECT_EQ(problem.find("nested deeper than 512 levels") != std::string::npos, c.tooDeep)
            << problem;
        if (c.tooDeep) EXPECT_FALSE(read);
    }
}

// Images inside a .glb become files the editor can load, and a .glb export
// carries its images again; references from other machines are looked for
// beside the model.
TEST(GltfFiles, ImagesTravelWithTheFile) {
    const fs::path home = Scratch("data_home");
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    const unsigned char png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13, 'I',
                                 'H', 'D', 'R', 0, 0, 0, 1, 0, 0, 0, 1, 8, 2, 0, 0, 0, 0x90,
                                 0x77, 0x53, 0xde};
    Triangle t;
    auto& data = t.g.buffers[0].data;
    while (data.size() % 4) data.push_back(0);
    tinygltf::BufferView view;
    view.buffer = 0;
    view.byteOffset = data.size();
    view.byteLength = sizeof png;
    data.insert(data.end(), png, png + sizeof png);
    t.g.bufferViews.push_back(view);
    tinygltf::Image image;
    image.name = "skin";
    image.bufferView = static_cast<int>(t.g.bufferViews.size()) - 1;
    image.mimeType = "image/png";
    t.g.images.push_back(image);
    tinygltf::Texture texture;
    texture.source = 0;
    t.g.textures.push_back(texture);
    tinygltf::Material material;
    material.pbrMetallicRoughness.baseColorTexture.index = 0;
    t.g.materials.push_back(material);
    t.g.meshes[0].primitives[0].material = 0;
    const std::string path = Scratch("embedded.glb").string();
    tinygltf::TinyGLTF writer;
    ASSERT_TRUE(writer.WriteGltfSceneToFile(&t.g, path, false, true, false, true));

    kp::Model model;
    std::string problem;
    ASSERT_TRUE(kp::ReadGltf(path, model, problem)) << problem;
    std::string file;
    for (const kp::Node& n : model.nodes)
        if (n.kind == kp::NodeKind::kMesh) file = n.texture;
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(file.rfind((home / "Tamrik/Kinemo/textures").string(), 0), 0u) << file;
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, std::string(reinterpret_cast<const char*>(png), sizeof png));

    // Exported as .glb: the image is inside, no path.
    for (size_t i = 0; i < model.nodes.size(); ++i) model.nodes[i].id = static_cast<int>(i);
    const std::string again = Scratch("embedded_again").string();
    ASSERT_TRUE(kp::WriteGltf(again, model, true, problem)) << problem;
    tinygltf::Model g;
    std::string error, warning;
    tinygltf::TinyGLTF loader;
    loader.SetImageLoader([](tinygltf::Image*, const int, std::string*, std::string*, int, int,
                             const unsigned char*, int, void*) { return true; },
                          nullptr);
    ASSERT_TRUE(loader.LoadBinaryFromFile(&g, &error, &warning, again + ".glb")) << error;
    ASSERT_EQ(g.images.size(), 1u);
    EXPECT_GE(g.images[0].bufferView, 0);
    EXPECT_TRUE(g.images[0].uri.empty());
    EXPECT_EQ(g.images[0].mimeType, "image/png");
    unsetenv("XDG_DATA_HOME");
}

TEST(GltfFiles, TexturePathsFromOtherMachinesAreLookedForBesideTheModel) {
    const fs::path folder = Scratch("model_folder");
    fs::create_directories(folder / "textures");
    std::ofstream(folder / "beside.jpg") << "x";
    std::ofstream(folder / "textures" / "inside.png") << "x";
    const struct {
        const char* reference;
        fs::path found;
    } cases[] = {
        {"beside.jpg", folder / "beside.jpg"},
        {"C:/work/beside.jpg", folder / "beside.jpg"},
        {"C:\\work\\maps\\inside.png", folder / "textures" / "inside.png"},
        {"/elsewhere/inside.png", folder / "textures" / "inside.png"},
        {"../gone.png", (folder / "../gone.png").lexically_normal()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kp::FindTexture(folder.string(), c.reference), c.found.string()) << c.reference;
}
