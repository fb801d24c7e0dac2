#pragma once

#include <vector>

#include "editing/rg_select.h"

class rgBone;

// "Edit vertex assignments": clicks and frames select mesh vertices and one
// current joint; the "Assign" and "Weight" operations then give the current
// joint the current weight in the selected vertices, take it away, select by
// assignment and normalise. While the tool is on, vertices show their weight
// for the current joint as grey dots.
class rgVertexAssign : public rgSelect {
public:
    explicit rgVertexAssign(rgToolManager& owner);

    // A mesh picks its vertices and answers with its own selection; a joint
    // that is hit becomes the current joint.
    bool PickNode(rgSceneNode* node, rgNodePicker& picker) override;
    // The joint rules of a release (vertices are handled as they are picked).
    void ApplySelection(rgSceneNode* node) override;
    // Joints only, through PickForTest.
    bool PickTest(rgSceneNode* node, const rgToolEvent& event) override;
    void MouseUp(int button, int shift, int x, int y, rgToolViewport& viewport) override;

    // As PickNode, but a hit joint does not become current.
    virtual bool PickForTest(rgSceneNode* node, rgNodePicker& picker);  // 11
    // A selected joint becomes current (the last in walk order wins).
    virtual void TakeCurrent(rgSceneNode* node);  // 12
    // Every joint but the current one is deselected; parent marks follow.
    virtual void KeepOnlyCurrent(rgSceneNode* node);  // 13

    void Activate() override;
    void Deactivate() override;
    void ForgetNodes() override { current_ = nullptr; }
    void ForgetNode(rgSceneNode* node) override;

    // The keyframer's joint tree changed the joint selection.
    void TreeSelectionChanged();

    // The "Assign" and "Weight" operations.
    void Assign();
    void Unassign();
    void SelectAssigned();
    void SelectUnassigned();
    void Normalize();
    void SetShowNormalized(bool on);

    // The current joint: a selected joint of the scene, or null.
    rgBone* CurrentJoint();

private:
    // The release's rules for the joints hit, in walk order.
    void ApplyJointRules(const std::vector<rgBone*>& hits);
    void TakeCurrentFromSelection();
    void Refresh();

    rgBone* current_ = nullptr;
};
