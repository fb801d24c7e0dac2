#include "viewport/scene_draw.h"

#include "scene/node_painter.h"
#include "scene/rg_scene.h"

void DrawScene(rgScene& scene, rgNodePainter& painter, int drawMode, bool showVertices) {
    scene.UpdateScene();
    rgSceneNode* root = scene.GetRootNode();
    // Indexed walks: drawing never changes the hierarchy, but stays safe if it did.
    for (int i = 0; i < root->GetChildCount(); ++i) {
        rgSceneNode* child = root->GetChild(i);
        if (child && child->IsMesh()) child->Draw(painter, drawMode, showVertices);
    }
    for (int i = 0; i < root->GetChildCount(); ++i) {
        rgSceneNode* child = root->GetChild(i);
        if (child && child->IsBone()) child->Draw(painter, drawMode, showVertices);
    }
    for (int i = 0; i < root->GetChildCount(); ++i)
        if (rgSceneNode* child = root->GetChild(i)) child->DrawAxes(painter);
}
