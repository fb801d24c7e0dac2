#pragma once

#include "editing/object_properties.h"
#include "editing/rg_select.h"

// "Edit object properties": a click selects one node, which becomes the
// current node; the Tool Options "General" and "Joint" pages show its name,
// colour, placement and joint settings, and edits there apply at once
// (without undo steps). Frame selection is off.
class rgObjectProp : public rgSelect {
public:
    explicit rgObjectProp(rgToolManager& owner);

    void MouseUp(int button, int shift, int x, int y, rgToolViewport& viewport) override;
    // A selected node becomes current (the last in walk order wins).
    virtual void TakeCurrent(rgSceneNode* node);  // 11
    // Every node but the current one is deselected; joints' marks follow.
    virtual void KeepOnlyCurrent(rgSceneNode* node);  // 12

    void Activate() override;
    void Deactivate() override;
    void ForgetNodes() override;
    void ForgetNode(rgSceneNode* node) override;

    void FindCurrent();
    // The pages show the current node (or are emptied and hidden).
    void ShowProperties();

    // Edits of the pages; each does nothing without a current node.
    void SetName(const std::string& name);
    void SetColour(int red, int green, int blue);
    void SetIKChainEnd(bool on);
    void SetIKWeight(float weight);

    rgSceneNode* CurrentNode() const { return current_; }
    const rgObjectProperties& Properties() const { return shown_; }

private:
    rgSceneNode* current_ = nullptr;
    rgObjectProperties shown_;
};
