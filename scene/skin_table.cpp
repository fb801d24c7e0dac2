#include "scene/skin_table.h"

#include "scene/rg_bone.h"
#include "scene/rg_scene.h"

namespace {
// Joint numbers come from a counter starting at 1; a dense table covers them
// unless a script set a huge id.
constexpr int32_t kDenseLimit = 1 << 20;
}  // namespace

matrix44 SkinMatrix(const matrix44& meshLocal, const matrix44& meshInverseLocal,
                     const matrix44& jointInverseRelaxed, const matrix44& jointGlobal) {
    return meshLocal * jointInverseRelaxed * jointGlobal * meshInverseLocal;
}

rgSkinTable::rgSkinTable(rgScene& scene, const matrix44& meshLocal) {
    matrix44 inverseLocal = meshLocal;
    inverseLocal.invert();
    scene.ForEach([&](rgSceneNode* node) {
        rgBone* joint = ToBone(node);
        if (!joint) return;
        const int32_t number = joint->GetId();
        const auto slot = static_cast<int32_t>(matrices_.size());
        matrices_.push_back(SkinMatrix(meshLocal, inverseLocal, joint->GetInverseRelaxedMatrix(),
                                       joint->GetGlobalMatrix()));
        numbers_.push_back(number);
        if (number >= 0 && number < kDenseLimit) {
            if (static_cast<size_t>(number) >= dense_.size())
                dense_.resize(static_cast<size_t>(number) + 1, -1);
            dense_[static_cast<size_t>(number)] = slot;  // later joints win
        } else {
            sparse_[number] = slot;
        }
    });
}
