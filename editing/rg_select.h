#pragma once

#include "editing/tool_event.h"
#include "scene/node_painter.h"
#include "viewport/tool_viewport.h"

class rgEditor;
class rgScene;
class rgSceneNode;
class rgToolManager;
struct rgState;

// The select tool of both edit levels and the base of every other tool. A
// click or a dragged frame in a viewport changes the selection of meshes and
// joints: Ctrl adds, Alt removes, Shift locks. A click takes one node,
// preferring joints and, among meshes, the nearest; a frame takes everything
// inside it. The pass is one undo step "Change Selection" when it changed
// anything.
//
// The virtual operations below keep the fixed slot order of the tool
// interface; derived tools add theirs after the eleventh.
class rgSelect {
public:
    explicit rgSelect(rgToolManager& owner);
    virtual ~rgSelect();
    rgSelect(const rgSelect&) = delete;
    rgSelect& operator=(const rgSelect&) = delete;

    // The selection-mode drawing of one node inside a pick.
    virtual bool PickNode(rgSceneNode* node, rgNodePicker& picker);  // 0
    // The node's pick flag becomes its selection, by the release modifiers.
    virtual void ApplySelection(rgSceneNode* node);  // 1
    // Picks the node at the release point (5 x 5 pixels) or over the frame.
    virtual bool PickTest(rgSceneNode* node, const rgToolEvent& event);  // 2
    // Joints: the parent-selected mark.
    virtual void AfterSelection(rgSceneNode* node);  // 3
    // Picks the node's axis handles; the active axis records the nearest.
    virtual bool PickHandles(rgSceneNode* node, const rgToolEvent& event);     // 4
    virtual bool DrawHandlesForPick(rgSceneNode* node, rgNodePicker& picker);  // 5
    virtual void ClearPick(rgSceneNode* node);                                 // 6
    // The tool's 2D feedback: the frame while one is dragged.
    virtual void DrawOverlay(rgToolViewport& viewport, int x, int y);                       // 7
    virtual void MouseDown(int button, int shift, int x, int y, rgToolViewport& viewport);  // 8
    virtual void MouseUp(int button, int shift, int x, int y, rgToolViewport& viewport);    // 9
    virtual void MouseMove(int shift, int x, int y, rgToolViewport& viewport);              // 10

    // Preparation when the tool's button goes down, clean-up when it goes up.
    virtual void Activate() {}
    virtual void Deactivate() {}
    // The scene's nodes are about to go (clear, undo): drop node pointers.
    virtual void ForgetNodes() {}
    // `node` and its subtree are about to be deleted.
    virtual void ForgetNode(rgSceneNode* node) { (void)node; }

    // The three mouse handlers bound to this tool.
    rgToolHandlers Handlers();

    // Whether the tool allows frame selection; frames run from press to release.
    bool regionEnabled = true;
    bool regionActive = false;
    // Whether the last selection pass changed anything.
    bool changed = false;
    // Modifiers of the last release.
    int shift = 0;
    rgPixel pressPoint;
    rgPixel dragPoint;

protected:
    rgEditor& editor() const;
    rgScene& scene() const;
    rgState& state() const;
    rgToolManager& owner() const { return owner_; }

    // The pick region of this pass: the frame while one is dragged, else the
    // event point (0 x 0, which the pick set-up widens to 5 x 5).
    void PickRegion(const rgToolEvent& event, int& x, int& y, int& w, int& h) const;
    // Handle pick over the whole scene: resets the active axis first; true
    // when a handle was hit.
    bool PickAllHandles(const rgToolEvent& event);
    // The press of the transform tools: a 5 x 5 pixel handle pick at the
    // press point. True when a handle was hit (the active axis names it);
    // otherwise the select tool's press has run.
    bool PressOnHandle(int button, int shift, int x, int y, rgToolViewport& viewport);
    // The selection pass of a release (the select tool's whole release).
    void SelectionPass(const rgToolEvent& event);
    // The keyframer's joint tree shows each joint's selection.
    void ShowJointSelectionInTree();
    // Whether `node` is `root` or lies in its subtree.
    static bool InSubtree(const rgSceneNode* node, const rgSceneNode* root);

    rgPickHits hits_;

private:
    void ChooseSingleClickNode();

    rgToolManager& owner_;
};
