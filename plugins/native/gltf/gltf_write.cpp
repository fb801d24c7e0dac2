// glTF export: the scene read through SceneData into one glTF document.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "plugins/native/gltf/gltf_format.h"
#include "plugins/native/gltf/tinygltf_config.h"

namespace kinemo_plugin {

namespace fs = std::filesystem;

namespace {

constexpr int kArrayBuffer = TINYGLTF_TARGET_ARRAY_BUFFER;
constexpr int kElementBuffer = TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER;

class Exporter {
public:
    Exporter(const Model& model, const std::string& folder, bool binary)
        : m_(model), folder_(folder), binary_(binary) {
        g_.asset.version = "2.0";
        g_.asset.generator = "Kinemo";
        for (size_t i = 0; i < m_.nodes.size(); ++i)
            if (m_.nodes[i].kind == NodeKind::kJoint) {
                jointById_[m_.nodes[i].id] = static_cast<int>(i);
                joints_.push_back(static_cast<int>(i));
            }
    }

    tinygltf::Model& Build() {
        Nodes();
        for (size_t i = 0; i < m_.nodes.size(); ++i)
            if (m_.nodes[i].kind == NodeKind::kMesh) Mesh(static_cast<int>(i));
        Animations();
        CommonRoot();
        if (!bin_.empty()) {
            g_.buffers.emplace_back();
            g_.buffers.back().data = std::move(bin_);
        }
        return g_;
    }

private:
    int View(const void* data, size_t bytes, int target, size_t stride = 0) {
        while (bin_.size() % 4) bin_.push_back(0);
        tinygltf::BufferView view;
        view.buffer = 0;
        view.byteOffset = bin_.size();
        view.byteLength = bytes;
        view.byteStride = stride;
        view.target = target;
        const auto* p = static_cast<const unsigned char*>(data);
        bin_.insert(bin_.end(), p, p + bytes);
        g_.bufferViews.push_back(view);
        return static_cast<int>(g_.bufferViews.size()) - 1;
    }

    int Accessor(int view, int componentType, int type, size_t count) {
        tinygltf::Accessor a;
        a.bufferView = view;
        a.componentType = componentType;
        a.type = type;
        a.count = count;
        g_.accessors.push_back(a);
        return static_cast<int>(g_.accessors.size()) - 1;
    }

    // Floats, `width` a element; with bounds, the accessor gets min and max.
    int Floats(const std::vector<float>& values, int width, int type, int target, bool bounds) {
        const int accessor = Accessor(View(values.data(), values.size() * sizeof(float), target),
                                      TINYGLTF_COMPONENT_TYPE_FLOAT, type,
                                      values.size() / static_cast<size_t>(width));
        if (bounds && !values.empty()) {
            std::vector<double> lo(values.begin(), values.begin() + width), hi = lo;
            for (size_t i = 0; i < values.size(); ++i) {
                const size_t k = i % static_cast<size_t>(width);
                lo[k] = std::min(lo[k], static_cast<double>(values[i]));
                hi[k] = std::max(hi[k], static_cast<double>(values[i]));
            }
            g_.accessors[static_cast<size_t>(accessor)].minValues = lo;
            g_.accessors[static_cast<size_t>(accessor)].maxValues = hi;
        }
        return accessor;
    }

    static void SetTrs(tinygltf::Node& n, const Mat4& matrix) {
        const Trs trs = Decompose(matrix);
        n.translation = {trs.t[0], trs.t[1], trs.t[2]};
        n.rotation = {trs.r.x, trs.r.y, trs.r.z, trs.r.w};
        n.scale = {trs.s[0], trs.s[1], trs.s[2]};
    }

    // Consumers look nodes up by name: a repeated name gets a number.
    std::string UniqueName(const std::string& name) {
        if (names_.insert(name).second) return name;
        for (int n = 2;; ++n) {
            const std::string numbered = name + " " + std::to_string(n);
            if (names_.insert(numbered).second) return numbered;
        }
    }

    void Nodes() {
        g_.scenes.emplace_back();
        g_.defaultScene = 0;
        for (size_t i = 0; i < m_.nodes.size(); ++i) {
            const Node& node = m_.nodes[i];
            tinygltf::Node n;
            n.name = UniqueName(node.name.empty() ? "Node" : node.name);
            // Joints as the current pose shows them; keys animate them.
            SetTrs(n, node.kind == NodeKind::kJoint ? PoseMatrix(node.matrix, node.offset)
                                                    : node.matrix);
            g_.nodes.push_back(n);
            if (node.parent >= 0)
                g_.nodes[static_cast<size_t>(node.parent)].children.push_back(static_cast<int>(i));
            else
                g_.scenes[0].nodes.push_back(static_cast<int>(i));
        }
    }

    // glTF wants the joints of a skin under one root. When they are not (two
    // skeletons, or the stand-in for unbound vertices beside a skeleton),
    // the top nodes go under one node marked in extras.kinemo, which the
    // import leaves out again. Skinned meshes without children stay on top:
    // nothing above a skinned mesh affects it.
    void CommonRoot() {
        std::vector<int> parent(g_.nodes.size(), -1);
        for (size_t i = 0; i < g_.nodes.size(); ++i)
            for (int c : g_.nodes[i].children) parent[static_cast<size_t>(c)] = static_cast<int>(i);
        auto top = [&](int n) {
            while (parent[static_cast<size_t>(n)] >= 0) n = parent[static_cast<size_t>(n)];
            return n;
        };
        bool split = false;
        std::vector<bool> joint(g_.nodes.size(), false);
        for (const tinygltf::Skin& skin : g_.skins)
            for (int j : skin.joints) {
                split = split || top(j) != top(skin.joints[0]);
                joint[static_cast<size_t>(j)] = true;
            }
        if (!split) return;
        tinygltf::Node root;
        root.name = UniqueName("Kinemo");
        tinygltf::Value::Object flag, ours;
        flag["root"] = tinygltf::Value(true);
        ours["kinemo"] = tinygltf::Value(flag);
        root.extras = tinygltf::Value(ours);
        std::vector<int> kept;
        for (int n : g_.scenes[0].nodes) {
            const tinygltf::Node& node = g_.nodes[static_cast<size_t>(n)];
            if (node.skin >= 0 && node.children.empty() && !joint[static_cast<size_t>(n)])
                kept.push_back(n);
            else
                root.children.push_back(n);
        }
        g_.nodes.push_back(root);
        kept.insert(kept.begin(), static_cast<int>(g_.nodes.size()) - 1);
        g_.scenes[0].nodes = kept;
    }

    std::string ImageUri(const std::string& image) {
        std::error_code ec;
        fs::path relative = fs::relative(image, folder_, ec);
        if (ec || relative.empty()) relative = image;
        return relative.generic_string();
    }

    static bool ReadImage(const std::string& path, std::vector<unsigned char>& bytes,
                          std::string& mime) {
        std::ifstream in(path, std::ios::binary);
        if (!in) return false;
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (bytes.size() >= 8 && std::memcmp(bytes.data(), "\x89PNG", 4) == 0)
            mime = "image/png";
        else if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF)
            mime = "image/jpeg";
        else
            return false;
        return true;
    }

    int Material(const std::string& image) {
        auto found = materials_.find(image);
        if (found != materials_.end()) return found->second;
        tinygltf::Image img;
        img.name = fs::path(image).stem().string();
        // A .glb carries its PNG and JPEG images, so that it can be moved
        // alone; other formats (which glTF does not know) stay files.
        std::vector<unsigned char> bytes;
        std::string mime;
        if (binary_ && ReadImage(image, bytes, mime)) {
            img.bufferView = View(bytes.data(), bytes.size(), 0);
            img.mimeType = mime;
        } else {
            img.uri = ImageUri(image);
        }
        g_.images.push_back(img);
        tinygltf::Texture texture;
        texture.source = static_cast<int>(g_.images.size()) - 1;
        g_.textures.push_back(texture);
        tinygltf::Material material;
        material.name = fs::path(image).stem().string();
        material.pbrMetallicRoughness.baseColorTexture.index =
            static_cast<int>(g_.textures.size()) - 1;
        material.pbrMetallicRoughness.metallicFactor = 0;
        material.pbrMetallicRoughness.roughnessFactor = 1;
        g_.materials.push_back(material);
        return materials_[image] = static_cast<int>(g_.materials.size()) - 1;
    }

    void Mesh(int index) {
        const Node& node = m_.nodes[static_cast<size_t>(index)];
        const size_t count = node.vertices.size();
        std::vector<uint32_t> indices;
        for (const auto& f : node.faces)
            if (f[0] >= 0 && f[1] >= 0 && f[2] >= 0 &&
                static_cast<size_t>(std::max({f[0], f[1], f[2]})) < count)
                indices.insert(indices.end(), f.begin(), f.end());
        if (count == 0 || indices.empty()) return;  // glTF meshes need triangles

        std::vector<float> positions, normals, texcoords;
        positions.reserve(count * 3);
        texcoords.reserve(count * 2);
        bool unit = true, zero = false;
        for (const Vertex& v : node.vertices) {
            positions.insert(positions.end(), v.position, v.position + 3);
            texcoords.push_back(v.texcoords[0]);
            texcoords.push_back(1.0f - v.texcoords[1]);  // glTF's v runs downwards
            const double length =
                std::sqrt(double(v.normal[0]) * v.normal[0] + double(v.normal[1]) * v.normal[1] +
                          double(v.normal[2]) * v.normal[2]);
            unit = unit && std::fabs(length - 1) < 1e-3;
            zero = zero || length < 1e-12;
        }
        tinygltf::Primitive prim;
        prim.mode = TINYGLTF_MODE_TRIANGLES;
        prim.attributes["POSITION"] = Floats(positions, 3, TINYGLTF_TYPE_VEC3, kArrayBuffer, true);
        // glTF normals are unit vectors: made so, or left out when a vertex has none.
        if (!zero) {
            normals.reserve(count * 3);
            for (const Vertex& v : node.vertices) {
                const double length = std::sqrt(double(v.normal[0]) * v.normal[0] +
                                                double(v.normal[1]) * v.normal[1] +
                                                double(v.normal[2]) * v.normal[2]);
                for (int k = 0; k < 3; ++k)
                    normals.push_back(unit ? v.normal[k]
                                           : static_cast<float>(v.normal[k] / length));
            }
            prim.attributes["NORMAL"] = Floats(normals, 3, TINYGLTF_TYPE_VEC3, kArrayBuffer, false);
        }
        prim.attributes["TEXCOORD_0"] =
            Floats(texcoords, 2, TINYGLTF_TYPE_VEC2, kArrayBuffer, false);
        if (count < 65536) {
            std::vector<uint16_t> shorts(indices.begin(), indices.end());
            prim.indices = Accessor(View(shorts.data(), shorts.size() * 2, kElementBuffer),
                                    TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT, TINYGLTF_TYPE_SCALAR,
                                    shorts.size());
        } else {
            prim.indices = Accessor(View(indices.data(), indices.size() * 4, kElementBuffer),
                                    TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT, TINYGLTF_TYPE_SCALAR,
                                    indices.size());
        }
        if (!node.texture.empty()) prim.material = Material(node.texture);
        const int skin = Skin(index, prim);

        tinygltf::Mesh mesh;
        mesh.name = node.name;
        mesh.primitives.push_back(prim);
        g_.meshes.push_back(mesh);
        tinygltf::Node& n = g_.nodes[static_cast<size_t>(index)];
        n.mesh = static_cast<int>(g_.meshes.size()) - 1;
        n.skin = skin;
    }

    // The skin of a mesh whose vertices are bound: every joint of the scene,
    // inverse bind matrices (mesh local x inverse relaxed) that give the
    // editor's skinning, weights normalised over the joints that exist.
    // Unbound vertices follow a stand-in joint that holds them in place.
    int Skin(int index, tinygltf::Primitive& prim) {
        const Node& node = m_.nodes[static_cast<size_t>(index)];
        const size_t count = node.vertices.size();
        std::vector<uint16_t> jointValues(count * 4, 0);
        std::vector<float> weightValues(count * 4, 0);
        const uint16_t helper = static_cast<uint16_t>(joints_.size());
        std::map<int, int> slotOf;  // model node -> skin joint
        for (size_t k = 0; k < joints_.size(); ++k) slotOf[joints_[k]] = static_cast<int>(k);
        bool bound = false, unbound = false;
        for (size_t i = 0; i < count; ++i) {
            const Vertex& v = node.vertices[i];
            std::map<int, double> weights;
            double sum = 0;
            for (int k = 0; k < 4; ++k) {
                auto joint = jointById_.find(v.joint[k]);
                if (v.joint[k] < 0 || joint == jointById_.end() || !(v.weight[k] > 0)) continue;
                weights[slotOf[joint->second]] += v.weight[k];
                sum += v.weight[k];
            }
            if (sum < 0.0001) {
                jointValues[i * 4] = helper;
                weightValues[i * 4] = 1;
                unbound = true;
                continue;
            }
            bound = true;
            size_t k = 0, strongest = 0;
            for (const auto& [slot, weight] : weights) {
                jointValues[i * 4 + k] = static_cast<uint16_t>(slot);
                weightValues[i * 4 + k] = static_cast<float>(weight / sum);
                if (weightValues[i * 4 + k] > weightValues[i * 4 + strongest]) strongest = k;
                ++k;
            }
            // The floats must add up to 1 as consumers check it: the
            // strongest weight takes what rounding left over.
            double others = 0;
            for (size_t s = 0; s < 4; ++s)
                if (s != strongest) others += weightValues[i * 4 + s];
            weightValues[i * 4 + strongest] = static_cast<float>(1.0 - others);
        }
        if (!bound) return -1;
        std::vector<int> skinJoints = joints_;
        std::vector<float> inverse;
        for (int j : joints_) {
            Mat4 ibm = Mul(node.matrix, Inverse(m_.nodes[static_cast<size_t>(j)].relaxed));
            // An affine matrix, exactly: rounding must not leave 1e-17 where 0 belongs.
            ibm.m[3] = ibm.m[7] = ibm.m[11] = 0;
            ibm.m[15] = 1;
            for (double value : ibm.m) inverse.push_back(static_cast<float>(value));
        }
        if (unbound) {
            tinygltf::Node stand;
            stand.name = UniqueName(node.name + " (unbound vertices)");
            tinygltf::Value::Object flag, ours;
            flag["unbound"] = tinygltf::Value(true);
            ours["kinemo"] = tinygltf::Value(flag);
            stand.extras = tinygltf::Value(ours);
            g_.nodes.push_back(stand);
            g_.scenes[0].nodes.push_back(static_cast<int>(g_.nodes.size()) - 1);
            skinJoints.push_back(static_cast<int>(g_.nodes.size()) - 1);
            for (double value : node.matrix.m) inverse.push_back(static_cast<float>(value));
        }
        if (skinJoints.size() <= 256) {
            std::vector<uint8_t> bytes(jointValues.begin(), jointValues.end());
            prim.attributes["JOINTS_0"] =
                Accessor(View(bytes.data(), bytes.size(), kArrayBuffer),
                         TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE, TINYGLTF_TYPE_VEC4, count);
        } else {
            prim.attributes["JOINTS_0"] =
                Accessor(View(jointValues.data(), jointValues.size() * 2, kArrayBuffer),
                         TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT, TINYGLTF_TYPE_VEC4, count);
        }
        prim.attributes["WEIGHTS_0"] =
            Floats(weightValues, 4, TINYGLTF_TYPE_VEC4, kArrayBuffer, false);
        tinygltf::Skin skin;
        skin.name = node.name;
        skin.joints = skinJoints;
        skin.inverseBindMatrices = Floats(inverse, 16, TINYGLTF_TYPE_MAT4, 0, false);
        g_.skins.push_back(skin);
        return static_cast<int>(g_.skins.size()) - 1;
    }

    void Channel(tinygltf::Animation& animation, int node, const char* path,
                 const std::vector<float>& times, const std::vector<float>& values, int width,
                 const char* interpolation) {
        tinygltf::AnimationSampler sampler;
        sampler.input = Floats(times, 1, TINYGLTF_TYPE_SCALAR, 0, true);
        sampler.output =
            Floats(values, width, width == 4 ? TINYGLTF_TYPE_VEC4 : TINYGLTF_TYPE_VEC3, 0, false);
        sampler.interpolation = interpolation;
        animation.samplers.push_back(sampler);
        tinygltf::AnimationChannel channel;
        channel.sampler = static_cast<int>(animation.samplers.size()) - 1;
        channel.target_node = node;
        channel.target_path = path;
        animation.channels.push_back(channel);
    }

    static void Put(std::vector<float>& out, const double* values, int n) {
        for (int k = 0; k < n; ++k) out.push_back(static_cast<float>(values[k]));
    }
    static void Put(std::vector<float>& out, const Quat& q) {
        const double values[4] = {q.x, q.y, q.z, q.w};
        Put(out, values, 4);
    }

    // Rotations along the shorter arc from one key to the next.
    static std::vector<Quat> Continuous(std::vector<Quat> q) {
        for (size_t k = 1; k < q.size(); ++k)
            if (Dot(q[k - 1], q[k]) < 0) q[k] = Negated(q[k]);
        return q;
    }

    // Translation tangents (units a second) of the editor's TCB spline: out
    // of key k into key k + 1, and into key k from key k - 1. The ends use
    // the stand-in keys the editor adds one second before and after.
    void Tangents(const std::vector<Key>& keys, const std::vector<Trs>& poses,
                  std::vector<float>& values, double rate) {
        const size_t n = keys.size();
        auto frame = [&](long k) -> double {
            if (k < 0)
                return static_cast<int>(static_cast<float>(keys[0].frame) -
                                        static_cast<float>(rate));
            if (k >= static_cast<long>(n))
                return static_cast<int>(static_cast<float>(keys[n - 1].frame) +
                                        static_cast<float>(rate));
            return keys[static_cast<size_t>(k)].frame;
        };
        auto position = [&](long k, int c) {
            const long clamped = std::clamp(k, 0L, static_cast<long>(n) - 1);
            return poses[static_cast<size_t>(clamped)].t[c];
        };
        for (size_t k = 0; k < n; ++k) {
            const long i = static_cast<long>(k);
            const auto& tcb = keys[k].tcb;
            double in[3] = {0, 0, 0}, out[3] = {0, 0, 0};
            if (k > 0) {  // incoming: the segment from k - 1 to k
                const double span = frame(i) - frame(i - 1);
                const double h = span / (frame(i + 1) - frame(i - 1)) * (1 - tcb[0]);
                for (int c = 0; c < 3; ++c) {
                    const double d = position(i, c) - position(i - 1, c);
                    const double next = position(i + 1, c) - position(i, c);
                    in[c] = (next * h * (1 + tcb[1]) * (1 - tcb[2]) +
                             d * h * (1 - tcb[1]) * (1 + tcb[2])) /
                            (span / rate);
                }
            }
            if (k + 1 < n) {  // outgoing: the segment from k to k + 1
                const double span = frame(i + 1) - frame(i);
                const double g = span / (frame(i + 1) - frame(i - 1)) * (1 - tcb[0]);
                for (int c = 0; c < 3; ++c) {
                    const double d = position(i + 1, c) - position(i, c);
                    const double before = position(i, c) - position(i - 1, c);
                    out[c] = (before * g * (1 + tcb[1]) * (1 + tcb[2]) +
                              d * g * (1 - tcb[1]) * (1 - tcb[2])) /
                             (span / rate);
                }
            }
            Put(values, in, 3);
            Put(values, poses[k].t, 3);
            Put(values, out, 3);
        }
    }

    // What the editor shows of joint `joint` at frame f: its sample there.
    Trs SampledPose(const Node& joint, int frame) const {
        const int i = frame - m_.firstFrame;
        if (i >= 0 && static_cast<size_t>(i) < joint.samples.size())
            return Decompose(PoseMatrix(joint.matrix, joint.samples[static_cast<size_t>(i)]));
        // Without samples: the nearest key (exact outside the keys' range).
        const Key* best = &joint.keys.front();
        for (const Key& k : joint.keys)
            if (std::abs(k.frame - frame) < std::abs(best->frame - frame)) best = &k;
        return Decompose(PoseMatrix(joint.matrix, best->offset));
    }

    // The channels of one keyed joint over the frames first..last, times
    // from 0 at `first`, in the form of the editor's interpolation.
    void JointChannels(tinygltf::Animation& animation, int index, int first, int last,
                       double rate) {
        const Node& joint = m_.nodes[static_cast<size_t>(index)];
        auto time = [&](double frame) { return static_cast<float>((frame - first) / rate); };
        const size_t n = joint.keys.size();
        std::vector<Trs> poses;
        for (const Key& key : joint.keys)
            poses.push_back(Decompose(PoseMatrix(joint.matrix, key.offset)));
        std::vector<float> times, translations, turns;
        std::vector<Quat> rotations;
        auto put = [&](double frame, const Trs& pose) {
            times.push_back(time(frame));
            Put(translations, pose.t, 3);
            rotations.push_back(pose.r);
        };
        auto finishRotations = [&]() {
            for (const Quat& q : Continuous(rotations)) Put(turns, q);
        };
        if (m_.interpolation == 0) {
            // The editor switches to the next key's pose halfway between keys.
            put(first, SampledPose(joint, first));
            for (size_t k = 1; k < n; ++k) {
                const double half = (joint.keys[k - 1].frame + joint.keys[k].frame) / 2.0;
                if (half > first && half < last) put(half, poses[k]);
            }
            if (last > first) put(last, SampledPose(joint, last));
            finishRotations();
            Channel(animation, index, "translation", times, translations, 3, "STEP");
            Channel(animation, index, "rotation", times, turns, 4, "STEP");
            return;
        }
        // One key, or a clip of one frame (a cubic spline needs two keys): linear.
        if (m_.interpolation == 1 || n == 1 || last == first) {
            put(first, SampledPose(joint, first));
            for (size_t k = 0; k < n; ++k)
                if (joint.keys[k].frame > first && joint.keys[k].frame < last)
                    put(joint.keys[k].frame, poses[k]);
            if (last > first) put(last, SampledPose(joint, last));
            finishRotations();
            Channel(animation, index, "translation", times, translations, 3, "LINEAR");
            Channel(animation, index, "rotation", times, turns, 4, "LINEAR");
            return;
        }
        // Spline: translations as the TCB curve itself, cut at the clip's
        // ends; rotations (squad has no glTF form) at every frame.
        std::vector<float> tangents;
        Tangents(joint.keys, poses, tangents, rate);
        auto tangent = [&](size_t k, int part, int c) {  // part 0 in, 2 out
            return static_cast<double>(tangents[(3 * k + static_cast<size_t>(part)) * 3 +
                                                static_cast<size_t>(c)]);
        };
        std::vector<float> curve;
        auto cut = [&](int frame) {  // the curve's value and slope at a frame between keys
            double value[3], slope[3] = {0, 0, 0};
            if (frame <= joint.keys.front().frame || frame >= joint.keys.back().frame) {
                const Trs& end = frame <= joint.keys.front().frame ? poses.front() : poses.back();
                std::copy(end.t, end.t + 3, value);
            } else {
                size_t k = 0;
                while (joint.keys[k + 1].frame <= frame) ++k;
                const double span = (joint.keys[k + 1].frame - joint.keys[k].frame) / rate;
                const double u = (frame - joint.keys[k].frame) / rate / span;
                const double u2 = u * u, u3 = u2 * u;
                for (int c = 0; c < 3; ++c) {
                    const double p0 = poses[k].t[c], p1 = poses[k + 1].t[c];
                    const double m0 = tangent(k, 2, c), m1 = tangent(k + 1, 0, c);
                    value[c] = (2 * u3 - 3 * u2 + 1) * p0 + span * (u3 - 2 * u2 + u) * m0 +
                               (-2 * u3 + 3 * u2) * p1 + span * (u3 - u2) * m1;
                    slope[c] = ((6 * u2 - 6 * u) * p0 + span * (3 * u2 - 4 * u + 1) * m0 +
                                (-6 * u2 + 6 * u) * p1 + span * (3 * u2 - 2 * u) * m1) /
                               span;
                }
            }
            times.push_back(time(frame));
            Put(curve, slope, 3);
            Put(curve, value, 3);
            Put(curve, slope, 3);
        };
        auto isKey = [&](int frame) {
            return std::any_of(joint.keys.begin(), joint.keys.end(),
                               [frame](const Key& k) { return k.frame == frame; });
        };
        if (!isKey(first)) cut(first);
        for (size_t k = 0; k < n; ++k) {
            if (joint.keys[k].frame < first || joint.keys[k].frame > last) continue;
            times.push_back(time(joint.keys[k].frame));
            curve.insert(curve.end(), tangents.begin() + static_cast<long>(9 * k),
                         tangents.begin() + static_cast<long>(9 * k + 9));
        }
        if (last > first && !isKey(last)) cut(last);
        Channel(animation, index, "translation", times, curve, 3, "CUBICSPLINE");
        times.clear();
        for (int f = first; f <= last; ++f) {
            times.push_back(time(f));
            rotations.push_back(SampledPose(joint, f).r);
        }
        finishRotations();
        Channel(animation, index, "rotation", times, turns, 4, "LINEAR");
    }

    // One animation a clip, in list order; a scene without clips gets one,
    // "Animation", from frame 1 to its last key.
    void Animations() {
        const double rate = m_.frameRate > 0 ? m_.frameRate : 24;
        std::vector<Clip> clips = m_.clips;
        int lastKey = 0;
        for (const Node& node : m_.nodes)
            if (node.kind == NodeKind::kJoint && !node.keys.empty())
                lastKey = std::max(lastKey, node.keys.back().frame);
        if (clips.empty()) {
            if (lastKey == 0) return;
            clips.push_back({"Animation", 1, std::max(lastKey, 1), false});
        }
        for (const Clip& clip : clips) {
            tinygltf::Animation animation;
            animation.name = clip.name;
            for (size_t i = 0; i < m_.nodes.size(); ++i)
                if (m_.nodes[i].kind == NodeKind::kJoint && !m_.nodes[i].keys.empty())
                    JointChannels(animation, static_cast<int>(i), clip.first, clip.last, rate);
            if (animation.channels.empty()) continue;
            tinygltf::Value::Object ours, extras;
            ours["frameRate"] = tinygltf::Value(rate);
            ours["first"] = tinygltf::Value(clip.first);
            ours["last"] = tinygltf::Value(clip.last);
            ours["loop"] = tinygltf::Value(clip.loop);
            extras["kinemo"] = tinygltf::Value(ours);
            animation.extras = tinygltf::Value(extras);
            g_.animations.push_back(animation);
        }
        // The keys themselves, so that the editor reads back the same keys.
        for (size_t i = 0; i < m_.nodes.size(); ++i) {
            const Node& joint = m_.nodes[i];
            if (joint.kind != NodeKind::kJoint || joint.keys.empty()) continue;
            tinygltf::Value::Array keys;
            for (const Key& key : joint.keys) {
                keys.push_back(tinygltf::Value(key.frame));
                for (float p : key.tcb) keys.push_back(tinygltf::Value(static_cast<double>(p)));
            }
            tinygltf::Value::Object ours, extras;
            ours["keys"] = tinygltf::Value(keys);
            extras["kinemo"] = tinygltf::Value(ours);
            g_.nodes[i].extras = tinygltf::Value(extras);
        }
    }

    const Model& m_;
    std::string folder_;
    bool binary_ = false;
    tinygltf::Model g_;
    std::vector<unsigned char> bin_;
    std::map<int, int> jointById_;  // scene joint id -> model node
    std::vector<int> joints_;       // model nodes that are joints, in order
    std::map<std::string, int> materials_;
    std::set<std::string> names_;
};

}  // namespace

bool WriteGltf(const std::string& path, const Model& model, bool binary, std::string& problem) {
    const fs::path file = path + (binary ? ".glb" : ".gltf");
    Exporter exporter(model, file.parent_path().string(), binary);
    tinygltf::Model& g = exporter.Build();
    if (!binary && !g.buffers.empty()) g.buffers[0].uri = file.stem().string() + ".bin";
    tinygltf::TinyGLTF writer;
    if (!writer.WriteGltfSceneToFile(&g, file.string(), false, false, true, binary)) {
        problem = "cannot write " + file.string();
        return false;
    }
    return true;
}

}  // namespace kinemo_plugin
