#include "skinning/vertex_assignment.h"

#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"

namespace {

template <typename F>
void ForEachMesh(rgScene& scene, F&& f) {
    scene.ForEach([&](rgSceneNode* node) {
        if (rgMesh* mesh = ToMesh(node)) f(*mesh);
    });
}

}  // namespace

void AssignSelectedVertices(rgScene& scene, int jointId, float weight) {
    ForEachMesh(scene, [&](rgMesh& m) { m.AssignSelected(jointId, weight); });
    scene.InvalidateSkins();
}

void UnassignSelectedVertices(rgScene& scene, int jointId) {
    ForEachMesh(scene, [&](rgMesh& m) { m.UnassignSelected(jointId); });
    scene.InvalidateSkins();
}

void SelectAssignedVertices(rgScene& scene, int jointId) {
    ForEachMesh(scene, [&](rgMesh& m) { m.SelectAssigned(jointId); });
}

void SelectUnassignedVertices(rgScene& scene) {
    ForEachMesh(scene, [](rgMesh& m) { m.SelectUnassigned(); });
}

void NormalizeAllWeights(rgScene& scene) {
    ForEachMesh(scene, [](rgMesh& m) { m.NormalizeWeights(); });
    scene.InvalidateSkins();
}
