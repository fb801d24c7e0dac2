#pragma once

#include <cstdint>

#include "core/vector2.h"
#include "core/vector3.h"

// One mesh vertex in the mesh's object space with exactly four joint
// influences. bone[k] is a joint number (-1: empty slot). Weights are stored
// raw; skinning normalises on the fly.
struct rgVertex {
    static constexpr int kInfluences = 4;

    bool selected = false;
    bool visible = true;
    vector3 position;
    vector3 normal;
    vector2 texcoords;
    int32_t bone[kInfluences] = {-1, -1, -1, -1};
    float weight[kInfluences] = {0, 0, 0, 0};

    void ClearInfluences() {
        for (int k = 0; k < kInfluences; ++k) {
            bone[k] = -1;
            weight[k] = 0.0f;
        }
    }
};

// A triangle by vertex index.
struct rgFace {
    int32_t a = 0;
    int32_t b = 0;
    int32_t c = 0;
};
