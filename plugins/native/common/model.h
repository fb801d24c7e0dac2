#pragma once

#include <array>
#include <string>
#include <vector>

#include "plugins/native/common/model_math.h"

// What a native plug-in reads from a file or writes to one: the scene as
// plain C++ data, in the editor's conventions (points are row vectors,
// matrices row by row, a node's global matrix is its local matrix times its
// parent's global). It travels to and from the scene as the tables of
// plugins/scene_data.lua (SceneData.Build and SceneData.Read).
namespace kinemo_plugin {

struct Vertex {
    float position[3] = {0, 0, 0};
    float normal[3] = {0, 0, 0};
    float texcoords[2] = {0, 0};
    // Index into Model::nodes of a joint, or -1 for an empty slot. (The
    // scene's own joint ids when read from the scene.)
    int joint[4] = {-1, -1, -1, -1};
    float weight[4] = {0, 0, 0, 0};
};

// A key of a joint: its offset at a frame and the spline parameters.
struct Key {
    int frame = 0;
    Mat4 offset;
    // Translation tension, continuity, bias; rotation tension, continuity, bias.
    std::array<float, 6> tcb = {0, 0, 0, 0, 0, 0};
};

enum class NodeKind { kNode, kMesh, kJoint };

// A channel of a file's animation: key times in seconds and values
// (translation x, y, z; rotation x, y, z, w as glTF stores it; scale x, y,
// z). Cubic tracks hold in-tangent, value and out-tangent for each key.
enum class Interpolation { kStep, kLinear, kCubic };
enum class ChannelPath { kTranslation = 0, kRotation = 1, kScale = 2 };

struct Track {
    std::vector<double> times, values;
    Interpolation interpolation = Interpolation::kLinear;

    int Width(ChannelPath path) const { return path == ChannelPath::kRotation ? 4 : 3; }
};

struct Channel {
    int node = -1;  // index into Model::nodes, of any kind
    ChannelPath path = ChannelPath::kTranslation;
    Track track;
};

struct Animation {
    std::string name;
    double duration = 0;  // seconds; at least the last key time
    std::vector<Channel> channels;
    // Kinemo's own files: the clip's frames and loop flag as they were.
    int first = 0, last = -1;
    bool loop = false;
};

// A named range of frames of the timeline.
struct Clip {
    std::string name;
    int first = 1, last = 1;
    bool loop = false;
};

struct Node {
    NodeKind kind = NodeKind::kNode;
    std::string name;
    int parent = -1;  // index into Model::nodes, smaller than the node's own; -1: the scene root
    Mat4 matrix;      // local matrix (a joint's rest placement)
    Mat4 global;      // read from the scene only

    // Joints.
    bool hasBind = false;  // `bind` holds the file's bind placement (world)
    Mat4 bind;
    // Frames at which to key the joint, with their spline parameters, when
    // the file recorded them (Kinemo's own files); else every frame.
    std::vector<Key> recordedKeys;
    int id = -1;  // the scene's joint id (read), or 0, 1, 2, ... (built)
    Mat4 offset;  // the pose on top of the rest placement
    Mat4 relaxed;
    std::vector<Key> keys;
    std::vector<Mat4> samples;  // offsets at Model::firstFrame .. lastFrame (read only)

    // Meshes.
    std::vector<Vertex> vertices;
    std::vector<std::array<int, 3>> faces;
    std::vector<std::array<float, 8>> deformed;  // skinned position, normal, texcoords (read only)
    std::string texture;                         // absolute path of the image, or empty
    bool hasNormals = true;                      // false: the editor generates them
};

struct Model {
    double frameRate = 24;
    int totalFrames = 0;
    int frame = 1;
    int interpolation = 2;               // 0 constant, 1 linear, 2 spline
    int firstFrame = 0, lastFrame = -1;  // the samples' range
    std::vector<Node> nodes;
    std::vector<Clip> clips;
    // Read only: the file's animations, before they become keys and clips.
    std::vector<Animation> animations;
    // Lines for the console about what the import changed (weights reduced...).
    std::vector<std::string> notes;

    int Add(NodeKind kind, const std::string& name, int parent) {
        nodes.emplace_back();
        nodes.back().kind = kind;
        nodes.back().name = name;
        nodes.back().parent = parent;
        return static_cast<int>(nodes.size()) - 1;
    }
};

// Turns a joint read from a file, whose `matrix` is its current transform,
// into a rest placement and an offset: with a bind placement (`relaxed`, in
// world space; null when the file has none) the rest placement follows from
// it, and the current transform becomes the offset on top. Parents come
// before children, so a parent joint's relaxed matrix is already set.
inline void PlaceJointAtRest(Model& model, int index, const Mat4* relaxed) {
    Node& joint = model.nodes[static_cast<size_t>(index)];
    const Mat4 pose = joint.matrix;
    const bool parentIsJoint =
        joint.parent >= 0 && model.nodes[static_cast<size_t>(joint.parent)].kind == NodeKind::kJoint;
    const Mat4 parentRelaxed =
        parentIsJoint ? model.nodes[static_cast<size_t>(joint.parent)].relaxed : Mat4();
    if (relaxed) {
        joint.relaxed = *relaxed;
        joint.matrix = parentIsJoint ? Mul(joint.relaxed, Inverse(parentRelaxed)) : joint.relaxed;
    } else {
        joint.relaxed = parentIsJoint ? Mul(joint.matrix, parentRelaxed) : joint.matrix;
    }
    joint.offset = OffsetFor(joint.matrix, pose);
}

}  // namespace kinemo_plugin
