#pragma once

#include <vector>

#include "core/vector3.h"
#include "editing/reference_frame.h"
#include "editing/rg_select.h"

// "Translate Objects": while active, every selected node shows its axis
// handles. Dragging an axis arrow moves the selected nodes along that axis of
// their reference frame by the horizontal mouse movement; dragging the
// centre sphere moves them with the cursor in the view plane. A press away
// from the handles selects as the select tool does.
class rgTranslate : public rgSelect {
public:
    explicit rgTranslate(rgToolManager& owner);

    void MouseDown(int button, int shift, int x, int y, rgToolViewport& viewport) override;
    void MouseUp(int button, int shift, int x, int y, rgToolViewport& viewport) override;
    void MouseMove(int shift, int x, int y, rgToolViewport& viewport) override;

    // Stores the node's frame at the next walk position.
    virtual void SaveFrame(rgSceneNode* node);  // 11
    // Moves one selected node by the current drag values.
    virtual void DragNode(rgSceneNode* node, const rgToolEvent& event);  // 12
    // Numeric entry: moves the selection by (x, y, z) in the chosen frames.
    virtual void TranslateBy(float x, float y, float z);  // 13
    // Moves one selected node by the numeric offset.
    virtual void TranslateNode(rgSceneNode* node);  // 14

    bool Dragging() const { return dragging_; }

protected:
    // Label of the undo step of a drag and of numeric entry.
    virtual const char* UndoLabel() const { return "Translate Objects"; }
    // The move of the current drag values for one node, in its frame's axes.
    vector3 DragIncrement(rgSceneNode& node, const rgToolEvent& event) const;

    vector3 eyePoint_;
    vector3 startPoint_;
    vector3 currentPoint_;
    vector3 delta_;
    bool dragging_ = false;
    vector3 numericOffset_;
    int pressX_ = 0;
    int pressY_ = 0;
    int horizontalOffset_ = 0;
    int verticalOffset_ = 0;
    int frameCounter_ = 0;
    rgFrameList frames_;
    bool moved_ = false;

private:
    void WalkDragNodes(const rgToolEvent& event);
    // With "Handles follow the pointer": the move along the arrow that puts
    // the point grabbed at the press under pixel (followX_, followY_).
    float FollowingAmount(const rgToolEvent& event) const;

    // Per walk position, saved with the frames: where the node stood and the
    // world direction one unit along the dragged axis of its frame moves it.
    std::vector<vector3> startPositions_;
    std::vector<vector3> worldAxes_;
    int followX_ = 0, followY_ = 0;  // the pixel the current walk moves to
    float followSign_ = 1.0f;         // -1 while a walk takes the last move back
    int lastX_ = 0, lastY_ = 0;
};
