#pragma once

#include <gtest/gtest.h>

#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"
#include "tests/scene/recording_ui.h"

// A fresh editor context and scene with a recording joint tree per test.
class SceneTest : public ::testing::Test {
protected:
    SceneTest() {
        context.SetJointTree(&tree);
        context.SetToolOptions(&options);
        context.SetToolReferences(&tools);
        scene = std::make_unique<rgScene>(context);
    }
    ~SceneTest() override {
        scene.reset();
        context.SetJointTree(nullptr);
    }

    rgSceneNode* root() { return scene->GetRootNode(); }

    rgBone* AddJoint(rgSceneNode* parent, vector3 position = {}) {
        rgBone* joint = scene->CreateBone();
        joint->GetLocalMatrix().translate(position.x, position.y, position.z);
        (parent ? parent : root())->AttachChild(joint);
        return joint;
    }
    rgMesh* AddMesh(rgSceneNode* parent) {
        rgMesh* mesh = scene->CreateMesh();
        (parent ? parent : root())->AttachChild(mesh);
        return mesh;
    }
    rgSceneNode* AddNode(rgSceneNode* parent, const char* name) {
        auto* node = new rgSceneNode(scene.get());
        node->SetName(name);
        (parent ? parent : root())->AttachChild(node);
        return node;
    }
    void Animation() { context.state.editLevel = kEditAnimation; }

    RecordingJointTree tree;
    FakeToolOptions options;
    CountingToolReferences tools;
    rgSceneContext context;
    std::unique_ptr<rgScene> scene;
};

inline rgVertex MakeVertex(vector3 p, vector3 n = {0, 0, 1}, vector2 uv = {}) {
    rgVertex v;
    v.position = p;
    v.normal = n;
    v.texcoords = uv;
    return v;
}

inline ::testing::AssertionResult Near3(const vector3& a, const vector3& b, float tol = 1e-5f) {
    if (a.isequal(b, tol)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ") vs (" << b.x
                                         << ", " << b.y << ", " << b.z << ")";
}
