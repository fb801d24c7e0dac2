#include "editing/reference_frame.h"

#include "editing/tool_ids.h"
#include "scene/rg_scene_node.h"

matrix44 ReferenceFrame(rgSceneNode& node, int coordSystem) {
    if (coordSystem != kCoordGlobal) return node.GetMatrix();
    matrix44 frame;
    if (rgSceneNode* parent = node.GetParent()) {
        frame = parent->GetGlobalMatrix();
        frame.invert();
    }
    return frame;
}

matrix44 rgFrameList::At(int i) const {
    return i >= 0 && static_cast<size_t>(i) < frames_.size() ? frames_[static_cast<size_t>(i)]
                                                             : matrix44();
}
