#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "editing/rg_editor.h"
#include "editing/tool_event.h"
#include "editing/tool_manager.h"
#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"
#include "tests/scene/recording_ui.h"
#include "viewport/camera.h"
#include "viewport/gizmo_shape.h"
#include "viewport/navigation.h"
#include "viewport/windowless_viewport.h"

// A windowless viewport following the tool manager's gizmo choices, with a
// record of what the tools asked of it.
class FakeToolViewport : public rgWindowlessViewport {
public:
    FakeToolViewport(int width, int height, const rgToolManager& tools)
        : rgWindowlessViewport(width, height) {
        gizmoOptions = [&tools] { return tools.GizmoOptions(); };
    }

    void Redraw() override { ++redraws; }
    void ShowFrameRect(int x1, int y1, int x2, int y2) override {
        frames.push_back({x1, y1, x2, y2});
    }
    void ShowOverlayLine(int x1, int y1, int x2, int y2) override {
        lines.push_back({x1, y1, x2, y2});
    }
    rgPixel PixelOf(const vector3& p) const {
        rgPixel px;
        rgWindowlessViewport::PixelOf(p, px.x, px.y);
        return px;
    }

    struct Rect {
        int x1, y1, x2, y2;
        bool operator==(const Rect&) const = default;
    };
    int redraws = 0;
    std::vector<Rect> frames;
    std::vector<Rect> lines;
};

// The main window as the tool manager sees it, recording what it is told.
class RecordingToolView : public rgToolView {
public:
    void InstallToolHandlers(const rgToolHandlers& h) override {
        handlers = h;
        ++installs;
    }
    void SetToolStatusText(const std::string& text) override { status = text; }
    void ShowToolButton(rgToolButton button, bool down) override {
        log.push_back(std::string(down ? "down " : "up ") +
                      std::to_string(static_cast<int>(button)));
    }
    void ShowToolPages(unsigned p) override { pages = p; }
    void ShowToolOptionsWindow() override { ++optionsShown; }
    void ReleaseNavigationButtons() override { ++navReleases; }
    bool HasActiveViewport() const override { return activeViewport; }
    void ShowVertices(bool show) override { vertices = show; }
    void ShowEditLevel(int level) override { shownLevel = level; }

    rgToolHandlers handlers;
    int installs = 0;
    std::string status;
    std::vector<std::string> log;
    unsigned pages = kPageSelect;
    int optionsShown = 0;
    int navReleases = 0;
    bool activeViewport = true;
    bool vertices = false;
    int shownLevel = 0;
};

class RedrawCounter : public rgDocumentView {
public:
    void SetUndoItem(bool, const std::string& caption) override { undoCaption = caption; }
    void RedrawViewports() override { ++redraws; }
    std::string undoCaption = "Can't Undo";
    int redraws = 0;
};

// Each node in walk order: depth, class, name, flags, local matrix; joints
// add number and offset, meshes their vertex positions. Two scenes that read
// the same are the same to a user.
inline std::string SceneText(rgScene& scene, bool withSelection = true) {
    std::string out;
    char buf[128];
    scene.ForEach([&](rgSceneNode* node) {
        int depth = 0;
        for (rgSceneNode* n = node->GetParent(); n && n->GetParent(); n = n->GetParent()) ++depth;
        out += std::string(static_cast<size_t>(depth), ' ') + node->GetClassName() + " " +
               node->GetName() + (withSelection && node->GetSelected() ? " sel" : "") +
               (node->IsVisible() ? "" : " hidden");
        const matrix44& m = node->IsBone() ? ToBone(node)->GetLocalMatrix() : node->GetMatrix();
        for (float f : m.m) {
            std::snprintf(buf, sizeof buf, " %.6g", f);
            out += buf;
        }
        if (rgBone* joint = ToBone(node)) {
            out += " id " + std::to_string(joint->GetId());
            for (float f : joint->GetOffsetMatrix().m) {
                std::snprintf(buf, sizeof buf, " %.6g", f);
                out += buf;
            }
        }
        if (rgMesh* mesh = ToMesh(node)) {
            for (int i = 0; i < mesh->GetVertexCount(); ++i) {
                const vector3& p = mesh->GetVertex(i)->position;
                std::snprintf(buf, sizeof buf, " (%.6g %.6g %.6g)", p.x, p.y, p.z);
                out += buf;
            }
        }
        out += "\n";
    });
    return out;
}

// A fresh editor with the tool view and a front view of 202 x 202 client
// pixels at zoom 0.1: 10 pixels per unit, the origin under pixel (101, 101).
// Mouse events go through the handlers the tool manager installed, as a
// viewport window sends them.
class ToolTest : public ::testing::Test {
protected:
    static constexpr int kSize = 202;
    static constexpr int kCentre = 101;

    ToolTest() {
        editor.context.SetJointTree(&tree);
        editor.SetDocumentView(&docView);
        tools().SetView(&toolView);
        viewport.state.projection = kProjFront;
        viewport.state.orthoView.set(0, 0, 0.1f);
    }
    ~ToolTest() override {
        editor.scene().Clear();
        editor.context.SetJointTree(nullptr);
    }

    rgToolManager& tools() { return editor.tools(); }
    rgScene& scene() { return editor.scene(); }
    rgState& state() { return editor.state(); }

    // Client pixel of a world point in the front view.
    static int PX(float x) { return kCentre + static_cast<int>(x * 10); }
    static int PY(float y) { return kCentre - static_cast<int>(y * 10); }

    void Press(int x, int y, int shift = 0, int button = kMouseLeft) {
        if (toolView.handlers.mouseDown)
            toolView.handlers.mouseDown(button, shift | kLeftButtonHeld, x, y, viewport);
    }
    void Move(int x, int y, int shift = 0) {
        if (toolView.handlers.mouseMove) toolView.handlers.mouseMove(shift, x, y, viewport);
    }
    void Release(int x, int y, int shift = 0, int button = kMouseLeft) {
        if (toolView.handlers.mouseUp) toolView.handlers.mouseUp(button, shift, x, y, viewport);
    }
    void Click(int x, int y, int shift = 0) {
        Press(x, y, shift);
        Release(x, y, shift);
    }
    void Drag(int x1, int y1, int x2, int y2, int shift = 0) {
        Press(x1, y1, shift);
        Move(x2, y2, shift);
        Release(x2, y2, shift);
    }

    rgBone* AddJoint(rgSceneNode* parent, vector3 at) {
        rgBone* joint = scene().CreateBone();
        joint->GetLocalMatrix().translate(at.x, at.y, at.z);
        (parent ? parent : scene().GetRootNode())->AttachChild(joint);
        return joint;
    }
    // A square of side `size` centred on (cx, cy) facing the front view, at depth z.
    rgMesh* AddSquare(float cx, float cy, float z, float size = 4) {
        rgMesh* mesh = scene().CreateMesh();
        scene().GetRootNode()->AttachChild(mesh);
        const float h = size / 2;
        const vector3 corners[4] = {
            {cx - h, cy - h, z}, {cx + h, cy - h, z}, {cx + h, cy + h, z}, {cx - h, cy + h, z}};
        for (const vector3& c : corners) {
            rgVertex v;
            v.position = c;
            mesh->AddVertex(v, false);
        }
        mesh->AddFace(0, 1, 2);
        mesh->AddFace(0, 2, 3);
        return mesh;
    }
    vector3 WorldPosition(rgSceneNode* node) {
        scene().UpdateScene();
        return node->GetGlobalMatrix().pos_component();
    }

    // The pixel of a point on a handle of `node`: 80 % along an axis, or the
    // centre; the axis is the node's own unless the gizmo is world-aligned.
    rgPixel Handle(rgSceneNode* node, int axis) {
        scene().UpdateScene();
        const matrix44& g = node->GetGlobalMatrix();
        const vector3 p = g.pos_component();
        if (axis == kAxisCentre) return viewport.PixelOf(p);
        const float length = GizmoLength(ViewMatrix(viewport.state), p);
        const bool world = GizmoWorldAligned(tools().GizmoOptions(), node->IsBone());
        vector3 dir = world ? vector3(axis == 0, axis == 1, axis == 2)
                            : (axis == 0   ? g.x_component()
                               : axis == 1 ? g.y_component()
                                           : g.z_component());
        dir.norm();
        return viewport.PixelOf(p + dir * (0.8f * length));
    }
    void PressAndRelease(rgSceneNode* node, int axis) {
        const rgPixel h = Handle(node, axis);
        Press(h.x, h.y);
        Release(h.x, h.y);
    }
    // A press on a handle, `steps` moves that add up to (dx, dy), a release.
    void DragHandle(rgSceneNode* node, int axis, int dx, int dy, int steps = 1) {
        const rgPixel h = Handle(node, axis);
        Press(h.x, h.y);
        for (int i = 1; i <= steps; ++i) Move(h.x + dx * i / steps, h.y + dy * i / steps);
        Release(h.x + dx, h.y + dy);
    }

    RecordingJointTree tree;
    RedrawCounter docView;
    RecordingToolView toolView;
    rgEditor editor;
    FakeToolViewport viewport{kSize, kSize, editor.tools()};
};

inline ::testing::AssertionResult Near(const vector3& a, const vector3& b, float tol = 1e-4f) {
    if (a.isequal(b, tol)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ") vs ("
                                         << b.x << ", " << b.y << ", " << b.z << ")";
}
