#pragma once

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "editing/tool_ids.h"
#include "editing/tool_view.h"
#include "scene/tool_links.h"
#include "viewport/gizmo_shape.h"

class rgEditor;
class rgSelect;
class rgTranslate;
class rgRotate;
class rgScale;
class rgBoneCreate;
class rgNodeAttach;
class rgVertexAssign;
class rgObjectProp;
class rgSceneNode;
class rgBoneTranslate;
class rgBoneRotate;
class rgIKMove;

// Exactly one tool receives the mouse events of all viewports. The manager
// owns one object of every tool for the editor's life, keeps which tool
// button is down (at most one), and installs the active tool's handlers
// through three handler stacks, as the buttons go down and up. It also
// carries the edit-level switch and the coordinate-system choice the tools
// read. The main window only translates clicks into these calls.
class rgToolManager : public rgToolReferences {
public:
    explicit rgToolManager(rgEditor& editor);
    ~rgToolManager() override;
    rgToolManager(const rgToolManager&) = delete;
    rgToolManager& operator=(const rgToolManager&) = delete;

    rgEditor& editor() const { return editor_; }
    void SetView(rgToolView* view) { view_ = view ? view : &noView_; }
    rgToolView& view() const { return *view_; }

    // The tool a button drives; null while that tool is not available yet.
    rgSelect* ToolOf(rgToolButton button) const;
    bool IsAvailable(rgToolButton button) const { return ToolOf(button) != nullptr; }
    rgSelect& select() const { return *select_; }
    rgTranslate& translate() const { return *translate_; }
    rgRotate& rotate() const { return *rotate_; }
    rgScale& scale() const { return *scale_; }
    rgBoneCreate& boneCreate() const { return *boneCreate_; }
    rgNodeAttach& nodeAttach() const { return *nodeAttach_; }
    rgVertexAssign& vertexAssign() const { return *vertexAssign_; }
    rgObjectProp& objectProp() const { return *objectProp_; }
    rgBoneTranslate& boneTranslate() const { return *boneTranslate_; }
    rgBoneRotate& boneRotate() const { return *boneRotate_; }
    rgIKMove& ikMove() const { return *ikMove_; }

    bool IsDown(rgToolButton button) const;
    // The button that is down, or None.
    rgToolButton ActiveButton() const;
    rgSelect* ActiveTool() const { return ToolOf(ActiveButton()); }

    // A click on a tool button (or on "Attach Joints"): it toggles, and the
    // tool goes on or off. A tool that is not available stays off, and so
    // does every tool while the animation plays.
    void Click(rgToolButton button);
    // Puts the button down or up as a click would, when it is not so already.
    void SetDown(rgToolButton button, bool down);
    // A right click: presses the button when it is up, then shows the Tool
    // Options window.
    void RightClick(rgToolButton button);
    // Every down button but `except` goes up (its tool off) and the
    // viewports redraw. A tool activation also releases the navigation buttons.
    void DeactivateOtherTools(rgToolButton except);
    // A navigation button was chosen: every tool goes off.
    void NavigationChosen();

    // The level box: 0 "Objects", 1 "Animation". Going to Objects stops playback.
    void ChangeLevel(int level);
    // The coordinate-system selector: kCoordLocal or kCoordGlobal.
    int coordSystem = kCoordLocal;
    void SetCoordSystem(int system);

    // What decides whether gizmos follow their node's axes: the coordinate
    // system, and whether the scale or IK tool is active.
    rgGizmoOptions GizmoOptions() const;

    // Numeric entry of the "Move", "Rotate" and "Scale" pages: the object
    // tools at the Objects level, the pose tools at the Animation level.
    void TranslateSelection(float x, float y, float z);
    void RotateSelection(float x, float y, float z);
    void ScaleSelection(float x, float y, float z);

    // Tool Options pages visible now (rgToolPage bits; "Select" always).
    unsigned VisiblePages() const { return pages_; }

    // The handler stacks: push saves the current handler of that kind and
    // makes the new one current; pop brings the saved one back. Either way
    // the current three go into every viewport window.
    void PushMouseDown(const decltype(rgToolHandlers::mouseDown)& handler);
    void PushMouseUp(const decltype(rgToolHandlers::mouseUp)& handler);
    void PushMouseMove(const decltype(rgToolHandlers::mouseMove)& handler);
    void PopMouseDown();
    void PopMouseUp();
    void PopMouseMove();
    const rgToolHandlers& CurrentHandlers() const { return current_; }
    // Saved handlers of each kind (press, release, move).
    std::array<int, 3> StackDepths() const;

    void RedrawViewports();

    // Shows or hides a Tool Options page (the object-properties tool's).
    void SetPageVisible(unsigned page, bool visible);
    // `node` and its subtree are about to be deleted: no tool keeps them.
    void ForgetNode(rgSceneNode* node);

    // rgToolReferences
    void ResetNodeReferences() override;
    void ReactivateSceneTools() override;

private:
    void Activate(rgToolButton button);
    void Deactivate(rgToolButton button);
    void ShowPages(unsigned pages);
    void HidePages(unsigned pages);
    void InstallHandlers();
    std::array<rgSelect*, 11> AllTools() const;

    rgEditor& editor_;
    rgToolView noView_;
    rgToolView* view_ = &noView_;
    std::unique_ptr<rgSelect> select_;
    std::unique_ptr<rgTranslate> translate_;
    std::unique_ptr<rgRotate> rotate_;
    std::unique_ptr<rgScale> scale_;
    std::unique_ptr<rgBoneCreate> boneCreate_;
    std::unique_ptr<rgNodeAttach> nodeAttach_;
    std::unique_ptr<rgVertexAssign> vertexAssign_;
    std::unique_ptr<rgObjectProp> objectProp_;
    std::unique_ptr<rgBoneTranslate> boneTranslate_;
    std::unique_ptr<rgBoneRotate> boneRotate_;
    std::unique_ptr<rgIKMove> ikMove_;
    std::array<bool, kToolButtonCount> down_{};
    unsigned pages_ = kPageSelect;
    rgToolHandlers current_;
    std::vector<decltype(rgToolHandlers::mouseDown)> downStack_;
    std::vector<decltype(rgToolHandlers::mouseUp)> upStack_;
    std::vector<decltype(rgToolHandlers::mouseMove)> moveStack_;
};
