#include "editing/object_properties.h"

#include <charconv>
#include <cmath>
#include <numbers>

#include "scene/rg_bone.h"

std::string PropertyNumberText(double value) {
    char buffer[64];
    auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 3);
    double rounded = 0;
    std::from_chars(buffer, end.ptr, rounded);
    if (rounded == 0) rounded = 0;  // no "-0.00000"
    end = std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, 5);
    return std::string(buffer, end.ptr);
}

rgObjectProperties rgObjectProperties::Of(rgSceneNode* node) {
    rgObjectProperties p;
    if (!node) return p;
    p.hasNode = true;
    p.name = node->GetName();
    const vector3& c = node->GetColor();
    for (int i = 0; i < 3; ++i) p.colour[i] = static_cast<int>(c[i] * 255.0f);
    const matrix44 m = node->GetMatrix();
    const vector3 t = m.pos_component();
    const vector3 e = m.get_eulers();
    for (int i = 0; i < 3; ++i) {
        p.position[i] = PropertyNumberText(t[i]);
        p.rotation[i] = PropertyNumberText(e[i] * 180.0 / std::numbers::pi);
    }
    if (rgBone* joint = ToBone(node)) {
        p.isJoint = true;
        p.ikChainEnd = joint->IsIKChainEnd() != 0;
        p.ikWeight = joint->GetIKWeight();
    }
    return p;
}
