#include "scene/rg_mesh.h"

#include <algorithm>
#include <cmath>

#include "state/rg_state.h"
#include "scene/node_painter.h"
#include "scene/rg_scene.h"
#include "scene/skin_table.h"

namespace {

bool SameForMerge(const rgVertex& existing, const rgVertex& added) {
    constexpr float tol = rgMesh::kMergeTolerance;
    return existing.position.isequal(added.position, tol) &&
           existing.normal.isequal(added.normal, tol) &&
           added.texcoords.IsEqualTo(existing.texcoords, tol);
}

}  // namespace

rgMesh::rgMesh(rgScene* scene) : rgSceneNode(scene) {
    SetClassName("rgMesh");
    name_ = "Mesh";
}

rgMesh::~rgMesh() {
    NotifyDestroyed(&vertices_);  // vertex handles, the scratch vertex's too
    DestroyChildren();
    SetClassName("rgSceneNode");
}

int rgMesh::AddVertex(const rgVertex& v, bool merge) {
    rgVertex added = v;
    added.visible = true;
    if (scene_ && scene_->context().state.mergeMode) {
        // A merged scene file numbers its joints from 1 too: keep them apart.
        const int offset = scene_->context().state.jointIdOffset;
        for (int k = 0; k < rgVertex::kInfluences; ++k)
            if (added.bone[k] >= 0) added.bone[k] += offset;
    }
    if (merge) {
        if (!mergeIndexValid_) RebuildMergeIndex();
        for (; mergeIndexed_ < vertices_.size(); ++mergeIndexed_)
            mergeIndex_.Insert(vertices_[mergeIndexed_].position, static_cast<int32_t>(mergeIndexed_));
        int32_t first = -1;
        mergeIndex_.ForEachCandidate(added.position, kMergeTolerance, [&](int32_t i) {
            if ((first < 0 || i < first) && SameForMerge(vertices_[static_cast<size_t>(i)], added))
                first = i;
        });
        if (first >= 0) return first;
    }
    const auto index = static_cast<int32_t>(vertices_.size());
    vertices_.push_back(added);
    if (merge) {
        mergeIndex_.Insert(added.position, index);
        mergeIndexed_ = vertices_.size();
    }
    MarkStale();
    return index;
}

void rgMesh::RebuildMergeIndex() {
    mergeIndex_.Clear();
    for (size_t i = 0; i < vertices_.size(); ++i)
        mergeIndex_.Insert(vertices_[i].position, static_cast<int32_t>(i));
    mergeIndexed_ = vertices_.size();
    mergeIndexValid_ = true;
}

void rgMesh::SourceChanged() {
    if (mergeIndexValid_) mergeIndex_.Clear();  // its memory too: a large mesh's index is large
    mergeIndexValid_ = false;
    MarkStale();
}

rgVertex* rgMesh::GetVertex(int i) {
    if (i < 0 || static_cast<size_t>(i) >= vertices_.size()) return nullptr;
    // The caller may change the vertex: derived data must be rebuilt.
    SourceChanged();
    return &vertices_[static_cast<size_t>(i)];
}

const rgVertex* rgMesh::GetVertex(int i) const {
    if (i < 0 || static_cast<size_t>(i) >= vertices_.size()) return nullptr;
    return &vertices_[static_cast<size_t>(i)];
}

rgVertex* rgMesh::GetLocalVertex(int i) {
    const rgVertex* v = static_cast<const rgMesh*>(this)->GetVertex(i);
    if (!v) return nullptr;
    scratch_ = *v;
    scratch_.position = local_.Transform(v->position);
    scratch_.normal = local_.TransformDirection(v->normal);
    return &scratch_;
}

rgVertex* rgMesh::GetTransformedVertex(int i) {
    const rgVertex* v = static_cast<const rgMesh*>(this)->GetVertex(i);
    if (!v || !scene_) return nullptr;
    const rgSkinTable table(*scene_, local_);
    scratch_ = *v;
    SkinVertex(*v, table, scratch_.position, scratch_.normal);
    scratch_.position = local_.Transform(scratch_.position);
    scratch_.normal = local_.TransformDirection(scratch_.normal);
    return &scratch_;
}

void rgMesh::GetFace(int i, int& a, int& b, int& c) const {
    if (i < 0 || static_cast<size_t>(i) >= faces_.size()) return;
    const rgFace& f = faces_[static_cast<size_t>(i)];
    a = f.a;
    b = f.b;
    c = f.c;
}

void rgMesh::NormalizeWeights() {
    vertices_.ForEach([](rgVertex& v) {
        float total = 0.0f;
        for (int k = 0; k < rgVertex::kInfluences; ++k)
            if (v.bone[k] >= 0) total += v.weight[k];
        const float a = static_cast<double>(total) >= 0.0001 ? 1.0f / total : 0.0f;
        for (float& w : v.weight) w *= a;
    });
    MarkStale();
}

void rgMesh::ReverseVertexOrder() {
    for (rgFace& f : faces_) std::swap(f.a, f.c);
}

void rgMesh::SelectAssigned(int id) {
    vertices_.ForEach([id](rgVertex& v) {
        v.selected = false;
        for (int32_t b : v.bone)
            if (b == id) v.selected = true;
    });
}

void rgMesh::SelectUnassigned() {
    vertices_.ForEach([](rgVertex& v) {
        v.selected = true;
        for (int32_t b : v.bone)
            if (b >= 0) v.selected = false;
    });
}

void rgMesh::AssignSelected(int id, float weight) {
    vertices_.ForEach([id, weight](rgVertex& v) {
        if (!v.selected) return;
        int slot = -1;
        for (int k = 0; k < rgVertex::kInfluences; ++k)
            if (v.bone[k] == id) slot = k;
        if (slot < 0)
            for (int k = 0; k < rgVertex::kInfluences; ++k)
                if (v.bone[k] < 0) slot = k;
        if (slot < 0) {
            float smallest = 2.0f;
            for (int k = 0; k < rgVertex::kInfluences; ++k)
                if (v.weight[k] < smallest) {
                    smallest = v.weight[k];
                    slot = k;
                }
        }
        if (slot < 0) return;  // every slot holds another joint at weight 2 or more
        v.bone[slot] = id;
        v.weight[slot] = weight;
    });
    MarkStale();
}

void rgMesh::UnassignSelected(int id) {
    vertices_.ForEach([id](rgVertex& v) {
        if (!v.selected) return;
        for (int k = rgVertex::kInfluences - 1; k >= 0; --k)
            if (v.bone[k] == id) {
                v.bone[k] = -1;
                v.weight[k] = 0.0f;
                return;
            }
    });
    MarkStale();
}

void rgMesh::RemoveJointReferences(int id) {
    vertices_.ForEach([id](rgVertex& v) {
        for (int32_t& b : v.bone)
            if (b == id) b = -1;
    });
    MarkStale();
}

void rgMesh::ClearInfluences() {
    vertices_.ForEach([](rgVertex& v) { v.ClearInfluences(); });
    MarkStale();
}

void rgMesh::HideSelectedVertices() {
    vertices_.ForEach([](rgVertex& v) {
        if (v.selected) {
            v.visible = false;
            v.selected = false;
        }
    });
}

void rgMesh::HideUnselectedVertices() {
    vertices_.ForEach([](rgVertex& v) {
        if (!v.selected) v.visible = false;
    });
}

void rgMesh::ShowAllVertices() {
    vertices_.ForEach([](rgVertex& v) { v.visible = true; });
}

void rgMesh::ApplyScale() {
    const vector3 s = pendingScale_;
    vertices_.ForEach([&s](rgVertex& v) {
        v.position.x *= s.x;
        v.position.y *= s.y;
        v.position.z *= s.z;
    });
    pendingScale_.set(1, 1, 1);
    SourceChanged();
}

void rgMesh::UpdateMatrix(const matrix44& parentGlobal) {
    // The pending scale shows live while the scale tool drags, without
    // touching the vertices.
    matrix44 d;
    d.S(0, 0, pendingScale_.x);
    d.S(1, 1, pendingScale_.y);
    d.S(2, 2, pendingScale_.z);
    global_ = d * local_;
    global_ = global_ * parentGlobal;
    for (rgSceneNode* child : children_) child->UpdateMatrix(global_);
}

bool rgMesh::IsDeformed() const {
    return deformedAt_ != 0 && scene_ && deformedAt_ == scene_->PoseGeneration() &&
           deformedPositions_.size() == vertices_.size();
}

void rgMesh::Deform() {
    const size_t n = vertices_.size();
    deformedPositions_.resize(n);
    deformedNormals_.resize(n);
    if (!scene_) return;
    const rgSkinTable table(*scene_, local_);
    if (!skinPackValid_ || skinPackEpoch_ != scene_->VertexEditEpoch() ||
        !skinPack_.BuiltFor(table)) {
        skinPack_.Build(vertices_, table);
        skinPackValid_ = true;
        skinPackEpoch_ = scene_->VertexEditEpoch();
    }
    skinPack_.Run(table, deformedPositions_.data(), deformedNormals_.data());
    deformedAt_ = scene_->PoseGeneration();
    ++deformCount_;
}

bool rgMesh::DeformedBounds(vector3& lo, vector3& hi) const {
    if (deformedPositions_.empty()) return false;
    if (boundsOf_ != deformCount_) {
        vector3 a = deformedPositions_[0], b = a;
        for (const vector3& p : deformedPositions_) {
            a.set(std::min(a.x, p.x), std::min(a.y, p.y), std::min(a.z, p.z));
            b.set(std::max(b.x, p.x), std::max(b.y, p.y), std::max(b.z, p.z));
        }
        boundsLo_ = a;
        boundsHi_ = b;
        boundsOf_ = deformCount_;
    }
    lo = boundsLo_;
    hi = boundsHi_;
    return true;
}

void rgMesh::Hide() {
    rgSceneNode::Hide();
    vertices_.ForEach([](rgVertex& v) { v.selected = false; });
}

void rgMesh::ReplaceGeometry(const std::vector<rgVertex>& vertices, std::vector<rgFace> faces) {
    NotifyDestroyed(&vertices_);
    vertices_.clear();
    for (const rgVertex& v : vertices) vertices_.push_back(v);
    faces_ = std::move(faces);
    SourceChanged();
}

void rgMesh::CopyGeometryFrom(const rgMesh& other) {
    NotifyDestroyed(&vertices_);
    vertices_ = other.vertices_;
    vertices_.ForEach([](rgVertex& v) { v.visible = true; });
    faces_ = other.faces_;
    SourceChanged();
}

rgSceneNode* rgMesh::Clone(rgSceneNode* parent, rgScene* scene) {
    auto* copy = new rgMesh(scene);
    CloneBaseInto(copy, parent, scene);
    copy->name_ = name_;
    copy->colour_ = colour_;
    copy->CopyGeometryFrom(*this);
    return copy;
}

rgSceneNode* rgMesh::Duplicate(rgSceneNode* parent) {
    auto* copy = new rgMesh(scene_);
    copy->visible_ = visible_;
    copy->material_ = material_;
    copy->local_ = local_;
    rgSceneNode* target = parent ? parent : parent_;
    if (target) target->AttachChild(copy);
    copy->CopyGeometryFrom(*this);
    const std::vector<rgSceneNode*> kids = children_;
    for (rgSceneNode* child : kids) child->Duplicate(copy);
    return copy;
}

void rgMesh::Mirror(bool x, bool y, bool z) {
    const float sx = x ? -1.0f : 1.0f, sy = y ? -1.0f : 1.0f, sz = z ? -1.0f : 1.0f;
    vertices_.ForEach([&](rgVertex& v) {
        v.position.x *= sx;
        v.position.y *= sy;
        v.position.z *= sz;
        v.normal.x *= sx;
        v.normal.y *= sy;
        v.normal.z *= sz;
    });
    // An odd number of flips turns the faces inside out: turn them back.
    if ((int(x) + int(y) + int(z)) % 2 == 1) ReverseVertexOrder();
    SourceChanged();
}

void rgMesh::GetBoundingSphere(vector3& centre, float& radius) {
    centre.set(0, 0, 0);
    radius = 0.0f;
    if (vertices_.empty() || !scene_) return;
    const rgSkinTable table(*scene_, local_);
    std::vector<vector3> points;
    points.reserve(vertices_.size());
    vertices_.ForEach([&](const rgVertex& v) {
        vector3 p, n;
        SkinVertex(v, table, p, n);
        points.push_back(local_.Transform(p));
    });
    vector3 sum(0, 0, 0);
    for (const vector3& p : points) sum += p;
    centre = sum / static_cast<float>(points.size());
    for (const vector3& p : points) radius = std::fmax(radius, (p - centre).len());
}

size_t rgMesh::SourceBytes() const {
    return vertices_.size() * sizeof(rgVertex) + faces_.size() * sizeof(rgFace);
}

void rgMesh::DrawSelf(rgNodePainter& painter, int drawMode, bool flag) {
    if (!IsDeformed()) Deform();
    painter.DrawMesh(*this, drawMode, flag);
}

bool rgMesh::PickSelf(rgNodePicker& picker, int a, int b) {
    if (!IsDeformed()) Deform();
    return picker.PickMesh(*this, a, b);
}
