#pragma once

#include <cstdint>
#include <vector>

#include "core/matrix44.h"
#include "scene/node_painter.h"
#include "viewport/gizmo_shape.h"
#include "viewport/gl_error_report.h"
#include "viewport/vertex_display.h"

class rgTextureLibrary;
struct rgState;

// Node drawing with OpenGL's fixed-function pipeline into the current
// context. Geometry goes through client vertex arrays; the model-view stack
// is mirrored on the CPU so the gizmo can measure the view.
class rgGLPainter : public rgNodePainter {
public:
    struct Settings {
        const rgTextureLibrary* textures = nullptr;
        const rgState* editor = nullptr;  // vertex colours, active axis, handles
        rgGizmoOptions gizmo;
        rgWeightView weights;
        unsigned fontBase = 1000;  // bitmap-font display lists, one per character code
        rgGLErrorReport* errors = nullptr;
        // Framebuffer pixels per logical pixel: joints and bones keep their
        // size on screens of high density.
        float pixelRatio = 1.0f;
    };

    // How joints are drawn, in logical pixels: the bone from a joint to its
    // parent as a line this wide, the joint as a round dot this wide.
    static constexpr float kBoneWidth = 2.0f;
    static constexpr float kJointDiameter = 8.0f;

    // `view` is the model-view matrix loaded for the frame.
    rgGLPainter(const matrix44& view, const Settings& settings);

    void PushMatrix(const matrix44& m) override;
    void PopMatrix() override;
    bool BindMaterial(int materialId) override;
    void UnbindMaterial() override;
    void DrawMesh(rgMesh& mesh, int drawMode, bool showVertices) override;
    void DrawJoint(rgBone& joint) override;
    void DrawGizmo(rgSceneNode& node) override;

private:
    // The mesh's triangles as GL indices: the face array itself when every
    // corner names a vertex, else a copy without the triangles that do not.
    const uint32_t* TriangleIndices(const rgMesh& mesh, size_t& indexCount);
    void DrawVertices(rgMesh& mesh);

    Settings settings_;
    std::vector<matrix44> stack_;  // the first entry is the view
    std::vector<uint32_t> indices_;
    std::vector<float> texcoords_;
    std::vector<vector3> points_;
    std::vector<float> colours_;
};
