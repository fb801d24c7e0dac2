#pragma once

#include <string>
#include <vector>

#include "state/rg_state.h"
#include "scene/image_decoder.h"
#include "scene/joint_tree.h"
#include "scene/object_watcher.h"
#include "scene/texture_library.h"
#include "scene/tool_links.h"
#include "scene/user_messages.h"

// A joint's name and whether its tree item was expanded, kept across scene
// swaps so undo does not collapse the user's tree.
struct rgTreeExpansionRecord {
    std::string name;  // at most 256 characters
    bool expanded = false;
};

// Editor-wide data the scene model needs. One instance lives as long as the
// editor (tests make their own); every scene, including undo copies, refers to it.
class rgSceneContext {
public:
    rgSceneContext() { textures.SetMessages(&defaultMessages_); }
    rgSceneContext(const rgSceneContext&) = delete;
    rgSceneContext& operator=(const rgSceneContext&) = delete;

    rgState state;
    rgTextureLibrary textures;

    // Next joint number: application-wide, reset to 1 when the scene is cleared.
    int nextJointNumber = 1;
    std::vector<rgTreeExpansionRecord> savedTreeExpansion;

    rgJointTree& tree() const { return tree_ ? *tree_ : noTree_; }
    const rgToolOptionsValues& toolOptions() const { return options_ ? *options_ : noOptions_; }
    rgToolReferences& toolReferences() const { return tools_ ? *tools_ : noTools_; }
    rgUserMessages& messages() const { return messages_ ? *messages_ : defaultMessages_; }

    // Nested suspension of the tree window's change handling: only the
    // outermost Suspend/Resume pair reaches the tree.
    void SuspendTreeChanges() {
        if (treeSuspendDepth_++ == 0) tree().SetChangeHandlingSuspended(true);
    }
    void ResumeTreeChanges() {
        if (treeSuspendDepth_ > 0 && --treeSuspendDepth_ == 0) tree().SetChangeHandlingSuspended(false);
    }

    // The readers' time limit, 1 s to an hour; a value that is no number
    // changes nothing.
    void SetReaderTimeLimit(double seconds) {
        if (!(seconds == seconds)) return;
        state.readerSeconds = seconds < 1 ? 1 : seconds > 3600 ? 3600 : seconds;
        if (textures.decoder()) textures.decoder()->SetTimeLimit(state.readerSeconds);
    }

    // The user interface connects itself here; null restores the defaults.
    void SetJointTree(rgJointTree* tree) { tree_ = tree; }
    void SetToolOptions(rgToolOptionsValues* options) { options_ = options; }
    void SetToolReferences(rgToolReferences* tools) { tools_ = tools; }
    void SetMessages(rgUserMessages* messages) {
        messages_ = messages;
        textures.SetMessages(&this->messages());
    }
    // Who hears of destroyed nodes, vertex lists, keys and textures; null: nobody.
    void SetObjectWatcher(rgObjectWatcher* watcher) {
        watcher_ = watcher;
        textures.SetObjectWatcher(watcher);
    }
    void ObjectDestroyed(const void* object) const {
        if (watcher_) watcher_->ObjectDestroyed(object);
    }

private:
    int treeSuspendDepth_ = 0;
    rgJointTree* tree_ = nullptr;
    rgToolOptionsValues* options_ = nullptr;
    rgToolReferences* tools_ = nullptr;
    rgUserMessages* messages_ = nullptr;
    rgObjectWatcher* watcher_ = nullptr;
    mutable rgNoJointTree noTree_;
    rgToolOptionsValues noOptions_;
    mutable rgToolReferences noTools_;
    mutable rgUserMessages defaultMessages_;
};

// Suspends the tree window's change handling for the lifetime of the guard.
class rgTreeChangeGuard {
public:
    explicit rgTreeChangeGuard(rgSceneContext& context) : context_(context) { context_.SuspendTreeChanges(); }
    ~rgTreeChangeGuard() { context_.ResumeTreeChanges(); }
    rgTreeChangeGuard(const rgTreeChangeGuard&) = delete;
    rgTreeChangeGuard& operator=(const rgTreeChangeGuard&) = delete;

private:
    rgSceneContext& context_;
};
