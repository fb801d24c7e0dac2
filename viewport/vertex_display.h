#pragma once

#include "scene/rg_vertex.h"

// What the inner dot of a displayed vertex shows: black, or, while the
// weighting tool has a current joint, the grey of the vertex's weight for it.
struct rgWeightView {
    int jointId = -1;         // -1: no current joint (black dots)
    bool normalized = false;  // divide by the sum of the vertex's weights
};

// Grey intensity 0..1 (more only for raw weights above 1) of the inner dot.
float VertexWeightGrey(const rgVertex& vertex, const rgWeightView& view);
