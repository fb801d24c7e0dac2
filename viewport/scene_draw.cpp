#include "viewport/scene_draw.h"

#include "scene/node_painter.h"
#include "scene/rg_scene.h"

namespace {

// Hands on only the meshes or only the joints of a walk, with the matrix and
// material calls that keep the walk in step.
class OneKindPainter : public rgNodePainter {
public:
    OneKindPainter(rgNodePainter& painter, bool meshes) : painter_(painter), meshes_(meshes) {}
    void PushMatrix(const matrix44& m) override { painter_.PushMatrix(m); }
    void PopMatrix() override { painter_.PopMatrix(); }
    bool BindMaterial(int materialId) override { return painter_.BindMaterial(materialId); }
    void UnbindMaterial() override { painter_.UnbindMaterial(); }
    void DrawMesh(rgMesh& mesh, int drawMode, bool showVertices) override {
        if (meshes_) painter_.DrawMesh(mesh, drawMode, showVertices);
    }
    void DrawJoint(rgBone& joint) override {
        if (!meshes_) painter_.DrawJoint(joint);
    }
    void DrawGizmo(rgSceneNode& node) override { painter_.DrawGizmo(node); }

private:
    rgNodePainter& painter_;
    bool meshes_;
};

bool IsPlainNode(const rgSceneNode* node) { return !node->IsMesh() && !node->IsBone(); }

}  // namespace

void DrawScene(rgScene& scene, rgNodePainter& painter, int drawMode, bool showVertices) {
    scene.UpdateScene();
    rgSceneNode* root = scene.GetRootNode();
    OneKindPainter meshesOnly(painter, true), jointsOnly(painter, false);
    // Indexed walks: drawing never changes the hierarchy, but stays safe if it did.
    const auto each = [&](auto&& draw) {
        for (int i = 0; i < root->GetChildCount(); ++i)
            if (rgSceneNode* child = root->GetChild(i)) draw(child);
    };
    each([&](rgSceneNode* c) {
        if (c->IsMesh()) c->Draw(painter, drawMode, showVertices);
    });
    // Plain nodes (an imported file's root or armature node) hold meshes and
    // skeletons alike: their meshes with the meshes, their joints with the joints.
    each([&](rgSceneNode* c) {
        if (IsPlainNode(c)) c->Draw(meshesOnly, drawMode, showVertices);
    });
    each([&](rgSceneNode* c) {
        if (c->IsBone()) c->Draw(painter, drawMode, showVertices);
    });
    each([&](rgSceneNode* c) {
        if (IsPlainNode(c)) c->Draw(jointsOnly, drawMode, showVertices);
    });
    each([&](rgSceneNode* c) { c->DrawAxes(painter); });
}
