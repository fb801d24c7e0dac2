#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <set>

#include "plugins/native/assimp/assimp_format.h"

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
    Converter(const aiScene& scene, const std::string& folder, Model& model, std::string& problem)
        : s_(scene), folder_(folder), model_(model), problem_(problem) {}

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
        return AddNode(s_.mRootNode, -1, 0) && RestPose() && Meshes();
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

    bool RestPose() {
        std::map<int, Mat4> relaxed;
        for (unsigned i = 0; i < s_.mNumMeshes; ++i)
            for (unsigned b = 0; b < s_.mMeshes[i]->mNumBones; ++b) {
                const aiBone* bone = s_.mMeshes[i]->mBones[b];
                auto joint = byName_.find(bone->mName.C_Str());
                if (joint == byName_.end())
                    return Fail(std::string("bone '") + bone->mName.C_Str() + "' has no node");
                const Mat4 inverse = FromAssimp(bone->mOffsetMatrix);
                if (!IsFinite(inverse))
                    return Fail(std::string("bone '") + bone->mName.C_Str() +
                                "' has a matrix that is not finite");
                relaxed.emplace(joint->second, Inverse(inverse));
            }
        for (int index : jointOrder_) {
            auto found = relaxed.find(index);
            PlaceJointAtRest(model_, index, found != relaxed.end() ? &found->second : nullptr);
        }
        return true;
    }

    std::string Texture(unsigned materialIndex) {
        if (materialIndex >= s_.mNumMaterials) return {};
        aiString path;
        if (s_.mMaterials[materialIndex]->GetTexture(aiTextureType_DIFFUSE, 0, &path) != AI_SUCCESS)
            return {};
        std::string name = path.C_Str();
        if (name.empty() || name[0] == '*') return {};  // embedded: no file to load
        for (char& c : name)
            if (c == '\\') c = '/';
        return (fs::path(folder_) / name).lexically_normal().string();
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
            for (unsigned b = 0; b < mesh->mNumBones; ++b) {
                const aiBone* bone = mesh->mBones[b];
                const int joint = byName_[bone->mName.C_Str()];
                for (unsigned w = 0; w < bone->mNumWeights; ++w) {
                    const aiVertexWeight& weight = bone->mWeights[w];
                    if (weight.mVertexId >= mesh->mNumVertices)
                        return Fail(what + " weighs a vertex that is not there");
                    if (!(weight.mWeight > 0)) continue;
                    Vertex& v = node.vertices[weight.mVertexId];
                    int slot = 0;
                    while (slot < 4 && v.joint[slot] >= 0) ++slot;
                    if (slot == 4)
                        continue;  // LimitBoneWeights keeps four; a fifth would be a reader bug
                    v.joint[slot] = joint;
                    v.weight[slot] = weight.mWeight;
                }
            }
            node.texture = Texture(mesh->mMaterialIndex);
        }
        return true;
    }

    const aiScene& s_;
    std::string folder_;
    Model& model_;
    std::string& problem_;
    std::set<const aiNode*> joints_;
    std::map<const aiNode*, int> byNode_;
    std::map<std::string, int> byName_;
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
        path, aiProcess_Triangulate | aiProcess_JoinIdenticalVertices | aiProcess_LimitBoneWeights |
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
    Converter converter(*scene, fs::path(path).parent_path().string(), model, problem);
    return converter.Run();
}

}  // namespace kinemo_plugin
