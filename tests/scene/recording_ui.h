#pragma once

#include <map>
#include <string>
#include <vector>

#include "scene/joint_tree.h"
#include "scene/rg_bone.h"
#include "scene/tool_links.h"

// A joint tree that records what the engine asks of it and keeps the items
// it would show, keyed by joint.
class RecordingJointTree : public rgJointTree {
public:
    struct Item {
        const rgSceneNode* parent;  // null: under "Scene"
        std::string caption;
        bool selected;
        bool expanded;
    };

    void Reset() override {
        log.push_back("reset");
        items.clear();
        hasRoot = true;
        rootExpanded = false;
    }
    void RemoveAllItems() override {
        log.push_back("remove all");
        items.clear();
    }
    void AddItem(rgBone* joint, rgBone* parent, const std::string& caption, bool selected) override {
        log.push_back("add " + caption + " under " + (parent ? parent->GetName() : "Scene") +
                      (selected ? " selected" : ""));
        items[joint] = {parent, caption, selected, false};
    }
    void RemoveItem(const rgSceneNode* joint) override {
        log.push_back("remove " + items[joint].caption);
        RemoveSubtree(joint);
    }
    bool HasItem(const rgSceneNode* joint) const override { return items.count(joint) != 0; }
    void SetItemCaption(const rgSceneNode* joint, const std::string& caption) override {
        log.push_back("caption " + items[joint].caption + " -> " + caption);
        items[joint].caption = caption;
    }
    void SetItemSelected(const rgSceneNode* joint, bool selected) override {
        log.push_back("select " + items[joint].caption + (selected ? " on" : " off"));
        items[joint].selected = selected;
    }
    bool IsItemExpanded(const rgSceneNode* joint) const override { return items.at(joint).expanded; }
    void ExpandItem(const rgSceneNode* joint) override {
        log.push_back("expand " + items[joint].caption);
        items[joint].expanded = true;
    }
    void ExpandRootItem() override { rootExpanded = true; }
    void SetChangeHandlingSuspended(bool suspended) override {
        log.push_back(suspended ? "suspend" : "resume");
        suspendedNow = suspended;
    }

    // The log without suspend/resume noise.
    std::vector<std::string> Changes() const {
        std::vector<std::string> out;
        for (const auto& l : log)
            if (l != "suspend" && l != "resume") out.push_back(l);
        return out;
    }

    std::vector<std::string> log;
    std::map<const rgSceneNode*, Item> items;
    bool hasRoot = false;
    bool rootExpanded = false;
    bool suspendedNow = false;

private:
    void RemoveSubtree(const rgSceneNode* joint) {
        std::vector<const rgSceneNode*> kids;
        for (const auto& [j, item] : items)
            if (item.parent == joint) kids.push_back(j);
        for (const rgSceneNode* k : kids) RemoveSubtree(k);
        items.erase(joint);
    }
};

class FakeToolOptions : public rgToolOptionsValues {
public:
    bool AffectChildren() const override { return affectChildren; }
    bool affectChildren = true;
};

class CountingToolReferences : public rgToolReferences {
public:
    void ResetNodeReferences() override { ++resets; }
    int resets = 0;
};
