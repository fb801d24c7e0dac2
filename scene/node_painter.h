#pragma once

#include "core/matrix44.h"

class rgSceneNode;
class rgMesh;
class rgBone;

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

// The selection side: the same walk, hit tests instead of drawing.
class rgNodePicker {
public:
    virtual ~rgNodePicker() = default;
    virtual void PushMatrix(const matrix44& m) = 0;
    virtual void PopMatrix() = 0;
    virtual bool PickMesh(rgMesh& mesh, int a, int b) = 0;
    virtual bool PickJoint(rgBone& joint, int a, int b) = 0;
    // Hit test of the gizmo handles; updates the active axis.
    virtual bool PickGizmo(rgSceneNode& node) = 0;
};
