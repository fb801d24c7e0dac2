#pragma once

#include <vector>

#include "core/matrix44.h"
#include "scene/node_painter.h"
#include "viewport/gizmo_shape.h"
#include "viewport/selection_buffer.h"
#include "viewport/viewport_state.h"

// Node hit tests through the selection-mode emulator: what nodes "draw" in
// selection mode inside a viewport's Pick. One name per test, as the node
// routines use; every test starts a fresh pass.
class rgSelectionPicker : public rgNodePicker {
public:
    // view: the viewport's modelview; projection: the pick projection
    // (projection with the pick matrix applied); cullBackFaces: the
    // viewport's face culling (its "Draw Backfaces" item unticked).
    // `jointProjection`: the pick projection joints are tested with (none:
    // `projection`).
    rgSelectionPicker(const matrix44& view, const matrix44& projection,
                      const rgViewportRect& viewport, bool cullBackFaces,
                      const rgGizmoOptions& gizmo = {}, const matrix44* jointProjection = nullptr);

    // The picker a viewport's Pick sets up: the view of `state`, the region
    // of w x h client pixels (0 counts as 5) centred on client pixel (x, y)
    // (y downward), culling as the state draws. A click (w = h = 0) hits
    // joints within kJointPickPixels: a joint is drawn as a dot, and a click
    // on the dot (or a few pixels beside it) takes it.
    static constexpr int kJointPickPixels = 12;
    static rgSelectionPicker ForRegion(const rgViewportState& state, int clientWidth,
                                       int clientHeight, int x, int y, int w, int h,
                                       const rgGizmoOptions& gizmo = {});

    void PushMatrix(const matrix44& m) override;
    void PopMatrix() override;
    bool PickMesh(rgMesh& mesh, int mode, int shift) override;
    bool PickJoint(rgBone& joint, int mode, int shift) override;
    bool PickGizmo(rgSceneNode& node) override;

    // Records of the last test (at most one: one name).
    const std::vector<rgHitRecord>& LastRecords() const { return buffer_.Records(); }

    // Normalised depth of a record: its minimum window depth x 2^-31.
    static float NormalisedDepth(const rgHitRecord& record);

private:
    // Starts a test under `model` (relative to the view) with one name.
    void BeginTest(const matrix44& model);
    bool EndTest();
    const matrix44& Top() const { return stack_.back(); }

    rgSelectionBuffer buffer_;
    matrix44 projection_;       // what meshes and handles are tested with
    matrix44 jointProjection_;  // the same region, widened for joints
    rgViewportRect viewport_;
    rgGizmoOptions gizmo_;
    std::vector<matrix44> stack_;  // model-view; the first entry is the view
};
