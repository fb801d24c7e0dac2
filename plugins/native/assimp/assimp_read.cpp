#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>

#include "plugins/native/assimp/assimp_format.h"
#include "plugins/native/common/model_animation.h"
#include "plugins/native/common/texture_files.h"

#include <minizip/unzip.h>

namespace kinemo_plugin {

namespace fs = std::filesystem;

namespace {

// Assimp's matrices are for column vectors, stored row by row.
Mat4 FromAssimp(const aiMatrix4x4& a) {
    const double rows[4][4] = {{a.a1, a.a2, a.a3, a.a4},
                               {a.b1, a.b2, a.b3, a.b4},
                               {a.c1, a.c2, a.c3, a.c4},
                               {a.d1, a.d2, a.d3, a.d4}};
    Mat4 m;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m(r, c) = rows[c][r];
    return m;
}

class Converter {
public:
    Converter(const aiScene& scene, const std::string& path, Model& model, std::string& problem)
        : s_(scene),
          path_(path),
          folder_(fs::path(path).parent_path().string()),
          model_(model),
          problem_(problem) {}

    bool Run() {
        // Nodes named by bones are joints, and so is every node between two of them.
        std::set<std::string> bones;
        for (unsigned i = 0; i < s_.mNumMeshes; ++i)
            for (unsigned b = 0; b < s_.mMeshes[i]->mNumBones; ++b)
                bones.insert(s_.mMeshes[i]->mBones[b]->mName.C_Str());
        std::vector<const aiNode*> stack = {s_.mRootNode};
        while (!stack.empty()) {
            const aiNode* n = stack.back();
            stack.pop_back();
            if (bones.count(n->mName.C_Str())) {
                std::vector<const aiNode*> path;
                for (const aiNode* p = n->mParent; p; p = p->mParent) {
                    if (bones.count(p->mName.C_Str()) || joints_.count(p)) {
                        joints_.insert(path.begin(), path.end());
                        break;
                    }
                    path.push_back(p);
                }
                joints_.insert(n);
            }
            for (unsigned c = 0; c < n->mNumChildren; ++c) stack.push_back(n->mChildren[c]);
        }
        return AddNode(s_.mRootNode, -1, 0) && RestPose() && Meshes() && Animations();
    }

private:
    bool Fail(const std::string& text) {
        problem_ = text;
        return false;
    }

    bool AddNode(const aiNode* n, int parent, int depth) {
        if (depth > 1000) return Fail("the node hierarchy is deeper than 1000 levels");
        const bool joint = joints_.count(n) > 0;
        const Mat4 matrix = FromAssimp(n->mTransformation);
        if (!IsFinite(matrix))
            return Fail(std::string("node '") + n->mName.C_Str() +
                        "' has a transform that is not finite");
        bool skinnedOnly = n->mNumMeshes > 0;
        for (unsigned i = 0; i < n->mNumMeshes; ++i)
            if (n->mMeshes[i] >= s_.mNumMeshes)
                return Fail("a node names a mesh that is not there");
        const bool selfMesh =
            !joint && n->mNumMeshes == 1 && s_.mMeshes[n->mMeshes[0]]->mNumBones == 0;
        std::string name = n->mName.C_Str();
        if (name.empty()) name = joint ? "Joint" : "Node";
        const int node = model_.Add(joint      ? NodeKind::kJoint
                                    : selfMesh ? NodeKind::kMesh
                                               : NodeKind::kNode,
                                    name, parent);
        model_.nodes[static_cast<size_t>(node)].matrix = matrix;
        byNode_[n] = node;
        byNodeName_.emplace(n->mName.C_Str(), node);
        if (joint) {
            byName_[n->mName.C_Str()] = node;
            jointOrder_.push_back(node);
        }
        for (unsigned i = 0; i < n->mNumMeshes; ++i) {
            const aiMesh* mesh = s_.mMeshes[n->mMeshes[i]];
            const bool skinned = mesh->mNumBones > 0;
            skinnedOnly = skinnedOnly && skinned;
            int target = node;
            if (!selfMesh) {
                // Skinned meshes go to the top: their bones place them.
                std::string meshName = mesh->mName.length ? mesh->mName.C_Str() : name;
                target = model_.Add(NodeKind::kMesh, meshName, skinned ? -1 : node);
            }
            pending_.push_back({mesh, target});
        }
        for (unsigned c = 0; c < n->mNumChildren; ++c)
            if (!AddNode(n->mChildren[c], node, depth + 1)) return false;
        return true;
    }

    // Bind placements from the bones' offset matrices. A bone that names no
    // node (Assimp keeps such bones) becomes a joint of its own at the top,
    // on its bind pose, so that its weights are kept.
    bool RestPose() {
        std::vector<std::string> orphans;
        for (unsigned i = 0; i < s_.mNumMeshes; ++i)
            for (unsigned b = 0; b < s_.mMeshes[i]->mNumBones; ++b) {
                const aiBone* bone = s_.mMeshes[i]->mBones[b];
                const Mat4 inverse = FromAssimp(bone->mOffsetMatrix);
                if (!IsFinite(inverse))
                    return Fail(std::string("bone '") + bone->mName.C_Str() +
                                "' has a matrix that is not finite");
                auto joint = byName_.find(bone->mName.C_Str());
                if (joint == byName_.end()) {
                    const std::string name = bone->mName.length ? bone->mName.C_Str() : "Joint";
                    const int made = model_.Add(NodeKind::kJoint, name, -1);
                    model_.nodes[static_cast<size_t>(made)].matrix = Inverse(inverse);
                    joint = byName_.emplace(bone->mName.C_Str(), made).first;
                    orphans.push_back(name);
                }
                Node& node = model_.nodes[static_cast<size_t>(joint->second)];
                if (!node.hasBind) {
                    node.hasBind = true;
                    node.bind = Inverse(inverse);
                }
            }
        if (!orphans.empty())
            model_.notes.push_back(std::to_string(orphans.size()) +
                                   (orphans.size() == 1 ? " bone names" : " bones name") +
                                   " no node of the file ('" + orphans.front() +
                                   "'...): placed at the top on its bind pose");
        return true;
    }

    // Every animation, keyed in ticks; seconds here.
    bool Animations() {
        for (unsigned a = 0; a < s_.mNumAnimations; ++a) {
            const aiAnimation* anim = s_.mAnimations[a];
            Animation& out = model_.animations.emplace_back();
            out.name = anim->mName.length ? anim->mName.C_Str() : "Animation " + std::to_string(a + 1);
            const double ticks = anim->mTicksPerSecond > 0 ? anim->mTicksPerSecond : 25.0;
            if (!std::isfinite(ticks) || !std::isfinite(anim->mDuration))
                return Fail("animation '" + out.name + "' has a length that is not finite");
            out.duration = std::max(0.0, anim->mDuration / ticks);
            for (unsigned c = 0; c < anim->mNumChannels; ++c) {
                const aiNodeAnim* channel = anim->mChannels[c];
                auto node = byNodeName_.find(channel->mNodeName.C_Str());
                if (node == byNodeName_.end()) continue;  // a node the scene does not have
                auto add = [&](ChannelPath path) -> Track& {
                    Channel& made = out.channels.emplace_back();
                    made.node = node->second;
                    made.path = path;
                    made.track.interpolation = Interpolation::kLinear;
                    return made.track;
                };
                auto time = [&](double t) { return t / ticks; };
                if (channel->mNumPositionKeys) {
                    Track& t = add(ChannelPath::kTranslation);
                    for (unsigned k = 0; k < channel->mNumPositionKeys; ++k) {
                        const aiVectorKey& key = channel->mPositionKeys[k];
                        t.times.push_back(time(key.mTime));
                        t.values.insert(t.values.end(), {key.mValue.x, key.mValue.y, key.mValue.z});
                    }
                }
                if (channel->mNumRotationKeys) {
                    Track& t = add(ChannelPath::kRotation);
                    for (unsigned k = 0; k < channel->mNumRotationKeys; ++k) {
                        const aiQuatKey& key = channel->mRotationKeys[k];
                        t.times.push_back(time(key.mTime));
                        t.values.insert(t.values.end(),
                                        {key.mValue.x, key.mValue.y, key.mValue.z, key.mValue.w});
                    }
                }
                if (channel->mNumScalingKeys) {
                    Track& t = add(ChannelPath::kScale);
                    for (unsigned k = 0; k < channel->mNumScalingKeys; ++k) {
                        const aiVectorKey& key = channel->mScalingKeys[k];
                        t.times.push_back(time(key.mTime));
                        t.values.insert(t.values.end(), {key.mValue.x, key.mValue.y, key.mValue.z});
                    }
                }
            }
            for (Channel& c : out.channels) {
                Track& t = c.track;
                for (double v : t.times)
                    if (!std::isfinite(v) || std::fabs(v) >= 1e6)
                        return Fail("animation '" + out.name + "' has a key time out of range");
                for (double v : t.values)
                    if (!std::isfinite(v))
                        return Fail("animation '" + out.name + "' has a key that is not finite");
                // Assimp gives keys in time order; a file that does not is sorted.
                std::vector<size_t> order(t.times.size());
                for (size_t k = 0; k < order.size(); ++k) order[k] = k;
                std::stable_sort(order.begin(), order.end(),
                                 [&](size_t x, size_t y) { return t.times[x] < t.times[y]; });
                const size_t w = static_cast<size_t>(t.Width(c.path));
                Track sorted = t;
                for (size_t k = 0; k < order.size(); ++k) {
                    sorted.times[k] = t.times[order[k]];
                    std::copy(t.values.begin() + static_cast<long>(order[k] * w),
                              t.values.begin() + static_cast<long>(order[k] * w + w),
                              sorted.values.begin() + static_cast<long>(k * w));
                }
                t = std::move(sorted);
                out.duration = std::max(out.duration, t.times.back());
            }
        }
        return true;
    }

    std::string Texture(unsigned materialIndex) {
        if (materialIndex >= s_.mNumMaterials) return {};
        aiString path;
        if (s_.mMaterials[materialIndex]->GetTexture(aiTextureType_DIFFUSE, 0, &path) != AI_SUCCESS)
            return {};
        const std::string name = path.C_Str();
        if (name.empty()) return {};
        auto done = textures_.find(name);
        if (done != textures_.end()) return done->second;
        // Images the file carries ("*0", or an FBX's embedded copy of a file).
        if (const aiTexture* embedded = s_.GetEmbeddedTexture(name.c_str())) {
            if (embedded->mHeight == 0 && embedded->pcData && embedded->mWidth > 0) {
                std::string hint = embedded->mFilename.length ? embedded->mFilename.C_Str() : name;
                if (fs::path(hint).extension().empty()) hint += std::string(".") + embedded->achFormatHint;
                return textures_[name] = StoreImage(
                           path_, hint, reinterpret_cast<const unsigned char*>(embedded->pcData),
                           embedded->mWidth);
            }
            return textures_[name] = std::string();  // raw texels: none of the files we meet
        }
        std::string found = FindTexture(folder_, name);
        std::error_code ec;
        if (!fs::exists(found, ec) && fs::path(path_).extension() == ".zae")
            if (std::string unpacked = FromArchive(name); !unpacked.empty()) found = unpacked;
        return textures_[name] = found;
    }

    // A zipped Collada file's image, out of the archive into the texture store.
    std::string FromArchive(const std::string& name) {
        unzFile zip = unzOpen(path_.c_str());
        if (!zip) return {};
        std::string entry = name;
        for (char& c : entry)
            if (c == '\\') c = '/';
        while (entry.rfind("./", 0) == 0) entry = entry.substr(2);
        std::string stored;
        bool located = unzLocateFile(zip, entry.c_str(), 2) == UNZ_OK;
        if (!located) {  // the file name anywhere in the archive
            const std::string file = fs::path(entry).filename().string();
            for (int more = unzGoToFirstFile(zip); more == UNZ_OK && !located;
                 more = unzGoToNextFile(zip)) {
                char inside[1024];
                unz_file_info info;
                if (unzGetCurrentFileInfo(zip, &info, inside, sizeof inside, nullptr, 0, nullptr,
                                          0) == UNZ_OK)
                    located = fs::path(inside).filename().string() == file;
            }
        }
        unz_file_info info;
        constexpr unsigned long kMaxImage = 256ul << 20;
        if (located && unzGetCurrentFileInfo(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) == UNZ_OK &&
            info.uncompressed_size > 0 && info.uncompressed_size <= kMaxImage &&
            unzOpenCurrentFile(zip) == UNZ_OK) {
            std::vector<unsigned char> bytes(info.uncompressed_size);
            const int got = unzReadCurrentFile(zip, bytes.data(), static_cast<unsigned>(bytes.size()));
            unzCloseCurrentFile(zip);
            if (got == static_cast<int>(bytes.size()))
                stored = StoreImage(path_, entry, bytes.data(), bytes.size());
        }
        unzClose(zip);
        return stored;
    }

    bool Meshes() {
        for (const auto& [mesh, target] : pending_) {
            Node& node = model_.nodes[static_cast<size_t>(target)];
            const std::string what = "mesh '" + node.name + "'";
            node.vertices.resize(mesh->mNumVertices);
            node.hasNormals = mesh->mNormals != nullptr;
            for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
                Vertex& v = node.vertices[i];
                const aiVector3D& p = mesh->mVertices[i];
                v.position[0] = p.x, v.position[1] = p.y, v.position[2] = p.z;
                if (mesh->mNormals) {
                    const aiVector3D& n = mesh->mNormals[i];
                    v.normal[0] = n.x, v.normal[1] = n.y, v.normal[2] = n.z;
                }
                if (mesh->mTextureCoords[0]) {
                    v.texcoords[0] = mesh->mTextureCoords[0][i].x;
                    v.texcoords[1] = mesh->mTextureCoords[0][i].y;
                }
                for (float value : {p.x, p.y, p.z, v.normal[0], v.normal[1], v.normal[2],
                                    v.texcoords[0], v.texcoords[1]})
                    if (!std::isfinite(value))
                        return Fail(what + " has a vertex value that is not a finite number");
            }
            for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
                const aiFace& face = mesh->mFaces[f];
                if (face.mNumIndices != 3) continue;  // points and lines
                std::array<int, 3> corners;
                for (int k = 0; k < 3; ++k) {
                    if (face.mIndices[k] >= mesh->mNumVertices)
                        return Fail(what + " has a face that names a vertex that is not there");
                    corners[static_cast<size_t>(k)] = static_cast<int>(face.mIndices[k]);
                }
                node.faces.push_back(corners);
            }
            std::vector<std::vector<std::pair<int, double>>> influences(mesh->mNumVertices);
            for (unsigned b = 0; b < mesh->mNumBones; ++b) {
                const aiBone* bone = mesh->mBones[b];
                const int joint = byName_[bone->mName.C_Str()];
                for (unsigned w = 0; w < bone->mNumWeights; ++w) {
                    const aiVertexWeight& weight = bone->mWeights[w];
                    if (weight.mVertexId >= mesh->mNumVertices)
                        return Fail(what + " weighs a vertex that is not there");
                    if (!std::isfinite(weight.mWeight) || weight.mWeight < 0)
                        return Fail(what + " has a joint weight that is no number of 0 or more");
                    influences[weight.mVertexId].push_back({joint, weight.mWeight});
                }
            }
            if (mesh->mNumBones) {
                WeightReport report;
                for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
                    if (influences[i].empty()) continue;
                    SetInfluences(influences[i], node.vertices[i], report);
                }
                const std::string note = report.Note(what);
                if (!note.empty()) model_.notes.push_back(note);
            }
            node.texture = Texture(mesh->mMaterialIndex);
        }
        return true;
    }

    const aiScene& s_;
    std::string path_;
    std::string folder_;
    std::map<std::string, std::string> textures_;  // reference -> file
    Model& model_;
    std::string& problem_;
    std::set<const aiNode*> joints_;
    std::map<const aiNode*, int> byNode_;
    std::map<std::string, int> byName_;
    std::map<std::string, int> byNodeName_;  // the first node of each name
    std::vector<int> jointOrder_;
    std::vector<std::pair<const aiMesh*, int>> pending_;
};

}  // namespace

bool ReadWithAssimp(const std::string& path, Model& model, std::string& problem) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        problem = "it is a folder, not a file";
        return false;
    }
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(
        path, aiProcess_Triangulate | aiProcess_JoinIdenticalVertices |
                  aiProcess_SortByPType | aiProcess_ValidateDataStructure);
    if (!scene || !scene->mRootNode || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE)) {
        const std::string error = importer.GetErrorString();
        problem =
            error.empty() ? "Assimp could not read it" : "Assimp could not read it (" + error + ")";
        return false;
    }
    if (scene->mNumMeshes == 0) {
        problem = "it holds no meshes";
        return false;
    }
    Converter converter(*scene, path, model, problem);
    return converter.Run();
}

}  // namespace kinemo_plugin
