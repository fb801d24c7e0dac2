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

struct Node {
    NodeKind kind = NodeKind::kNode;
    std::string name;
    int parent = -1;  // index into Model::nodes, smaller than the node's own; -1: the scene root
    Mat4 matrix;      // local matrix (a joint's rest placement)
    Mat4 global;      // read from the scene only

    // Joints.
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
