#pragma once

#include <vector>

#include "core/matrix44.h"

class rgSceneNode;
class rgMesh;
class rgBone;

// Key and button state handed to pick routines and tool mouse events; bits
// may be combined.
enum rgShiftState : int {
    kShiftKey = 1,
    kAltKey = 2,
    kCtrlKey = 4,
    kLeftButtonHeld = 8,
    kRightButtonHeld = 16,
    kMiddleButtonHeld = 32,
};

// The `a` argument of rgSceneNode::Pick for meshes: what is hit-tested.
enum rgPickMode : int { kPickObjects = 0, kPickVertices = 1 };

// The viewport side of node drawing. Nodes walk the hierarchy, keep the
// matrix stack and material state in step and hand each node's own drawing
// to the painter, so the scene model needs no graphics library.
class rgNodePainter {
public:
    virtual ~rgNodePainter() = default;
    // Pushes the model-view stack and multiplies it by m.
    virtual void PushMatrix(const matrix44& m) = 0;
    virtual void PopMatrix() = 0;
    // Binds the texture whose id is materialId; false when no texture has it.
    virtual bool BindMaterial(int materialId) = 0;
    virtual void UnbindMaterial() = 0;
    virtual void DrawMesh(rgMesh& mesh, int drawMode, bool showVertices) = 0;
    virtual void DrawJoint(rgBone& joint) = 0;
    // The transform gizmo of a selected node (under the node's global matrix).
    virtual void DrawGizmo(rgSceneNode& node) = 0;
};

// What one selection pass of the selection tool collects while nodes pick
// themselves: the nodes a single click hit, in the order the scene walk
// reached them, each with its selection at that moment. The tool resets it
// before each pass; the list grows as needed.
struct rgPickHits {
    struct Entry {
        rgSceneNode* node;
        bool wasSelected;
    };
    static constexpr float kNoMeshDepth = 10000.0f;

    std::vector<Entry> entries;
    bool singleClick = false;
    // Normalised depth (unsigned window depth x 2^-31) of the nearest mesh recorded.
    float nearestMeshDepth = kNoMeshDepth;

    void Reset(bool singleClickPass) {
        entries.clear();
        singleClick = singleClickPass;
        nearestMeshDepth = kNoMeshDepth;
    }
};

// The selection side: the same walk, hit tests instead of drawing.
//   PickMesh(mesh, mode, shift): mode is an rgPickMode, shift the rgShiftState
//   of the event. Vertex mode changes vertex selection and returns false;
//   object mode reports whether the mesh was hit, recording it in the pass's
//   hits during a single click when it is the nearest mesh so far.
//   PickJoint records every hit joint in the pass's hits.
class rgNodePicker {
public:
    virtual ~rgNodePicker() = default;
    virtual void PushMatrix(const matrix44& m) = 0;
    virtual void PopMatrix() = 0;
    virtual bool PickMesh(rgMesh& mesh, int mode, int shift) = 0;
    virtual bool PickJoint(rgBone& joint, int mode, int shift) = 0;
    // Hit test of the gizmo handles; updates the active axis.
    virtual bool PickGizmo(rgSceneNode& node) = 0;

    // The pass hits are recorded in; null outside a selection pass.
    void SetPickHits(rgPickHits* hits) { hits_ = hits; }
    rgPickHits* PickHits() const { return hits_; }

protected:
    rgPickHits* hits_ = nullptr;
};
