#include "editing/mesh_commands.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "editing/rg_editor.h"
#include "scene/position_grid.h"
#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"

namespace {

std::vector<rgMesh*> SelectedMeshes(rgScene& scene) {
    std::vector<rgMesh*> meshes;
    scene.ForEach([&](rgSceneNode* n) {
        if (n->IsMesh() && n->GetSelected()) meshes.push_back(static_cast<rgMesh*>(n));
    });
    return meshes;
}

// Runs `change` on every selected mesh as one undo step `label`.
template <typename Change>
int OnSelectedMeshes(rgEditor& editor, const char* label, Change change) {
    const std::vector<rgMesh*> meshes = SelectedMeshes(editor.scene());
    if (meshes.empty()) {
        editor.context.messages().ShowStatus(std::string(label) + ": select a mesh first");
        return 0;
    }
    editor.PushUndo(label);  // stores a copy: the meshes found above stay the scene's own
    int result = 0;
    for (rgMesh* mesh : meshes) result += change(*mesh);
    editor.scene().InvalidateSkins();
    editor.scene().NoteVertexEdits();
    editor.MarkModified();
    editor.view().RedrawViewports();
    return result;
}

// A node's own placement, whatever its kind (a joint's GetMatrix is computed).
matrix44& LocalMatrix(rgSceneNode& node) {
    if (node.IsBone()) return static_cast<rgBone&>(node).GetLocalMatrix();
    return node.GetMatrix();
}

// Keeps the children of `mesh` where they are when its local matrix goes
// from `before` to `after`: child' = child x before x after^-1.
void KeepChildrenInPlace(rgMesh& mesh, const matrix44& before, const matrix44& after) {
    matrix44 inverse = after;
    inverse.invert();
    const matrix44 change = before * inverse;
    for (int i = 0; i < mesh.GetChildCount(); ++i)
        if (rgSceneNode* child = mesh.GetChild(i)) LocalMatrix(*child) = LocalMatrix(*child) * change;
}

bool Within(float a, float b, float tolerance) { return std::fabs(a - b) <= tolerance; }

}  // namespace

int GenerateMeshNormals(rgEditor& editor) {
    return OnSelectedMeshes(editor, "Generate Normals", [](rgMesh& mesh) {
        mesh.GenerateNormals();
        return 1;
    });
}

int FlipMeshFaces(rgEditor& editor) {
    return OnSelectedMeshes(editor, "Flip Faces", [](rgMesh& mesh) {
        mesh.ReverseVertexOrder();
        for (int i = 0; i < mesh.GetVertexCount(); ++i) {
            rgVertex* v = mesh.GetVertex(i);
            v->normal = v->normal * -1.0f;
        }
        return 1;
    });
}

int MergeDuplicateVertices(rgEditor& editor, float tolerance) {
    return OnSelectedMeshes(editor, "Merge Duplicate Vertices", [tolerance](rgMesh& mesh) {
        const int n = mesh.GetVertexCount();
        std::vector<rgVertex> kept;
        std::vector<int32_t> target(static_cast<size_t>(n));
        rgPositionGrid grid;
        for (int i = 0; i < n; ++i) {
            const rgVertex& v = *static_cast<const rgMesh&>(mesh).GetVertex(i);
            int32_t found = -1;
            grid.ForEachCandidate(v.position, tolerance, [&](int32_t k) {
                const rgVertex& w = kept[static_cast<size_t>(k)];
                if ((found < 0 || k < found) && Within(v.position.x, w.position.x, tolerance) &&
                    Within(v.position.y, w.position.y, tolerance) &&
                    Within(v.position.z, w.position.z, tolerance) &&
                    Within(v.texcoords.x, w.texcoords.x, tolerance) &&
                    Within(v.texcoords.y, w.texcoords.y, tolerance))
                    found = k;
            });
            if (found < 0) {
                found = static_cast<int32_t>(kept.size());
                kept.push_back(v);
                grid.Insert(v.position, found);
            }
            target[static_cast<size_t>(i)] = found;
        }
        const int removed = n - static_cast<int>(kept.size());
        if (removed == 0) return 0;
        std::vector<rgFace> faces;
        for (const rgFace& f : mesh.Faces()) {
            const auto map = [&](int32_t i) {
                return i >= 0 && i < n ? target[static_cast<size_t>(i)] : int32_t{-1};
            };
            const rgFace g{map(f.a), map(f.b), map(f.c)};
            if (g.a < 0 || g.b < 0 || g.c < 0 || g.a == g.b || g.b == g.c || g.a == g.c) continue;
            faces.push_back(g);
        }
        mesh.ReplaceGeometry(kept, std::move(faces));
        return removed;
    });
}

int CenterMeshPivots(rgEditor& editor) {
    return OnSelectedMeshes(editor, "Center Pivot", [](rgMesh& mesh) {
        if (mesh.GetVertexCount() == 0) return 0;
        vector3 lo = mesh.GetVertex(0)->position, hi = lo;
        for (int i = 1; i < mesh.GetVertexCount(); ++i) {
            const vector3& p = mesh.GetVertex(i)->position;
            lo.set(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
            hi.set(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
        }
        const vector3 centre = (lo + hi) * 0.5f;
        for (int i = 0; i < mesh.GetVertexCount(); ++i) mesh.GetVertex(i)->position -= centre;
        matrix44 shift;
        shift.ident();
        shift.translate(centre.x, centre.y, centre.z);
        const matrix44 before = mesh.GetMatrix();
        mesh.GetMatrix() = shift * before;  // the shift in the mesh's own space
        KeepChildrenInPlace(mesh, before, mesh.GetMatrix());
        return 1;
    });
}

int FreezeMeshTransforms(rgEditor& editor) {
    return OnSelectedMeshes(editor, "Freeze Transform", [](rgMesh& mesh) {
        const matrix44 local = mesh.GetMatrix();
        // Normals go through the inverse transpose, so a non-uniform scale
        // keeps them perpendicular to their faces.
        matrix44 normals = local;
        normals.clear_translation();
        normals.invert();
        normals.transpose();
        for (int i = 0; i < mesh.GetVertexCount(); ++i) {
            rgVertex* v = mesh.GetVertex(i);
            v->position = local.Transform(v->position);
            vector3 n = normals.TransformDirection(v->normal);
            if (n.len() > 0) n.norm();
            v->normal = n;
        }
        matrix44 identity;
        identity.ident();
        mesh.GetMatrix() = identity;
        KeepChildrenInPlace(mesh, local, identity);
        return 1;
    });
}
