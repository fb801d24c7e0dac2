// glTF import: the file's nodes, meshes, skins and first animation into a
// Model. Every index and every accessor is checked against what it points
// into; tinygltf only parses.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <map>
#include <set>
#include <string_view>

#include <nlohmann/json.hpp>

#include "plugins/native/common/model_animation.h"
#include "plugins/native/common/texture_files.h"
#include "plugins/native/gltf/gltf_format.h"
#include "plugins/native/gltf/tinygltf_config.h"

namespace kinemo_plugin {

namespace fs = std::filesystem;

namespace {

// Images are not decoded here (the editor loads textures itself): the bytes
// of images the file carries (a .glb's buffer views, data URIs) are kept
// by image index, to be written out as files.
using ImageBytes = std::map<int, std::vector<unsigned char>>;

bool KeepImageBytes(tinygltf::Image*, const int index, std::string*, std::string*, int, int,
                    const unsigned char* bytes, int size, void* user) {
    if (bytes && size > 0) (*static_cast<ImageBytes*>(user))[index].assign(bytes, bytes + size);
    return true;
}

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    const size_t newline = text.find('\n');
    if (newline != std::string::npos) text = text.substr(0, newline);
    return text;
}

int Components(int type) {
    switch (type) {
        case TINYGLTF_TYPE_SCALAR:
            return 1;
        case TINYGLTF_TYPE_VEC2:
            return 2;
        case TINYGLTF_TYPE_VEC3:
            return 3;
        case TINYGLTF_TYPE_VEC4:
            return 4;
        case TINYGLTF_TYPE_MAT4:
            return 16;
        default:
            return 0;
    }
}

class Accessors {
public:
    Accessors(const tinygltf::Model& g, std::string& problem) : g_(g), problem_(problem) {}

    // The values of accessor `index` as doubles, `components` a element,
    // normalised integers scaled to 0..1 (or -1..1).
    bool Read(int index, int components, const std::string& what, std::vector<double>& out) {
        if (index < 0 || static_cast<size_t>(index) >= g_.accessors.size())
            return Fail(what + " names accessor " + std::to_string(index) + ", which is not there");
        const tinygltf::Accessor& a = g_.accessors[static_cast<size_t>(index)];
        if (Components(a.type) != components) return Fail(what + " has the wrong element type");
        if (a.sparse.isSparse) return Fail(what + " is a sparse accessor, which is not supported");
        const int size = ComponentSize(a.componentType);
        if (size == 0) return Fail(what + " has an unknown component type");
        const size_t count = a.count;
        // Sizes are checked against the data before anything is allocated:
        // a count that lies must not cost memory.
        if (a.bufferView < 0) {  // all zero
            if (count > (size_t{1} << 24))
                return Fail(what + " holds more elements than the editor takes");
            out.assign(count * static_cast<size_t>(components), 0.0);
            return true;
        }
        if (static_cast<size_t>(a.bufferView) >= g_.bufferViews.size())
            return Fail(what + " names a buffer view that is not there");
        const tinygltf::BufferView& view = g_.bufferViews[static_cast<size_t>(a.bufferView)];
        if (view.buffer < 0 || static_cast<size_t>(view.buffer) >= g_.buffers.size())
            return Fail(what + " names a buffer that is not there");
        const std::vector<unsigned char>& data = g_.buffers[static_cast<size_t>(view.buffer)].data;
        const size_t element = static_cast<size_t>(size) * static_cast<size_t>(components);
        const size_t stride = view.byteStride ? view.byteStride : element;
        if (stride < element) return Fail(what + " has a stride shorter than its elements");
        const size_t viewEnd = view.byteOffset + view.byteLength;
        if (view.byteOffset > data.size() || viewEnd > data.size() || viewEnd < view.byteOffset)
            return Fail(
                what + " lies beyond the end of its buffer (is the buffer file missing or short?)");
        if (count > view.byteLength || stride > view.byteLength ||
            (count > 0 && a.byteOffset + stride * (count - 1) + element > view.byteLength))
            return Fail(what + " reads beyond the end of its buffer view");
        out.assign(count * static_cast<size_t>(components), 0.0);
        const unsigned char* base = data.data() + view.byteOffset + a.byteOffset;
        for (size_t i = 0; i < count; ++i)
            for (int k = 0; k < components; ++k)
                out[i * static_cast<size_t>(components) + static_cast<size_t>(k)] =
                    Value(base + i * stride + static_cast<size_t>(k * size), a.componentType,
                          a.normalized);
        return true;
    }

private:
    static int ComponentSize(int type) {
        switch (type) {
            case TINYGLTF_COMPONENT_TYPE_BYTE:
            case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE:
                return 1;
            case TINYGLTF_COMPONENT_TYPE_SHORT:
            case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT:
                return 2;
            case TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT:
            case TINYGLTF_COMPONENT_TYPE_FLOAT:
                return 4;
            default:
                return 0;
        }
    }
    static double Value(const unsigned char* p, int type, bool normalized) {
        switch (type) {
            case TINYGLTF_COMPONENT_TYPE_BYTE: {
                int8_t v;
                std::memcpy(&v, p, 1);
                return normalized ? std::max(v / 127.0, -1.0) : v;
            }
            case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE:
                return normalized ? *p / 255.0 : *p;
            case TINYGLTF_COMPONENT_TYPE_SHORT: {
                int16_t v;
                std::memcpy(&v, p, 2);
                return normalized ? std::max(v / 32767.0, -1.0) : v;
            }
            case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT: {
                uint16_t v;
                std::memcpy(&v, p, 2);
                return normalized ? v / 65535.0 : v;
            }
            case TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT: {
                uint32_t v;
                std::memcpy(&v, p, 4);
                return v;
            }
            default: {
                float v;
                std::memcpy(&v, p, 4);
                return v;
            }
        }
    }
    bool Fail(const std::string& text) {
        problem_ = text;
        return false;
    }

    const tinygltf::Model& g_;
    std::string& problem_;
};

Mat4 NodeMatrix(const tinygltf::Node& n) {
    if (n.matrix.size() == 16) return Mat4::From(n.matrix.data());
    Trs trs;
    if (n.translation.size() == 3) std::copy(n.translation.begin(), n.translation.end(), trs.t);
    if (n.rotation.size() == 4)
        trs.r = {n.rotation[0], n.rotation[1], n.rotation[2], n.rotation[3]};
    if (n.scale.size() == 3) std::copy(n.scale.begin(), n.scale.end(), trs.s);
    return Compose(trs);
}

const tinygltf::Value* Kinemo(const tinygltf::Value& extras) {
    if (!extras.IsObject() || !extras.Has("kinemo")) return nullptr;
    const tinygltf::Value& v = extras.Get("kinemo");
    return v.IsObject() ? &v : nullptr;
}

double Number(const tinygltf::Value& v) {
    return v.IsNumber() ? v.GetNumberAsDouble() : v.IsInt() ? v.Get<int>() : 0.0;
}

// A number from the file as a message shows it; it may be far beyond any
// integer type, or NaN, so it is never converted to one.
std::string NumberText(double value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.15g", value);
    return text;
}

// A spline parameter from the file: numbers a float cannot hold become 0.
float Parameter(double value) {
    return std::fabs(value) <= std::numeric_limits<float>::max() ? static_cast<float>(value) : 0.0f;
}

class Importer {
public:
    Importer(const tinygltf::Model& g, const std::string& path, const ImageBytes& images,
             Model& model, std::string& problem)
        : g_(g),
          path_(path),
          folder_(fs::path(path).parent_path().string()),
          images_(images),
          model_(model),
          problem_(problem),
          accessors_(g, problem) {}

    bool Run() {
        if (!CollectJoints()) return false;
        std::vector<int> roots;
        if (!g_.scenes.empty()) {
            const size_t scene =
                g_.defaultScene >= 0 && static_cast<size_t>(g_.defaultScene) < g_.scenes.size()
                    ? static_cast<size_t>(g_.defaultScene)
                    : 0;
            roots = g_.scenes[scene].nodes;
        } else {
            std::vector<bool> child(g_.nodes.size(), false);
            for (const tinygltf::Node& n : g_.nodes)
                for (int c : n.children)
                    if (c >= 0 && static_cast<size_t>(c) < child.size())
                        child[static_cast<size_t>(c)] = true;
            for (size_t i = 0; i < g_.nodes.size(); ++i)
                if (!child[i]) roots.push_back(static_cast<int>(i));
        }
        made_.assign(g_.nodes.size(), -1);
        visited_.assign(g_.nodes.size(), false);
        // Depth first, parents before children, without recursion.
        std::vector<std::pair<int, int>> stack;  // glTF node, parent model node
        for (auto it = roots.rbegin(); it != roots.rend(); ++it) stack.push_back({*it, -1});
        while (!stack.empty()) {
            const auto [index, parent] = stack.back();
            stack.pop_back();
            if (index < 0 || static_cast<size_t>(index) >= g_.nodes.size())
                return Fail("the scene names node " + std::to_string(index) +
                            ", which is not there");
            if (visited_[static_cast<size_t>(index)])
                return Fail("node " + std::to_string(index) + " appears twice in the hierarchy");
            visited_[static_cast<size_t>(index)] = true;
            if (helpers_.count(index)) continue;
            const tinygltf::Value* ours = Kinemo(g_.nodes[static_cast<size_t>(index)].extras);
            if (ours && ours->Has("root") && parent < 0) {
                // The editor's own wrapper around the top nodes: they are top nodes.
                const std::vector<int>& children = g_.nodes[static_cast<size_t>(index)].children;
                for (auto it = children.rbegin(); it != children.rend(); ++it)
                    stack.push_back({*it, -1});
                continue;
            }
            const int node = AddNode(index, parent);
            if (node < 0) return false;
            const std::vector<int>& children = g_.nodes[static_cast<size_t>(index)].children;
            for (auto it = children.rbegin(); it != children.rend(); ++it)
                stack.push_back({*it, node});
        }
        for (const int index : jointNodes_) {
            Node& joint = model_.nodes[static_cast<size_t>(made_[static_cast<size_t>(index)])];
            auto found = relaxed_.find(index);
            joint.hasBind = found != relaxed_.end();
            if (joint.hasBind) joint.bind = found->second;
        }
        for (const Pending& p : pendingMeshes_)
            if (!AddMesh(p)) return false;
        return Animations() && PlaceSkeletonAndBakeClips(model_, problem_);
    }

private:
    struct Pending {
        int gltfNode;
        int meshNode;  // model node to fill
        const tinygltf::Primitive* primitive;
        std::string meshName;
    };

    bool Fail(const std::string& text) {
        problem_ = text;
        return false;
    }

    bool CollectJoints() {
        for (size_t s = 0; s < g_.skins.size(); ++s) {
            const tinygltf::Skin& skin = g_.skins[s];
            std::vector<double> inverse;
            if (skin.inverseBindMatrices >= 0 &&
                !accessors_.Read(skin.inverseBindMatrices, 16,
                                 "skin " + std::to_string(s) + "'s inverse bind matrices", inverse))
                return false;
            if (!inverse.empty() && inverse.size() != skin.joints.size() * 16)
                return Fail("skin " + std::to_string(s) + " has " +
                            std::to_string(inverse.size() / 16) + " inverse bind matrices for " +
                            std::to_string(skin.joints.size()) + " joints");
            for (size_t k = 0; k < skin.joints.size(); ++k) {
                const int j = skin.joints[k];
                if (j < 0 || static_cast<size_t>(j) >= g_.nodes.size())
                    return Fail("skin " + std::to_string(s) + " names node " + std::to_string(j) +
                                ", which is not there");
                const tinygltf::Value* ours = Kinemo(g_.nodes[static_cast<size_t>(j)].extras);
                if (ours && ours->Has("unbound")) {
                    helpers_.insert(j);
                    continue;
                }
                joints_.insert(j);
                if (!relaxed_.count(j)) {
                    // Without inverse bind matrices a skin binds at the identity.
                    const Mat4 ibm = inverse.empty() ? Mat4() : Mat4::From(&inverse[k * 16]);
                    if (!IsFinite(ibm))
                        return Fail("skin " + std::to_string(s) +
                                    " has an inverse bind matrix that is not finite");
                    relaxed_[j] = Inverse(ibm);
                }
            }
        }
        return true;
    }

    int AddNode(int index, int parent) {
        const tinygltf::Node& n = g_.nodes[static_cast<size_t>(index)];
        const bool joint = joints_.count(index) > 0;
        const Mat4 matrix = NodeMatrix(n);
        if (!IsFinite(matrix)) {
            Fail("node '" + n.name + "' has a transform that is not finite");
            return -1;
        }
        const tinygltf::Mesh* mesh = nullptr;
        if (n.mesh >= 0) {
            if (static_cast<size_t>(n.mesh) >= g_.meshes.size()) {
                Fail("node '" + n.name + "' names mesh " + std::to_string(n.mesh) +
                     ", which is not there");
                return -1;
            }
            mesh = &g_.meshes[static_cast<size_t>(n.mesh)];
        }
        const bool skinned = mesh && n.skin >= 0;
        if (n.skin >= 0 && static_cast<size_t>(n.skin) >= g_.skins.size()) {
            Fail("node '" + n.name + "' names skin " + std::to_string(n.skin) +
                 ", which is not there");
            return -1;
        }
        const std::string name = !n.name.empty()               ? n.name
                                 : mesh && !mesh->name.empty() ? mesh->name
                                 : joint                       ? "Joint"
                                                               : "Node";
        if (skinned && !joint && n.children.empty()) {
            // A node that only holds a skinned mesh is that mesh, at the top:
            // glTF ignores the transforms above a skinned mesh, and so do
            // the bind matrices below.
            int first = -1;
            for (size_t p = 0; p < mesh->primitives.size(); ++p) {
                const int target = model_.Add(
                    NodeKind::kMesh,
                    mesh->primitives.size() > 1 ? name + " " + std::to_string(p + 1) : name, -1);
                if (first < 0) first = target;
                pendingMeshes_.push_back({index, target, &mesh->primitives[p], name});
            }
            made_[static_cast<size_t>(index)] =
                first < 0 ? model_.Add(NodeKind::kNode, name, parent) : first;
            return made_[static_cast<size_t>(index)];
        }
        // A plain node holding one unskinned triangle primitive is that mesh.
        const bool selfMesh = !joint && mesh && !skinned && mesh->primitives.size() == 1;
        const NodeKind kind = joint      ? NodeKind::kJoint
                              : selfMesh ? NodeKind::kMesh
                                         : NodeKind::kNode;
        const int node = model_.Add(kind, name, parent);
        model_.nodes[static_cast<size_t>(node)].matrix = matrix;
        made_[static_cast<size_t>(index)] = node;
        if (joint) jointNodes_.push_back(index);
        if (mesh) {
            const std::string meshName = !mesh->name.empty() ? mesh->name : name;
            for (size_t p = 0; p < mesh->primitives.size(); ++p) {
                int target = node;
                if (!selfMesh) {
                    // Skinned meshes go to the top, as above.
                    target = model_.Add(NodeKind::kMesh,
                                        mesh->primitives.size() > 1
                                            ? meshName + " " + std::to_string(p + 1)
                                            : meshName,
                                        skinned ? -1 : node);
                }
                pendingMeshes_.push_back({index, target, &mesh->primitives[p], meshName});
            }
        }
        return node;
    }

    std::string Texture(int material) {
        if (material < 0 || static_cast<size_t>(material) >= g_.materials.size()) return {};
        const int texture =
            g_.materials[static_cast<size_t>(material)].pbrMetallicRoughness.baseColorTexture.index;
        if (texture < 0 || static_cast<size_t>(texture) >= g_.textures.size()) return {};
        const int source = g_.textures[static_cast<size_t>(texture)].source;
        if (source < 0 || static_cast<size_t>(source) >= g_.images.size()) return {};
        const tinygltf::Image& image = g_.images[static_cast<size_t>(source)];
        auto bytes = images_.find(source);
        if (image.bufferView >= 0 || image.uri.rfind("data:", 0) == 0 || image.uri.empty()) {
            // Carried inside the file: written out once, as a file of its own.
            if (bytes == images_.end()) return {};
            auto done = stored_.find(source);
            if (done != stored_.end()) return done->second;
            const std::string name =
                !image.name.empty() ? image.name : "image" + std::to_string(source);
            const std::string file =
                StoreImage(path_, name, bytes->second.data(), bytes->second.size());
            if (file.empty())
                model_.notes.push_back("The image '" + name +
                                       "' inside the file could not be written to " +
                                       TextureStoreFolder() + ".");
            return stored_[source] = file;
        }
        return FindTexture(folder_, image.uri);
    }

    bool AddMesh(const Pending& p) {
        Node& mesh = model_.nodes[static_cast<size_t>(p.meshNode)];
        const tinygltf::Primitive& prim = *p.primitive;
        const std::string what = "mesh '" + p.meshName + "'";
        const int mode = prim.mode < 0 ? TINYGLTF_MODE_TRIANGLES : prim.mode;
        if (mode != TINYGLTF_MODE_TRIANGLES && mode != TINYGLTF_MODE_TRIANGLE_STRIP &&
            mode != TINYGLTF_MODE_TRIANGLE_FAN)
            return true;  // points and lines: nothing the editor shows
        auto attribute = [&](const char* name) {
            auto it = prim.attributes.find(name);
            return it == prim.attributes.end() ? -1 : it->second;
        };
        std::vector<double> positions, normals, texcoords, indices;
        if (attribute("POSITION") < 0) return Fail(what + " has no positions");
        if (!accessors_.Read(attribute("POSITION"), 3, what + "'s positions", positions))
            return false;
        const size_t count = positions.size() / 3;
        for (double v : positions)
            if (!std::isfinite(v))
                return Fail(what + " has a vertex position that is not a finite number");
        if (attribute("NORMAL") >= 0 &&
            !accessors_.Read(attribute("NORMAL"), 3, what + "'s normals", normals))
            return false;
        if (attribute("TEXCOORD_0") >= 0 &&
            !accessors_.Read(attribute("TEXCOORD_0"), 2, what + "'s texture coordinates",
                             texcoords))
            return false;
        if ((!normals.empty() && normals.size() != positions.size()) ||
            (!texcoords.empty() && texcoords.size() / 2 != count))
            return Fail(what + " has attributes of different lengths");
        mesh.vertices.resize(count);
        mesh.hasNormals = !normals.empty();
        for (size_t i = 0; i < count; ++i) {
            Vertex& v = mesh.vertices[i];
            for (int k = 0; k < 3; ++k) {
                v.position[k] = static_cast<float>(positions[i * 3 + static_cast<size_t>(k)]);
                if (!normals.empty())
                    v.normal[k] = static_cast<float>(normals[i * 3 + static_cast<size_t>(k)]);
            }
            if (!texcoords.empty()) {
                v.texcoords[0] = static_cast<float>(texcoords[i * 2]);
                v.texcoords[1] =
                    static_cast<float>(1.0 - texcoords[i * 2 + 1]);  // glTF's v runs downwards
            }
            if (!std::isfinite(v.normal[0] + v.normal[1] + v.normal[2] + v.texcoords[0] +
                               v.texcoords[1]))
                return Fail(what +
                            " has a normal or texture coordinate that is not a finite number");
        }
        const int skinIndex = g_.nodes[static_cast<size_t>(p.gltfNode)].skin;
        if (skinIndex >= 0 && !Weights(prim, g_.skins[static_cast<size_t>(skinIndex)], what, mesh))
            return false;

        if (prim.indices >= 0) {
            if (!accessors_.Read(prim.indices, 1, what + "'s indices", indices)) return false;
        } else {
            indices.resize(count);
            for (size_t i = 0; i < count; ++i) indices[i] = static_cast<double>(i);
        }
        for (double index : indices)
            if (!(index >= 0 && index < static_cast<double>(count)))
                return Fail(what + " names vertex " +
                            NumberText(index) + " of " +
                            std::to_string(count));
        auto corner = [&](size_t k) { return static_cast<int>(indices[k]); };
        if (mode == TINYGLTF_MODE_TRIANGLES) {
            for (size_t k = 0; k + 2 < indices.size(); k += 3)
                mesh.faces.push_back({corner(k), corner(k + 1), corner(k + 2)});
        } else if (mode == TINYGLTF_MODE_TRIANGLE_STRIP) {
            for (size_t k = 0; k + 2 < indices.size(); ++k)
                mesh.faces.push_back(
                    k % 2 == 0 ? std::array<int, 3>{corner(k), corner(k + 1), corner(k + 2)}
                               : std::array<int, 3>{corner(k + 1), corner(k), corner(k + 2)});
        } else {
            for (size_t k = 1; k + 1 < indices.size(); ++k)
                mesh.faces.push_back({corner(0), corner(k), corner(k + 1)});
        }
        mesh.texture = Texture(prim.material);
        return true;
    }

    bool Weights(const tinygltf::Primitive& prim, const tinygltf::Skin& skin,
                 const std::string& what, Node& mesh) {
        const size_t count = mesh.vertices.size();
        std::vector<std::vector<double>> jointSets, weightSets;
        for (int set = 0;; ++set) {
            auto j = prim.attributes.find("JOINTS_" + std::to_string(set));
            auto w = prim.attributes.find("WEIGHTS_" + std::to_string(set));
            if (j == prim.attributes.end() || w == prim.attributes.end()) break;
            jointSets.emplace_back();
            weightSets.emplace_back();
            if (!accessors_.Read(j->second, 4, what + "'s joints", jointSets.back()) ||
                !accessors_.Read(w->second, 4, what + "'s weights", weightSets.back()))
                return false;
            if (jointSets.back().size() != count * 4 || weightSets.back().size() != count * 4)
                return Fail(what + " has joints or weights for another number of vertices");
        }
        if (jointSets.empty()) return true;
        WeightReport report;
        std::vector<std::pair<int, double>> influences;
        for (size_t i = 0; i < count; ++i) {
            influences.clear();
            bool helper = false;
            for (size_t set = 0; set < jointSets.size(); ++set)
                for (size_t k = 0; k < 4; ++k) {
                    const double weight = weightSets[set][i * 4 + k];
                    if (!std::isfinite(weight) || weight < 0)
                        return Fail(what + ": vertex " + std::to_string(i) +
                                    " has a joint weight that is no number of 0 or more");
                    if (weight == 0) continue;
                    const double j = jointSets[set][i * 4 + k];
                    if (!(j >= 0 && j < static_cast<double>(skin.joints.size())))
                        return Fail(what + ": vertex " + std::to_string(i) + " names joint " +
                                    NumberText(j) + " of a skin with " +
                                    std::to_string(skin.joints.size()));
                    const int node = skin.joints[static_cast<size_t>(j)];
                    if (helpers_.count(node)) {  // the stand-in for unbound vertices
                        helper = true;
                        continue;
                    }
                    const int joint = made_[static_cast<size_t>(node)];
                    if (joint < 0)
                        return Fail(what + ": vertex " + std::to_string(i) +
                                    " is bound to a joint outside the scene");
                    influences.push_back({joint, weight});
                }
            if (helper && influences.empty()) continue;  // left unbound on purpose
            SetInfluences(influences, mesh.vertices[i], report);
        }
        const std::string note = report.Note(what);
        if (!note.empty()) model_.notes.push_back(note);
        return true;
    }

    bool ReadTrack(const tinygltf::Animation& animation, const tinygltf::AnimationChannel& channel,
                   int width, Track& track) {
        if (channel.sampler < 0 ||
            static_cast<size_t>(channel.sampler) >= animation.samplers.size())
            return Fail("an animation channel names a sampler that is not there");
        const tinygltf::AnimationSampler& s =
            animation.samplers[static_cast<size_t>(channel.sampler)];
        const std::string interpolation = s.interpolation.empty() ? "LINEAR" : s.interpolation;
        if (interpolation == "LINEAR")
            track.interpolation = Interpolation::kLinear;
        else if (interpolation == "STEP")
            track.interpolation = Interpolation::kStep;
        else if (interpolation == "CUBICSPLINE")
            track.interpolation = Interpolation::kCubic;
        else
            return Fail("an animation sampler has the unknown interpolation " + interpolation);
        if (!accessors_.Read(s.input, 1, "an animation's key times", track.times) ||
            !accessors_.Read(s.output, width, "an animation's key values", track.values))
            return false;
        const size_t per = track.interpolation == Interpolation::kCubic ? 3 : 1;
        if (track.times.empty() ||
            track.values.size() != track.times.size() * per * static_cast<size_t>(width))
            return Fail("an animation sampler has " + std::to_string(track.times.size()) +
                        " key times for " +
                        std::to_string(track.values.size() / static_cast<size_t>(width)) +
                        " values");
        for (size_t k = 0; k < track.times.size(); ++k)
            if (!std::isfinite(track.times[k]) || (k > 0 && track.times[k] < track.times[k - 1]))
                return Fail("an animation's key times are not rising numbers");
        if (!(track.times.back() < 1e6))
            return Fail("an animation runs beyond a million seconds");
        for (double v : track.values)
            if (!std::isfinite(v))
                return Fail("an animation has a key value that is not a finite number");
        return true;
    }

    // Every animation, as it is; the frames it keys are made later.
    bool Animations() {
        double rate = model_.frameRate > 0 ? model_.frameRate : 24;
        for (const tinygltf::Animation& animation : g_.animations)
            if (const tinygltf::Value* ours = Kinemo(animation.extras);
                ours && ours->Has("frameRate")) {
                const double recorded = Number(ours->Get("frameRate"));
                if (recorded > 0 && recorded <= 1000) rate = recorded;
            }
        model_.frameRate = rate;
        for (size_t a = 0; a < g_.animations.size(); ++a) {
            const tinygltf::Animation& animation = g_.animations[a];
            Animation& out = model_.animations.emplace_back();
            out.name = !animation.name.empty() ? animation.name
                                               : "Animation " + std::to_string(a + 1);
            if (const tinygltf::Value* ours = Kinemo(animation.extras)) {
                if (ours->Has("first") && ours->Has("last")) {
                    const double first = Number(ours->Get("first")), last = Number(ours->Get("last"));
                    if (first >= 1 && last >= first && last <= 1000000) {
                        out.first = static_cast<int>(first);
                        out.last = static_cast<int>(last);
                    }
                }
                if (ours->Has("loop") && ours->Get("loop").IsBool())
                    out.loop = ours->Get("loop").Get<bool>();
            }
            for (const tinygltf::AnimationChannel& channel : animation.channels) {
                const int target = channel.target_node;
                if (target < 0 || static_cast<size_t>(target) >= g_.nodes.size())
                    return Fail("an animation channel targets node " + std::to_string(target) +
                                ", which is not there");
                const int node = made_[static_cast<size_t>(target)];
                if (node < 0) continue;  // a node the scene leaves out
                const int slot = channel.target_path == "translation" ? 0
                                 : channel.target_path == "rotation"  ? 1
                                 : channel.target_path == "scale"     ? 2
                                                                      : -1;
                if (slot < 0) continue;  // morph weights: nothing the editor keeps
                Channel& c = out.channels.emplace_back();
                c.node = node;
                c.path = static_cast<ChannelPath>(slot);
                if (!ReadTrack(animation, channel, slot == 1 ? 4 : 3, c.track)) return false;
                out.duration = std::max(out.duration, c.track.times.back());
            }
        }
        // Kinemo's own files say at which frames the joints were keyed.
        for (const int index : jointNodes_) {
            const tinygltf::Value* ours = Kinemo(g_.nodes[static_cast<size_t>(index)].extras);
            if (!ours || !ours->Has("keys") || !ours->Get("keys").IsArray()) continue;
            Node& joint = model_.nodes[static_cast<size_t>(made_[static_cast<size_t>(index)])];
            const tinygltf::Value& list = ours->Get("keys");
            for (size_t k = 0; k + 7 <= list.ArrayLen(); k += 7) {
                Key key;
                const double frame = std::round(Number(list.Get(static_cast<int>(k))));
                if (!(std::fabs(frame) < 1000000))
                    return Fail("an animation runs beyond a million frames");
                key.frame = static_cast<int>(frame);
                for (size_t p = 0; p < 6; ++p)
                    key.tcb[p] = Parameter(Number(list.Get(static_cast<int>(k + 1 + p))));
                joint.recordedKeys.push_back(key);
            }
        }
        return true;
    }

    const tinygltf::Model& g_;
    std::string path_;
    std::string folder_;
    const ImageBytes& images_;
    std::map<int, std::string> stored_;  // image index -> the file it was written to
    Model& model_;
    std::string& problem_;
    Accessors accessors_;
    std::set<int> joints_, helpers_;
    std::map<int, Mat4> relaxed_;
    std::vector<int> made_;  // glTF node -> model node
    std::vector<bool> visited_;
    std::vector<int> jointNodes_;
    std::vector<Pending> pendingMeshes_;
};

constexpr int kMaxJsonDepth = 512;

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    char buffer[65536];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, got);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

// The JSON chunk of a .glb, or nothing when the header does not say where
// it is (tinygltf then gives its own reason).
std::string_view GlbJsonChunk(const std::string& bytes) {
    if (bytes.size() < 20) return {};
    uint32_t length = 0;
    std::memcpy(&length, bytes.data() + 12, 4);
    return std::string_view(bytes).substr(20, length);
}

// The deepest nesting of arrays and objects, strings skipped.
int JsonDepth(std::string_view json) {
    int depth = 0, deepest = 0;
    bool inString = false, escaped = false;
    for (const char c : json) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return deepest;
}

// The first extension the file requires that the editor cannot honour;
// empty when there is none. Read before tinygltf, which would otherwise
// refuse a Draco file for its empty buffer views.
std::string UnsupportedRequiredExtension(std::string_view json) {
    const nlohmann::json document = nlohmann::json::parse(json, nullptr, false);
    if (!document.is_object() || !document.contains("extensionsRequired") ||
        !document["extensionsRequired"].is_array())
        return {};
    for (const auto& item : document["extensionsRequired"]) {
        if (!item.is_string()) continue;
        const std::string name = item.get<std::string>();
        // Quantized attributes read as any accessor; material and light
        // extensions change nothing the editor keeps.
        if (name == "KHR_mesh_quantization" || name.rfind("KHR_materials_", 0) == 0 ||
            name == "KHR_texture_transform" || name == "KHR_lights_punctual")
            continue;
        return name;
    }
    return {};
}

}  // namespace

bool ReadGltf(const std::string& path, Model& model, std::string& problem) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        problem = "it is a folder, not a file";
        return false;
    }
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) {
        problem = "the file cannot be opened";
        return false;
    }
    if (bytes.empty()) {
        problem = "the file is empty";
        return false;
    }
    const bool binary = bytes.compare(0, 4, "glTF") == 0;
    // tinygltf parses nested JSON by recursion: a deep enough document
    // would overflow the stack before any check of ours.
    if (JsonDepth(binary ? GlbJsonChunk(bytes) : std::string_view(bytes)) > kMaxJsonDepth) {
        problem = "it is not a readable glTF file (its JSON is nested deeper than " +
                  std::to_string(kMaxJsonDepth) + " levels)";
        return false;
    }
    const std::string extension =
        UnsupportedRequiredExtension(binary ? GlbJsonChunk(bytes) : std::string_view(bytes));
    if (extension == "KHR_draco_mesh_compression") {
        problem = std::string(kDracoProblem);
        return false;
    }
    if (!extension.empty()) {
        problem = "it requires the glTF extension " + extension + ", which the editor does not read";
        return false;
    }
    tinygltf::TinyGLTF loader;
    ImageBytes images;
    loader.SetImageLoader(KeepImageBytes, &images);
    tinygltf::Model g;
    std::string error, warning;
    const std::string folder = fs::path(path).parent_path().string();
    const bool loaded =
        binary ? loader.LoadBinaryFromMemory(&g, &error, &warning,
                                             reinterpret_cast<const unsigned char*>(bytes.data()),
                                             static_cast<unsigned int>(bytes.size()), folder)
               : loader.LoadASCIIFromString(&g, &error, &warning, bytes.data(),
                                            static_cast<unsigned int>(bytes.size()), folder);
    if (!loaded) {
        problem = error.empty() ? "it is not a glTF file"
                                : "it is not a readable glTF file (" + Trimmed(error) + ")";
        return false;
    }
    Importer importer(g, path, images, model, problem);
    return importer.Run();
}

}  // namespace kinemo_plugin
