#include "viewport/vertex_display.h"

float VertexWeightGrey(const rgVertex& v, const rgWeightView& view) {
    if (view.jointId < 0) return 0.0f;
    float w = 0.0f;
    for (int k = 0; k < rgVertex::kInfluences; ++k)
        if (v.bone[k] == view.jointId) {
            w = v.weight[k];  // the first slot holding the joint counts
            break;
        }
    if (!view.normalized) return w;
    float sum = 0.0f;
    for (int k = 0; k < rgVertex::kInfluences; ++k)
        if (v.bone[k] >= 0) sum += v.weight[k];
    return sum == 0.0f ? 0.0f : w / sum;
}
