#include "viewport/selection_picker.h"

#include <algorithm>

#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"

rgSelectionPicker::rgSelectionPicker(const matrix44& view, const matrix44& projection,
                                     const rgViewportRect& viewport, bool cullBackFaces,
                                     const rgGizmoOptions& gizmo, const matrix44* jointProjection)
    : projection_(projection),
      jointProjection_(jointProjection ? *jointProjection : projection),
      viewport_(viewport),
      gizmo_(gizmo),
      stack_{view} {
    buffer_.SetProjection(projection);
    buffer_.SetCulling(cullBackFaces);
    // Viewport contexts draw filled polygons with offset (1, 1), which
    // selection mode applies too.
    buffer_.SetPolygonOffset(true, 1.0f, 1.0f, 0.0f);
}

rgSelectionPicker rgSelectionPicker::ForRegion(const rgViewportState& state, int clientWidth,
                                               int clientHeight, int x, int y, int w, int h,
                                               const rgGizmoOptions& gizmo) {
    const rgViewportRect area = DrawingRect(clientWidth, clientHeight);
    const float pw = w == 0 ? 5.0f : static_cast<float>(w);
    const float ph = h == 0 ? 5.0f : static_cast<float>(h);
    const auto region = [&](float width, float height) {
        return ProjectionMatrix(state.projection, ViewportAspect(clientWidth, clientHeight)) *
               PickMatrix(static_cast<float>(x), static_cast<float>(clientHeight - y), width,
                          height, area);
    };
    // A click takes a joint near its dot; a frame takes what lies inside it.
    const float joint = w == 0 && h == 0 ? static_cast<float>(kJointPickPixels) : 0.0f;
    const matrix44 jointProjection = region(std::max(pw, joint), std::max(ph, joint));
    return rgSelectionPicker(ViewMatrix(state), region(pw, ph), area, !state.drawBackfaces, gizmo,
                             &jointProjection);
}

float rgSelectionPicker::NormalisedDepth(const rgHitRecord& record) {
    return static_cast<float>(record.minDepth) * (1.0f / 2147483648.0f);
}

void rgSelectionPicker::PushMatrix(const matrix44& m) {
    stack_.push_back(m * Top());
}

void rgSelectionPicker::PopMatrix() {
    if (stack_.size() > 1) stack_.pop_back();
}

void rgSelectionPicker::BeginTest(const matrix44& modelview) {
    buffer_.SetModelview(modelview);
    buffer_.Begin(viewport_);
    buffer_.InitNames();
    buffer_.PushName(1);
}

bool rgSelectionPicker::EndTest() {
    return buffer_.End() > 0;
}

bool rgSelectionPicker::PickMesh(rgMesh& mesh, int mode, int shift) {
    if (mode == kPickVertices) {
        // Each visible source vertex is a test of its own.
        for (int i = 0; i < mesh.GetVertexCount(); ++i) {
            rgVertex* v = mesh.GetVertex(i);
            if (!v->visible) continue;
            BeginTest(Top());
            buffer_.Point(v->position);
            const bool hit = EndTest();
            if (shift & kCtrlKey) {
                if (hit) v->selected = true;
            } else if (shift & kAltKey) {
                if (hit) v->selected = false;
            } else if (!(shift & kShiftKey)) {
                v->selected = hit;
            }
        }
        return false;
    }

    static_assert(sizeof(rgFace) == 3 * sizeof(int32_t), "faces are index triples");
    const std::vector<vector3>& positions = mesh.DeformedPositions();
    BeginTest(Top());
    vector3 lo, hi;
    if (!mesh.DeformedBounds(lo, hi) || buffer_.BoxOutside(lo, hi)) {
        EndTest();
        return false;
    }
    buffer_.Triangles(positions.data(), positions.size(),
                      reinterpret_cast<const int32_t*>(mesh.Faces().data()), mesh.Faces().size());
    if (!EndTest()) return false;
    if (!hits_ || !hits_->singleClick) return true;
    // A single click keeps only the nearest mesh.
    const float depth = NormalisedDepth(buffer_.Records().front());
    if (depth < hits_->nearestMeshDepth || hits_->entries.empty()) {
        hits_->nearestMeshDepth = depth;
        hits_->entries.push_back({&mesh, mesh.GetSelected()});
        return true;
    }
    return false;
}

bool rgSelectionPicker::PickJoint(rgBone& joint, int, int) {
    buffer_.SetProjection(jointProjection_);
    BeginTest(Top());
    buffer_.Point(vector3(0, 0, 0));
    const bool hit = EndTest();
    buffer_.SetProjection(projection_);
    if (!hit) return false;
    if (hits_) hits_->entries.push_back({&joint, joint.GetSelected()});
    return true;
}

bool rgSelectionPicker::PickGizmo(rgSceneNode& node) {
    if (!node.GetScene()) return false;
    rgState& state = node.GetScene()->context().state;
    const matrix44& view = stack_.front();
    const matrix44 frame =
        GizmoFrame(node.GetGlobalMatrix(), GizmoWorldAligned(gizmo_, node.IsBone()));
    const float length = GizmoLength(view, node.GetGlobalMatrix().pos_component());
    const matrix44 modelview = frame * Top();

    bool any = false;
    for (int axis = 0; axis < 3; ++axis) {
        BeginTest(modelview);
        vector3 end(0, 0, 0);
        (axis == 0 ? end.x : axis == 1 ? end.y : end.z) = length;
        buffer_.Line(vector3(0, 0, 0), end);
        const rgTriangleList head = GizmoArrowhead(axis, length);
        buffer_.Triangles(head.positions.data(), head.positions.size(), head.corners.data(),
                          head.corners.size() / 3);
        if (!EndTest()) continue;
        any = true;
        const float depth = NormalisedDepth(buffer_.Records().front());
        if (depth < state.bestAxisDepth) {
            state.bestAxisDepth = depth;
            state.activeAxis = axis;
        }
    }
    BeginTest(modelview);
    const rgTriangleList sphere = SphereTriangles(0.1f * length, 10, 10);
    buffer_.Triangles(sphere.positions.data(), sphere.positions.size(), sphere.corners.data(),
                      sphere.corners.size() / 3);
    if (EndTest()) {
        any = true;
        state.activeAxis = kAxisCentre;
    }
    return any;
}
