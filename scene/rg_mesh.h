#pragma once

#include <cstdint>
#include <vector>

#include "core/stable_vector.h"
#include "scene/position_grid.h"
#include "scene/rg_scene_node.h"
#include "scene/rg_vertex.h"
#include "scene/skin_pack.h"

// A triangle mesh node: source vertices in object space, triangles indexing
// them, and the skinned (deformed) positions and normals derived from the
// joints the vertices are bound to. The deformed data is a cache: it is
// rebuilt lazily after any pose change and never copied.
class rgMesh : public rgSceneNode {
public:
    static constexpr float kMergeTolerance = 1e-7f;

    explicit rgMesh(rgScene* scene);
    ~rgMesh() override;

    // Adds a copy of v (visible; while a merge runs, joint ids get the merge
    // offset). With merge on, an existing vertex with the same position,
    // normal and texture coordinates (within 1e-7) is reused instead: the
    // first such vertex in index order. Returns the vertex index.
    int AddVertex(const rgVertex& v, bool merge = true);
    int GetVertexCount() const { return static_cast<int>(vertices_.size()); }
    // The source vertex itself, modifiable; null when out of range.
    rgVertex* GetVertex(int i);
    const rgVertex* GetVertex(int i) const;
    // Vertex i through the local matrix; null when out of range. The result
    // lives in a scratch vertex overwritten by the next call.
    rgVertex* GetLocalVertex(int i);
    // Skinned vertex i through the local matrix; null when out of range.
    rgVertex* GetTransformedVertex(int i);

    // Indices are stored as given; consumers skip triangles that name no vertex.
    void AddFace(int a, int b, int c) { faces_.push_back({a, b, c}); }
    int GetFaceCount() const { return static_cast<int>(faces_.size()); }
    // Out of range: a, b and c are left as the caller set them.
    void GetFace(int i, int& a, int& b, int& c) const;

    void NormalizeWeights();
    void ReverseVertexOrder();
    // Replaces every vertex and face (vertex handles held by scripts end).
    void ReplaceGeometry(const std::vector<rgVertex>& vertices, std::vector<rgFace> faces);
    // Smooth normals across split vertices: each vertex gets the mean of the
    // (area-weighted) normals of every face touching its position.
    void GenerateNormals();

    // Calls f(vertex) for every source vertex in index order; f may change
    // the vertex's influences (the mesh re-derives its skinning data).
    template <typename F>
    void EditInfluences(F&& f) {
        vertices_.ForEach(f);
        MarkStale();
    }

    // Vertex-set operations of the skinning tools.
    void SelectAssigned(int jointId);
    void SelectUnassigned();
    void AssignSelected(int jointId, float weight);
    void UnassignSelected(int jointId);
    void RemoveJointReferences(int jointId);
    void ClearInfluences();
    void HideSelectedVertices();
    void HideUnselectedVertices();
    void ShowAllVertices();

    void ApplyScale() override;
    void UpdateMatrix(const matrix44& parentGlobal) override;
    void Deform() override;
    void Hide() override;
    rgSceneNode* Clone(rgSceneNode* parent, rgScene* scene) override;
    rgSceneNode* Duplicate(rgSceneNode* parent) override;
    void Mirror(bool x, bool y, bool z) override;
    void GetBoundingSphere(vector3& centre, float& radius) override;

    // Whether the deformed data matches the current pose.
    bool IsDeformed() const;
    // Marks this mesh's deformed data stale.
    void MarkStale() {
        deformedAt_ = 0;
        skinPackValid_ = false;
    }
    // Deformed positions and normals, index-aligned with the vertices; call
    // Deform first when IsDeformed() is false.
    const std::vector<vector3>& DeformedPositions() const { return deformedPositions_; }
    const std::vector<vector3>& DeformedNormals() const { return deformedNormals_; }
    // The smallest box holding every deformed position (picks skip meshes
    // whose box is out of view); false without vertices. Call Deform first
    // when IsDeformed() is false.
    bool DeformedBounds(vector3& lo, vector3& hi) const;
    // Its address also names the vertex list to the object watcher: vertex
    // handles end when the mesh goes or the list is rebuilt.
    const StableVector<rgVertex>& Vertices() const { return vertices_; }
    const std::vector<rgFace>& Faces() const { return faces_; }

    // Source data held by this mesh in bytes (vertices and faces), for memory accounting.
    size_t SourceBytes() const;

protected:
    void DrawSelf(rgNodePainter& painter, int drawMode, bool flag) override;
    bool PickSelf(rgNodePicker& picker, int a, int b) override;

private:
    void CopyGeometryFrom(const rgMesh& other);
    void SourceChanged();
    void RebuildMergeIndex();

    StableVector<rgVertex> vertices_;
    std::vector<rgFace> faces_;
    rgVertex scratch_;

    // Derived data, never copied.
    std::vector<vector3> deformedPositions_;
    std::vector<vector3> deformedNormals_;
    uint64_t deformedAt_ = 0;  // pose generation of the deformed data; 0 = stale
    uint64_t deformCount_ = 0;  // Deform runs so far
    rgSkinPack skinPack_;
    bool skinPackValid_ = false;
    uint64_t skinPackEpoch_ = 0;  // the scene's vertex-edit epoch it was built in
    mutable uint64_t boundsOf_ = 0;  // the Deform run the box below was taken from
    mutable vector3 boundsLo_;
    mutable vector3 boundsHi_;
    // Positions of vertices [0, mergeIndexed_) for merging adds. Adds without
    // merge leave theirs for the next merge to take in, so meshes built
    // without merging never pay for the index.
    rgPositionGrid mergeIndex_;
    bool mergeIndexValid_ = true;
    size_t mergeIndexed_ = 0;
};
