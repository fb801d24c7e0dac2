#pragma once

#include "editing/rg_translate.h"

// The translate tool of the Animation level. Handles, drag amounts, frames,
// numeric entry and the undo step are those of "Translate Objects"; the
// moves go into the selected joints' pose offsets, so rest placements stay
// and meshes never move. With Auto Keyframing on, every completed handle
// drag (even one that moved nothing) and every numeric entry keys the
// selected joints at the current frame.
class rgBoneTranslate : public rgTranslate {
public:
    explicit rgBoneTranslate(rgToolManager& owner);

    // Joints pick as for the select tool; other nodes keep their selection.
    bool PickNode(rgSceneNode* node, rgNodePicker& picker) override;                       // 0
    void MouseUp(int button, int shift, int x, int y, rgToolViewport& viewport) override;  // 9
    void DragNode(rgSceneNode* node, const rgToolEvent& event) override;                   // 12
    void TranslateBy(float x, float y, float z) override;                                  // 13
    void TranslateNode(rgSceneNode* node) override;                                        // 14
};
