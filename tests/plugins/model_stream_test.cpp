// The model stream the reader helper hands back: what goes in comes out,
// and a helper that lies is refused, never believed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "plugins/native/common/model_stream.h"

using namespace kinemo_plugin;

namespace {

// A joint with a key and a mesh of two triangles weighted to it.
Model SmallModel() {
    Model model;
    model.frameRate = 30;
    model.totalFrames = 12;
    const int joint = model.Add(NodeKind::kJoint, "Hip", -1);
    model.nodes[joint].matrix.m[13] = 2;
    model.nodes[joint].keys.push_back({5, Mat4(), {0.5f, 0, 0, 0, 0, -0.25f}});
    const int mesh = model.Add(NodeKind::kMesh, "Body ü", joint);
    Node& body = model.nodes[mesh];
    for (int i = 0; i < 4; ++i) {
        Vertex v;
        v.position[0] = static_cast<float>(i);
        v.normal[2] = 1;
        v.texcoords[1] = 0.25f * static_cast<float>(i);
        v.joint[0] = joint;
        v.weight[0] = 1;
        body.vertices.push_back(v);
    }
    body.faces = {{0, 1, 2}, {2, 1, 3}};
    body.texture = "/tmp/skin.png";
    body.hasNormals = false;
    return model;
}

// Byte offset of the first vertex index of the mesh's first face: the
// stream's end minus the counts of animations and notes (none), the
// texture, the flag, the faces' 24 bytes.
size_t FirstFaceIndexAt(const std::string& stream) {
    return stream.size() - 8 - 1 - (4 + std::strlen("/tmp/skin.png")) - 24;
}

}  // namespace

TEST(ModelStream, GivesBackWhatItWasGiven) {
    const Model in = SmallModel();
    Model out;
    std::string why;
    ASSERT_TRUE(ParseModelStream(ModelStream(in), out, why)) << why;
    EXPECT_EQ(out.frameRate, 30);
    EXPECT_EQ(out.totalFrames, 12);
    ASSERT_EQ(out.nodes.size(), 2u);
    EXPECT_EQ(out.nodes[0].keys[0].frame, 5);
    EXPECT_EQ(out.nodes[0].keys[0].tcb[5], -0.25f);
    EXPECT_EQ(out.nodes[0].matrix.m[13], 2);
    const Node& body = out.nodes[1];
    EXPECT_EQ(body.name, "Body ü");
    EXPECT_EQ(body.parent, 0);
    EXPECT_EQ(body.kind, NodeKind::kMesh);
    ASSERT_EQ(body.vertices.size(), 4u);
    EXPECT_EQ(body.vertices[3].position[0], 3);
    EXPECT_EQ(body.vertices[3].texcoords[1], 0.75f);
    EXPECT_EQ(body.vertices[3].joint[0], 0);
    EXPECT_EQ(body.faces[1], (std::array<int, 3>{2, 1, 3}));
    EXPECT_EQ(body.texture, "/tmp/skin.png");
    EXPECT_FALSE(body.hasNormals);
}

TEST(ModelStream, CarriesAnimationsBindPlacementsAndNotes) {
    Model in = SmallModel();
    in.nodes[0].hasBind = true;
    in.nodes[0].bind.m[12] = 4;
    Animation& a = in.animations.emplace_back();
    a.name = "Walk";
    a.duration = 1.5;
    Channel& c = a.channels.emplace_back();
    c.node = 0;
    c.path = ChannelPath::kRotation;
    c.track.interpolation = Interpolation::kStep;
    c.track.times = {0, 1.5};
    c.track.values = {0, 0, 0, 1, 0, 0.6, 0, 0.8};
    in.notes = {"mesh 'Body': 2 vertices had weights that did not add up to 1 (normalised)."};
    const std::string stream = ModelStream(in);
    Model out;
    std::string why;
    ASSERT_TRUE(ParseModelStream(stream, out, why)) << why;
    EXPECT_TRUE(out.nodes[0].hasBind);
    EXPECT_EQ(out.nodes[0].bind.m[12], 4);
    ASSERT_EQ(out.animations.size(), 1u);
    EXPECT_EQ(out.animations[0].name, "Walk");
    EXPECT_EQ(out.animations[0].duration, 1.5);
    ASSERT_EQ(out.animations[0].channels.size(), 1u);
    EXPECT_EQ(out.animations[0].channels[0].path, ChannelPath::kRotation);
    EXPECT_EQ(out.animations[0].channels[0].track.interpolation, Interpolation::kStep);
    EXPECT_EQ(out.animations[0].channels[0].track.values, c.track.values);
    EXPECT_EQ(out.notes, in.notes);
    // Every cut is refused, and so is a channel aimed at a node not there.
    for (size_t n = 0; n < stream.size(); n += 7)
        EXPECT_FALSE(ParseModelStream(stream.substr(0, n), out, why)) << n;
    in.animations[0].channels[0].node = 9;
    EXPECT_FALSE(ParseModelStream(ModelStream(in), out, why));
    EXPECT_NE(why.find("a channel names a node that is not there"), std::string::npos) << why;
}

TEST(ModelStream, CutShortAnywhereIsRefused) {
    const std::string stream = ModelStream(SmallModel());
    for (size_t n = 0; n < stream.size(); ++n) {
        Model out;
        std::string why;
        EXPECT_FALSE(ParseModelStream(stream.substr(0, n), out, why)) << n;
        EXPECT_FALSE(why.empty());
    }
}

TEST(ModelStream, LiesAreRefused) {
    const std::string sound = ModelStream(SmallModel());
    const auto put = [](std::string s, size_t at, const auto& value) {
        std::memcpy(s.data() + at, &value, sizeof value);
        return s;
    };
    // Settings: magic 4, rate 8, five ints 20; then the node count.
    const size_t nodeCount = 32;
    const size_t firstNode = nodeCount + 4;
    // The first node: kind 1, name "Hip" 4 + 3, parent 4.
    const size_t firstParent = firstNode + 1 + 7;
    const size_t firstMatrix = firstParent + 4;
    const struct {
        const char* name;
        std::string stream;
        const char* why;
    } cases[] = {
        {"empty", "", "it ends too soon"},
        {"another format", "\x89PNG\r\n\x1a\n" + sound.substr(8), "it is not a model stream"},
        {"2^31 nodes", put(sound, nodeCount, uint32_t{1} << 31), "its node count is more than it holds"},
        {"a node of no kind", put(sound, firstNode, uint8_t{7}), "a node is of no known kind"},
        {"a parent after its child", put(sound, firstParent, int32_t{1}), "a node's parent does not come before it"},
        {"a NaN", put(sound, firstMatrix, std::numeric_limits<double>::quiet_NaN()), "not finite"},
        {"an infinity", put(sound, firstMatrix, std::numeric_limits<double>::infinity()), "not finite"},
        {"a face beyond the vertices", put(sound, FirstFaceIndexAt(sound), int32_t{4}),
         "a face names a vertex that is not there"},
        {"a negative face index", put(sound, FirstFaceIndexAt(sound), int32_t{-1}),
         "a face names a vertex that is not there"},
        {"bytes after the end", sound + "x", "it goes on after its end"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Model out;
        std::string why;
        EXPECT_FALSE(ParseModelStream(c.stream, out, why));
        EXPECT_NE(why.find(c.why), std::string::npos) << why;
        EXPECT_EQ(why.rfind("the reader's answer is damaged (", 0), 0u) << why;
    }
}

TEST(ModelStream, WeightsGoToJointsThatAreThere) {
    for (int joint : {1, 2, -2}) {  // the mesh itself, no such node, below -1
        Model model = SmallModel();
        model.nodes[1].vertices[2].joint[1] = joint;
        Model out;
        std::string why;
        EXPECT_FALSE(ParseModelStream(ModelStream(model), out, why)) << joint;
        EXPECT_FALSE(why.empty());
    }
}
