#pragma once

#include <string>

class rgBone;
class rgSceneNode;

// The keyframer window's tree of joints, as the engine drives it. Items are
// keyed by joint, so a joint never holds a pointer into the user interface.
// A null parent joint means "under the root item captioned Scene".
class rgJointTree {
public:
    virtual ~rgJointTree() = default;

    // Clears the tree and adds the single root item "Scene".
    virtual void Reset() = 0;
    // Deletes every item below the root item.
    virtual void RemoveAllItems() = 0;
    virtual void AddItem(rgBone* joint, rgBone* parentJoint, const std::string& caption,
                         bool selected) = 0;
    // Deletes the joint's item together with its sub-items.
    virtual void RemoveItem(const rgSceneNode* joint) = 0;
    virtual bool HasItem(const rgSceneNode* joint) const = 0;
    virtual void SetItemCaption(const rgSceneNode* joint, const std::string& caption) = 0;
    virtual void SetItemSelected(const rgSceneNode* joint, bool selected) = 0;
    virtual bool IsItemExpanded(const rgSceneNode* joint) const = 0;
    // Expands the item itself, not its sub-items.
    virtual void ExpandItem(const rgSceneNode* joint) = 0;
    virtual void ExpandRootItem() = 0;
    // While suspended, the window ignores its own tree-change notifications.
    virtual void SetChangeHandlingSuspended(bool suspended) = 0;
};

// The tree of a run without a keyframer window (batch runs, undo copies, tests).
class rgNoJointTree final : public rgJointTree {
public:
    void Reset() override {}
    void RemoveAllItems() override {}
    void AddItem(rgBone*, rgBone*, const std::string&, bool) override {}
    void RemoveItem(const rgSceneNode*) override {}
    bool HasItem(const rgSceneNode*) const override { return false; }
    void SetItemCaption(const rgSceneNode*, const std::string&) override {}
    void SetItemSelected(const rgSceneNode*, bool) override {}
    bool IsItemExpanded(const rgSceneNode*) const override { return false; }
    void ExpandItem(const rgSceneNode*) override {}
    void ExpandRootItem() override {}
    void SetChangeHandlingSuspended(bool) override {}
};
