#include "viewport/gl_node_painter.h"

#include <GL/gl.h>

#include <algorithm>

#include "state/rg_state.h"
#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"
#include "scene/texture_library.h"
#include "viewport/gl_check.h"

namespace {

constexpr const char* kNodeSource = "rgSceneNode";
constexpr const char* kMeshSource = "rgMesh";
constexpr const char* kBoneSource = "rgBone";

void DrawTriangleList(const rgTriangleList& list) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, list.positions.data());
    if (!list.normals.empty()) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, 0, list.normals.data());
    }
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(list.corners.size()), GL_UNSIGNED_INT,
                   list.corners.data());
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

}  // namespace

rgGLPainter::rgGLPainter(const matrix44& view, const Settings& settings)
    : settings_(settings), stack_{view} {}

void rgGLPainter::PushMatrix(const matrix44& m) {
    stack_.push_back(m * stack_.back());
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glMultMatrixf(m.data());
    KINEMO_GL_CHECK(settings_.errors, kNodeSource);
}

void rgGLPainter::PopMatrix() {
    if (stack_.size() > 1) stack_.pop_back();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    KINEMO_GL_CHECK(settings_.errors, kNodeSource);
}

bool rgGLPainter::BindMaterial(int materialId) {
    const rgTexture* texture =
        settings_.textures ? settings_.textures->FindById(materialId) : nullptr;
    if (!texture) return false;
    glBindTexture(GL_TEXTURE_2D, texture->LoadFailed() ? 0 : texture->graphicsName);
    KINEMO_GL_CHECK(settings_.errors, kNodeSource);
    return true;
}

void rgGLPainter::UnbindMaterial() {
    glBindTexture(GL_TEXTURE_2D, 0);
    KINEMO_GL_CHECK(settings_.errors, kNodeSource);
}

const uint32_t* rgGLPainter::TriangleIndices(const rgMesh& mesh, size_t& indexCount) {
    static_assert(sizeof(rgFace) == 3 * sizeof(uint32_t), "faces are index triples");
    const std::vector<rgFace>& faces = mesh.Faces();
    const uint32_t count = static_cast<uint32_t>(mesh.GetVertexCount());
    auto valid = [count](const rgFace& f) {
        return static_cast<uint32_t>(f.a) < count && static_cast<uint32_t>(f.b) < count &&
               static_cast<uint32_t>(f.c) < count;
    };
    bool allValid = true;
    for (const rgFace& f : faces)
        if (!valid(f)) {
            allValid = false;
            break;
        }
    if (allValid) {
        indexCount = faces.size() * 3;
        return reinterpret_cast<const uint32_t*>(faces.data());
    }
    indices_.clear();
    for (const rgFace& f : faces)
        if (valid(f))
            indices_.insert(indices_.end(), {static_cast<uint32_t>(f.a), static_cast<uint32_t>(f.b),
                                             static_cast<uint32_t>(f.c)});
    indexCount = indices_.size();
    return indices_.data();
}

void rgGLPainter::DrawMesh(rgMesh& mesh, int drawMode, bool showVertices) {
    const std::vector<vector3>& positions = mesh.DeformedPositions();
    const std::vector<vector3>& normals = mesh.DeformedNormals();
    const size_t vertexCount = static_cast<size_t>(mesh.GetVertexCount());
    if (positions.size() < vertexCount || normals.size() < vertexCount) return;  // not deformed yet
    size_t indexCount = 0;
    const uint32_t* indices = TriangleIndices(mesh, indexCount);
    const GLsizei n = static_cast<GLsizei>(indexCount);

    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, positions.data());
    KINEMO_GL_CHECK(settings_.errors, kMeshSource);

    if (mesh.GetSelected() && n > 0) {
        // Red wireframe over the surface; the surface's polygon offset keeps it visible.
        glPushAttrib(GL_ENABLE_BIT | GL_POLYGON_BIT | GL_CURRENT_BIT);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_LIGHTING);
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        glColor3f(1, 0, 0);
        glDrawElements(GL_TRIANGLES, n, GL_UNSIGNED_INT, indices);
        glPopAttrib();
        KINEMO_GL_CHECK(settings_.errors, kMeshSource);
    }

    glPointSize(1);
    const vector3& colour = mesh.GetColor();
    if (drawMode == 5)
        glColor3f(1, 1, 1);  // the texture shows unmodulated by the node colour
    else
        glColor3f(colour.x, colour.y, colour.z);
    // Ambient and diffuse track the colour. Enabling the tracking after the
    // colour is set copies it into the material at once: a glColor equal to
    // the current colour is not guaranteed to reach the material.
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, 0, normals.data());
    if (drawMode == 5) {
        texcoords_.resize(static_cast<size_t>(mesh.GetVertexCount()) * 2);
        size_t k = 0;
        mesh.Vertices().ForEach([&](const rgVertex& v) {
            texcoords_[k++] = v.texcoords.x;
            texcoords_[k++] = v.texcoords.y;
        });
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, 0, texcoords_.data());
    }
    if (n > 0) {
        if (drawMode == 0) {
            glDrawElements(GL_POINTS, n, GL_UNSIGNED_INT, indices);
        } else {
            glPolygonMode(GL_FRONT_AND_BACK, drawMode == 1 || drawMode == 2 ? GL_LINE : GL_FILL);
            glDrawElements(GL_TRIANGLES, n, GL_UNSIGNED_INT, indices);
        }
    }
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisable(GL_COLOR_MATERIAL);
    KINEMO_GL_CHECK(settings_.errors, kMeshSource);

    if (showVertices) DrawVertices(mesh);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    KINEMO_GL_CHECK(settings_.errors, kMeshSource);
}

void rgGLPainter::DrawVertices(rgMesh& mesh) {
    const vector3 unselected = settings_.editor ? settings_.editor->vertexColour : vector3(0, 1, 0);
    const vector3 selected =
        settings_.editor ? settings_.editor->selectedVertexColour : vector3(1, 0, 0);
    points_.clear();
    colours_.clear();
    std::vector<float> greys;
    mesh.Vertices().ForEach([&](const rgVertex& v) {
        if (!v.visible) return;
        points_.push_back(v.position);
        const vector3& c = v.selected ? selected : unselected;
        colours_.insert(colours_.end(), {c.x, c.y, c.z});
        const float g = VertexWeightGrey(v, settings_.weights);
        greys.insert(greys.end(), {g, g, g});
    });
    if (points_.empty()) return;
    glPushAttrib(GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT | GL_POINT_BIT | GL_CURRENT_BIT |
                 GL_MULTISAMPLE_BIT);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_MULTISAMPLE);  // vertex dots stay crisp squares of their size
    glDepthFunc(GL_LEQUAL);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, points_.data());
    const GLsizei count = static_cast<GLsizei>(points_.size());
    glPointSize(8);
    glColorPointer(3, GL_FLOAT, 0, colours_.data());
    glDrawArrays(GL_POINTS, 0, count);
    glPointSize(5);
    glColorPointer(3, GL_FLOAT, 0, greys.data());
    glDrawArrays(GL_POINTS, 0, count);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glPopAttrib();
    glDepthFunc(GL_LESS);
    glPointSize(1);
    KINEMO_GL_CHECK(settings_.errors, kMeshSource);
}

void rgGLPainter::DrawJoint(rgBone& joint) {
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_POINT_BIT | GL_LINE_BIT |
                 GL_COLOR_BUFFER_BIT | GL_MULTISAMPLE_BIT);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glEnableClientState(GL_VERTEX_ARRAY);
    if (rgBone* parent = ToBone(joint.GetParent())) {
        // The bone line lies in world space: draw it under the view alone.
        const vector3 ends[2] = {parent->GetGlobalMatrix().pos_component(),
                                 joint.GetGlobalMatrix().pos_component()};
        glPushMatrix();
        glLoadMatrixf(stack_.front().data());
        if (joint.parentselected)
            glColor3f(0.75f, 0.75f, 0);
        else
            glColor3f(0, 0, 1);
        glEnable(GL_LINE_SMOOTH);
        glLineWidth(kBoneWidth * settings_.pixelRatio);
        glVertexPointer(3, GL_FLOAT, 0, ends);
        glDrawArrays(GL_LINES, 0, 2);
        glPopMatrix();
    }
    const float origin[3] = {0, 0, 0};
    // A round dot: multisampling would square it off, so it is smoothed
    // by coverage instead.
    glDisable(GL_MULTISAMPLE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_POINT_SMOOTH);
    glPointSize(kJointDiameter * settings_.pixelRatio);
    glVertexPointer(3, GL_FLOAT, 0, origin);
    glColor3f(0, 1, 0);
    glDrawArrays(GL_POINTS, 0, 1);
    if (joint.GetSelected()) {
        glColor3f(1, 0, 0);
        glDrawArrays(GL_POINTS, 0, 1);
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glPopAttrib();
    KINEMO_GL_CHECK(settings_.errors, kBoneSource);
}

void rgGLPainter::DrawGizmo(rgSceneNode& node) {
    const rgState* editor = settings_.editor;
    const int activeAxis = editor ? editor->activeAxis : kAxisNone;
    const bool handles = editor && editor->showHandles;
    const matrix44& global = node.GetGlobalMatrix();
    const matrix44 frame = GizmoFrame(global, GizmoWorldAligned(settings_.gizmo, node.IsBone()));
    const float length = GizmoLength(stack_.front(), global.pos_component());
    const rgGizmoColours colours = GizmoColours(activeAxis);

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glMultMatrixf(frame.data());
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT | GL_COLOR_BUFFER_BIT |
                 GL_LIGHTING_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glLineWidth(2);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    KINEMO_GL_CHECK(settings_.errors, kNodeSource);

    if (handles) {
        glEnable(GL_LIGHTING);
        glColor4f(colours.centre.x, colours.centre.y, colours.centre.z, 0.5f);
        glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
        glEnable(GL_COLOR_MATERIAL);
        DrawTriangleList(SphereTriangles(0.1f * length, 10, 10));
        glDisable(GL_COLOR_MATERIAL);
        glDisable(GL_LIGHTING);
        KINEMO_GL_CHECK(settings_.errors, kNodeSource);
    }

    const vector3 tips[3] = {{length, 0, 0}, {0, length, 0}, {0, 0, length}};
    float axes[18];
    float axisColours[18];
    for (int k = 0; k < 3; ++k) {
        const float line[6] = {0, 0, 0, tips[k].x, tips[k].y, tips[k].z};
        const vector3& c = colours.axis[k];
        const float col[6] = {c.x, c.y, c.z, c.x, c.y, c.z};
        std::copy(line, line + 6, axes + 6 * k);
        std::copy(col, col + 6, axisColours + 6 * k);
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, axes);
    glColorPointer(3, GL_FLOAT, 0, axisColours);
    glDrawArrays(GL_LINES, 0, 6);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    if (handles) {
        for (int k = 0; k < 3; ++k) {
            const vector3& c = colours.axis[k];
            glColor4f(c.x, c.y, c.z, 0.7f);
            DrawTriangleList(GizmoArrowhead(k, length));
        }
    }
    glDisable(GL_BLEND);
    KINEMO_GL_CHECK(settings_.errors, kNodeSource);

    static const char kLabels[3] = {'X', 'Y', 'Z'};
    glListBase(settings_.fontBase);
    for (int k = 0; k < 3; ++k) {
        const vector3& c = colours.axis[k];
        glColor3f(c.x, c.y, c.z);
        const vector3 at = tips[k] * 1.1f;
        glRasterPos3f(at.x, at.y, at.z);
        glCallLists(1, GL_UNSIGNED_BYTE, &kLabels[k]);
    }
    glListBase(0);
    glEnable(GL_DEPTH_TEST);
    glPopAttrib();
    glLineWidth(1);
    glPopMatrix();
    KINEMO_GL_CHECK(settings_.errors, kNodeSource);
}
