#pragma once

#include <cstdint>
#include <vector>

#include "core/stable_vector.h"
#include "core/vector3.h"
#include "scene/rg_vertex.h"

class rgSkinTable;

// Which deformation loop runs: the widest the processor has, or the 4-lane
// one every x86-64 has (tests compare both with the reference).
enum class rgSkinKernel { kBest, kFourLanes };

// The skinning data of a mesh laid out for the deformation loop: source
// positions and normals in 16-byte lanes, and per vertex its influences on
// joints that exist, as skin-table slots with weights already normalised.
// Rebuilt when the source vertices or the scene's joint numbering change;
// running it gives exactly what SkinVertex gives for every vertex.
class rgSkinPack {
public:
    void Build(const StableVector<rgVertex>& vertices, const rgSkinTable& table);
    // Whether it was built for a table with the same joints in the same order.
    bool BuiltFor(const rgSkinTable& table) const;
    // Deformed position and normal of every vertex under the table's matrices.
    void Run(const rgSkinTable& table, vector3* positions, vector3* normals,
             rgSkinKernel kernel = rgSkinKernel::kBest) const;
    size_t Size() const { return counts_.size(); }

private:
    struct alignas(16) Lanes {
        float v[4];
    };
    std::vector<Lanes> positions_;
    std::vector<Lanes> normals_;
    std::vector<uint8_t> counts_;   // influences on existing joints; 0 keeps the source
    std::vector<int32_t> slots_;    // rgVertex::kInfluences per vertex
    std::vector<float> weights_;    // the same, normalised as SkinVertex does
    std::vector<int32_t> numbers_;  // the table's joint numbers in slot order
};
