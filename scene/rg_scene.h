#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "scene/rg_clip.h"
#include "scene/rg_scene_node.h"
#include "scene/scene_context.h"

class rgMesh;
class rgBone;

// Owns the node hierarchy under one invisible root and offers the
// scene-wide services: the walk, node creation, joint lookup by number, the
// bounding sphere, clearing, deep copies (undo) and keeping the keyframer's
// joint tree in step.
//
// Walk order (ForEach and the cursor): depth first, a node before its
// children, children in list order, the root excluded. Several tie-breaks
// depend on it.
class rgScene {
public:
    explicit rgScene(rgSceneContext& context);
    ~rgScene();
    rgScene(const rgScene&) = delete;
    rgScene& operator=(const rgScene&) = delete;

    rgSceneContext& context() const { return context_; }
    rgSceneNode* GetRootNode() const { return root_.get(); }

    template <typename F>
    void ForEach(F&& f) {
        Visit(root_.get(), f);
    }

    // Cursor walk; a full iteration costs one walk of the scene.
    rgSceneNode* GetFirstNode();
    rgSceneNode* GetNextNode();

    // New nodes belonging to this scene, not attached.
    rgMesh* CreateMesh();
    rgBone* CreateBone();
    // A mesh or joint (class name compared case-insensitively) attached under
    // `parent`, or under the root when null. Other class names: null.
    rgSceneNode* CreateNode(const char* className, rgSceneNode* parent);

    // The joint carrying the number; the last one in walk order when several do.
    rgBone* FindJointById(int id);
    // False for an empty scene (outputs untouched).
    bool GetBoundingSphere(vector3& centre, float& radius);
    // The same over the selected nodes only; false when none is selected.
    bool GetSelectionBoundingSphere(vector3& centre, float& radius);

    // The clips, in the order the user made them (undo copies them with
    // the hierarchy; clearing the scene removes them).
    std::vector<rgClip>& Clips() { return clips_; }
    const std::vector<rgClip>& Clips() const { return clips_; }

    void Clear();
    // Exchanges the hierarchies (and clips) of two scenes (undo makes a copy current
    // this way, so the scene object scripts hold stays valid).
    void SwapContents(rgScene& other);
    // Deep copy: same context, keys and joint numbers kept, no tree items.
    std::unique_ptr<rgScene> Copy();
    // Updates every node's matrices from the root.
    void UpdateScene();

    void RebuildTree();
    void SaveTreeExpansion();
    void RestoreTreeExpansion();

    // Pose generation: any change that moves joints bumps it, so every mesh
    // sees its deformed data is stale.
    void InvalidateSkins() { ++poseGeneration_; }
    uint64_t PoseGeneration() const { return poseGeneration_; }
    void NoteStructureChange() { ++structureVersion_; }
    // Vertices may have been written through pointers handed out earlier
    // (scripts keep vertex handles): every mesh rereads its source data.
    void NoteVertexEdits() { ++vertexEditEpoch_; }
    uint64_t VertexEditEpoch() const { return vertexEditEpoch_; }
    bool IsTearingDown() const { return tearingDown_; }

private:
    // The bounding sphere of every node, or of the selected ones: the mean of
    // their centres and the farthest reach from it.
    bool BoundingSphereOf(bool selectedOnly, vector3& centre, float& radius);
    template <typename F>
    static void Visit(rgSceneNode* node, F& f) {
        // Indexed: a callback may append children to the node it visits.
        for (size_t i = 0; i < node->Children().size(); ++i) {
            rgSceneNode* child = node->Children()[i];
            f(child);
            Visit(child, f);
        }
    }
    struct CopyTag {};
    rgScene(rgSceneContext& context, CopyTag);
    static void Adopt(rgSceneNode* node, rgScene* scene);
    void RefreshWalk();
    void DestroyHierarchy();

    rgSceneContext& context_;
    std::unique_ptr<rgSceneNode> root_;
    std::vector<rgClip> clips_;
    uint64_t poseGeneration_ = 1;
    uint64_t structureVersion_ = 0;
    uint64_t vertexEditEpoch_ = 0;
    bool tearingDown_ = false;

    // Cursor state and the cached walk it reads.
    int cursor_ = 0;
    std::vector<rgSceneNode*> walk_;
    uint64_t walkVersion_ = UINT64_MAX;
};
