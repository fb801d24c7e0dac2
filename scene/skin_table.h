#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "core/matrix44.h"
#include "scene/rg_vertex.h"

class rgScene;

// Skin matrices of every joint of a scene as seen by one mesh, built once per
// skinning pass: for the joint J with number n,
//   S(n) = local x J.inverse relaxed x J.global x inverse local.
// When several joints carry a number, the last in walk order wins.
class rgSkinTable {
public:
    rgSkinTable(rgScene& scene, const matrix44& meshLocal);

    // Null when no joint carries the number.
    const matrix44* Find(int32_t jointNumber) const {
        const int32_t slot = SlotOf(jointNumber);
        return slot < 0 ? nullptr : &matrices_[static_cast<size_t>(slot)];
    }
    // The slot of the joint carrying the number, -1 when none does.
    int32_t SlotOf(int32_t jointNumber) const {
        if (jointNumber >= 0 && static_cast<size_t>(jointNumber) < dense_.size())
            return dense_[static_cast<size_t>(jointNumber)];
        const auto it = sparse_.find(jointNumber);
        return it == sparse_.end() ? -1 : it->second;
    }
    // Skin matrices, one per joint in walk order, and the joints' numbers.
    const std::vector<matrix44>& Matrices() const { return matrices_; }
    const std::vector<int32_t>& Numbers() const { return numbers_; }

private:
    std::vector<matrix44> matrices_;
    std::vector<int32_t> numbers_;
    std::vector<int32_t> dense_;                   // number -> slot, for small numbers
    std::unordered_map<int32_t, int32_t> sparse_;  // the rest
};

// The skin matrix of one joint for a mesh with the given local matrix.
matrix44 SkinMatrix(const matrix44& meshLocal, const matrix44& meshInverseLocal,
                     const matrix44& jointInverseRelaxed, const matrix44& jointGlobal);

// Skins one source vertex: weighted sum over its influences whose joints
// exist, weights normalised on the fly. A vertex with no existing joint keeps
// its source position and normal. The normal is not renormalised.
inline void SkinVertex(const rgVertex& s, const rgSkinTable& table, vector3& position,
                       vector3& normal) {
    float total = 0.0f;
    for (int k = 0; k < rgVertex::kInfluences; ++k)
        if (s.bone[k] >= 0) total += s.weight[k];
    const float f = static_cast<double>(total) >= 0.0001 ? 1.0f / total : 0.0f;
    vector3 p(0, 0, 0), n(0, 0, 0);
    bool found = false;
    for (int k = 0; k < rgVertex::kInfluences; ++k) {
        if (s.bone[k] < 0) continue;
        const matrix44* S = table.Find(s.bone[k]);
        if (!S) continue;
        found = true;
        const float w = s.weight[k] * f;
        p += S->Transform(s.position) * w;
        n += S->TransformDirection(s.normal) * w;
    }
    position = found ? p : s.position;
    normal = found ? n : s.normal;
}
