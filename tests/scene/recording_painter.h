#pragma once

#include <set>
#include <string>
#include <vector>

#include "scene/node_painter.h"
#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"

// Records which nodes are drawn or hit-tested and which textures are bound.
class RecordingPainter : public rgNodePainter, public rgNodePicker {
public:
    void PushMatrix(const matrix44&) override { ++depth; }
    void PopMatrix() override { --depth; }
    bool BindMaterial(int id) override {
        if (!textures.count(id)) return false;
        bound.push_back(id);
        return true;
    }
    void UnbindMaterial() override { bound.push_back(-1); }
    void DrawMesh(rgMesh& mesh, int, bool) override {
        drawn.push_back(mesh.GetName());
        meshWasDeformed = mesh.IsDeformed();
    }
    void DrawJoint(rgBone& joint) override { drawn.push_back(joint.GetName()); }
    void DrawGizmo(rgSceneNode& node) override { gizmos.push_back(node.GetName()); }
    bool PickMesh(rgMesh& mesh, int, int) override {
        picked.push_back(mesh.GetName());
        return true;
    }
    bool PickJoint(rgBone& joint, int, int) override {
        picked.push_back(joint.GetName());
        return true;
    }
    bool PickGizmo(rgSceneNode& node) override {
        gizmos.push_back(node.GetName());
        return true;
    }

    std::set<int> textures;
    std::vector<int> bound;
    std::vector<std::string> drawn, picked, gizmos;
    int depth = 0;
    bool meshWasDeformed = false;
};
