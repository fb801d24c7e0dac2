#include "editing/joint_commands.h"

#include <vector>

#include "editing/rg_editor.h"
#include "scene/rg_bone.h"
#include "scene/rg_scene.h"

namespace {

std::vector<rgBone*> JointsInWalkOrder(rgScene& scene, bool selectedOnly) {
    std::vector<rgBone*> joints;
    scene.ForEach([&](rgSceneNode* node) {
        if (rgBone* joint = ToBone(node); joint && (!selectedOnly || joint->GetSelected()))
            joints.push_back(joint);
    });
    return joints;
}

// Moves a joint under `parent`, keeping its world matrix (global matrices
// must be up to date).
void Reparent(rgScene& scene, rgBone* joint, rgSceneNode* parent) {
    const matrix44 world = joint->GetGlobalMatrix();
    if (rgSceneNode* old = joint->GetParent()) old->DetachChild(joint);
    joint->GetLocalMatrix() = world;
    scene.RebuildTree();
    parent->AttachChild(joint);
    matrix44 inverseParent = parent->GetGlobalMatrix();
    inverseParent.invert();
    joint->GetLocalMatrix() = world * inverseParent;
}

bool Orthonormal(const vector3& x, const vector3& y, const vector3& z) {
    constexpr double kTolerance = 1e-8;
    const vector3 rows[3] = {x, y, z};
    for (int i = 0; i < 3; ++i) {
        const double length = rows[i].len_squared();
        if (!(length > 1.0 - kTolerance && length < 1.0 + kTolerance)) return false;
        for (int j = i + 1; j < 3; ++j)
            if (!(rows[i].DotProduct(rows[j]) < kTolerance)) return false;
    }
    return true;
}

// The axes of a frame whose Z points along z, with a reference direction
// that z is not parallel to. X = Y x Z keeps the frame right-handed.
void AxesAround(const vector3& z, const vector3& reference, vector3& x, vector3& y) {
    y = z.CrossProduct(reference);
    x = y.CrossProduct(z);
}

// The world orientation of a joint whose Z axis is to point along z.
matrix44 OrientedFrame(vector3 z, const vector3& position) {
    const vector3 up(0, 1, 0);
    vector3 x, y;
    if (z.DotProduct(up) > 0.98f) {
        AxesAround(z, vector3(1, 0, 0), x, y);
    } else {
        x = z.CrossProduct(up);
        y = z.CrossProduct(x);
        // Z along the up axis without passing the test above (pointing down,
        // or short): the cross products vanish, so take the other reference.
        if (x.len() <= 1e-7f) AxesAround(z, vector3(1, 0, 0), x, y);
    }
    z.norm();
    y.norm();
    x.norm();
    matrix44 m;
    m.set(x.x, x.y, x.z, 0, y.x, y.y, y.z, 0, z.x, z.y, z.z, 0, position.x, position.y, position.z,
          1);
    if (!Orthonormal(x, y, z)) {
        // Through a unit quaternion; the conjugate undoes the transposed
        // relation between extraction and construction.
        quaternion q = m.get_quaternion();
        q.normalize();
        q.conjugate();
        m.set_quaternion(q);
        m.translate(position.x, position.y, position.z);
    }
    return m;
}

void OrientJoint(rgScene& scene, rgBone* joint) {
    scene.UpdateScene();
    // Child joints step aside to the root while the joint turns.
    std::vector<rgBone*> moved;
    for (size_t i = 0; i < joint->Children().size();) {
        rgBone* child = ToBone(joint->Children()[i]);
        if (!child) {
            ++i;
            continue;
        }
        Reparent(scene, child, scene.GetRootNode());
        moved.push_back(child);
    }
    scene.UpdateScene();

    if (rgBone* parent = ToBone(joint->GetParent())) {
        const vector3 position = joint->GetGlobalMatrix().pos_component();
        vector3 z(0, 0, 1);
        if (!moved.empty()) {
            vector3 sum(0, 0, 0);
            for (rgBone* child : moved) sum += child->GetGlobalMatrix().pos_component();
            const vector3 away = position - sum / static_cast<float>(moved.size());
            // Children around the joint itself give no direction.
            if (away.len() > 1e-7f) z = away;
        }
        matrix44 inverseParent = parent->GetGlobalMatrix();
        inverseParent.invert();
        joint->GetLocalMatrix() = OrientedFrame(z, position) * inverseParent;
    }
    scene.UpdateScene();

    for (rgBone* child : moved) Reparent(scene, child, joint);
    scene.RebuildTree();
}

}  // namespace

void DetachJoints(rgEditor& editor) {
    editor.PushUndo("Detach Joints");
    rgScene& scene = editor.scene();
    scene.UpdateScene();
    rgSceneNode* root = scene.GetRootNode();
    for (rgBone* joint : JointsInWalkOrder(scene, true)) {
        // Joints already at the root stay where they are in its list.
        if (joint->GetParent() && joint->GetParent() != root) Reparent(scene, joint, root);
    }
    scene.InvalidateSkins();
    scene.RebuildTree();
    editor.view().RedrawViewports();
}

void AutoOrientJoints(rgEditor& editor) {
    editor.PushUndo("Auto Orient Joints");
    rgScene& scene = editor.scene();
    for (rgBone* joint : JointsInWalkOrder(scene, false))
        if (joint->GetSelected()) OrientJoint(scene, joint);
    scene.InvalidateSkins();
    editor.view().RedrawViewports();
}
