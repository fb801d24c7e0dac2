#include "editing/rg_select.h"

#include <algorithm>

#include "editing/rg_editor.h"
#include "editing/selection_snapshot.h"
#include "editing/tool_manager.h"
#include "scene/rg_bone.h"
#include "scene/rg_scene.h"

namespace {
constexpr float kNoAxisDepth = 10000000.0f;
}

rgSelect::rgSelect(rgToolManager& owner) : owner_(owner) {}

rgSelect::~rgSelect() = default;

rgEditor& rgSelect::editor() const {
    return owner_.editor();
}
rgScene& rgSelect::scene() const {
    return owner_.editor().scene();
}
rgState& rgSelect::state() const {
    return owner_.editor().state();
}

rgToolHandlers rgSelect::Handlers() {
    rgToolHandlers h;
    h.mouseDown = [this](int button, int s, int x, int y, rgToolViewport& v) {
        MouseDown(button, s, x, y, v);
    };
    h.mouseUp = [this](int button, int s, int x, int y, rgToolViewport& v) {
        MouseUp(button, s, x, y, v);
    };
    h.mouseMove = [this](int s, int x, int y, rgToolViewport& v) { MouseMove(s, x, y, v); };
    return h;
}

bool rgSelect::PickNode(rgSceneNode* node, rgNodePicker& picker) {
    const rgToolOptions& options = editor().toolOptions;
    const bool meshesEnabled = state().editLevel == kEditObjects;
    if ((node->IsMesh() && options.selectMeshes && meshesEnabled) ||
        (node->IsBone() && options.selectJoints))
        return node->Pick(picker, kPickObjects, shift);
    // Not drawn: the rest of the pass leaves its selection as it is.
    return node->GetSelected();
}

void rgSelect::ApplySelection(rgSceneNode* node) {
    const bool p = node->picked;
    const bool s = node->GetSelected();
    if (shift & kCtrlKey) {
        if (p && !s) {
            node->SetSelected(true);
            changed = true;
        }
    } else if (shift & kAltKey) {
        editor().MarkModified();
        const rgToolOptions& options = editor().toolOptions;
        const bool selectable =
            (node->IsMesh() && options.selectMeshes) || (node->IsBone() && options.selectJoints);
        if (p && s && selectable) {
            node->SetSelected(false);
            changed = true;
        }
    } else if (shift & kShiftKey) {
        // The selection is locked.
    } else if (s != p) {
        node->SetSelected(p);
        changed = true;
    }
}

void rgSelect::PickRegion(const rgToolEvent& event, int& x, int& y, int& w, int& h) const {
    if (!regionActive) {
        x = event.x;
        y = event.y;
        w = h = 0;
        return;
    }
    const int x1 = std::min(pressPoint.x, dragPoint.x), x2 = std::max(pressPoint.x, dragPoint.x);
    const int y1 = std::min(pressPoint.y, dragPoint.y), y2 = std::max(pressPoint.y, dragPoint.y);
    w = x2 - x1;
    h = y2 - y1;
    x = x1 + w / 2;
    y = y1 + h / 2;
}

bool rgSelect::PickTest(rgSceneNode* node, const rgToolEvent& event) {
    int x, y, w, h;
    PickRegion(event, x, y, w, h);
    const bool hit = event.viewport->Pick(x, y, w, h, [&](rgNodePicker& picker) {
        picker.SetPickHits(&hits_);
        return PickNode(node, picker);
    });
    node->picked = hit;
    return hit;
}

void rgSelect::AfterSelection(rgSceneNode* node) {
    if (rgBone* joint = ToBone(node)) joint->parentselected = joint->CheckParentSelection();
}

bool rgSelect::PickHandles(rgSceneNode* node, const rgToolEvent& event) {
    // Only selected nodes show handles; the others need no pick set-up.
    if (!state().showHandles || !node->GetSelected()) return false;
    int x, y, w, h;
    PickRegion(event, x, y, w, h);
    return event.viewport->Pick(
        x, y, w, h, [&](rgNodePicker& picker) { return DrawHandlesForPick(node, picker); });
}

bool rgSelect::DrawHandlesForPick(rgSceneNode* node, rgNodePicker& picker) {
    return node->PickAxis(picker);
}

void rgSelect::ClearPick(rgSceneNode* node) {
    node->picked = false;
}

void rgSelect::DrawOverlay(rgToolViewport& viewport, int, int) {
    if (regionActive) viewport.ShowFrameRect(pressPoint.x, pressPoint.y, dragPoint.x, dragPoint.y);
}

void rgSelect::MouseDown(int, int, int x, int y, rgToolViewport&) {
    pressPoint = dragPoint = {x, y};
    regionActive = regionEnabled;
    changed = false;
}

void rgSelect::MouseMove(int, int x, int y, rgToolViewport& viewport) {
    owner_.RedrawViewports();
    dragPoint = {x, y};
    DrawOverlay(viewport, x, y);
}

void rgSelect::MouseUp(int, int s, int x, int y, rgToolViewport& viewport) {
    SelectionPass({x, y, s, &viewport});
}

bool rgSelect::PickAllHandles(const rgToolEvent& event) {
    state().bestAxisDepth = kNoAxisDepth;
    state().activeAxis = kAxisNone;
    scene().ForEach([&](rgSceneNode* node) { PickHandles(node, event); });
    return state().activeAxis != kAxisNone;
}

bool rgSelect::PressOnHandle(int button, int s, int x, int y, rgToolViewport& viewport) {
    regionActive = false;  // the handle pick looks at the press point only
    if (PickAllHandles({x, y, s, &viewport})) return true;
    rgSelect::MouseDown(button, s, x, y, viewport);
    return false;
}

void rgSelect::ChooseSingleClickNode() {
    std::vector<rgPickHits::Entry>& entries = hits_.entries;
    if (entries.empty()) return;
    // The last joint reached by the walk, else the nearest mesh (the last recorded).
    size_t chosen = entries.size() - 1;
    for (size_t i = entries.size(); i-- > 0;) {
        if (entries[i].node->IsBone()) {
            chosen = i;
            break;
        }
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i == chosen) continue;
        entries[i].node->SetSelected(entries[i].wasSelected);
        entries[i].node->picked = false;
    }
}

void rgSelect::SelectionPass(const rgToolEvent& event) {
    shift = event.shift;
    changed = false;
    scene().UpdateScene();
    const rgSelectionSnapshot before = rgSelectionSnapshot::Take(scene());

    if (!PickAllHandles(event)) {
        const bool click = !regionActive || (rgPixel{event.x, event.y} == pressPoint);
        hits_.Reset(click);
        scene().ForEach([&](rgSceneNode* node) { PickTest(node, event); });
        if (hits_.singleClick) ChooseSingleClickNode();
    } else {
        state().activeAxis = kAxisNone;
        scene().ForEach([&](rgSceneNode* node) { ClearPick(node); });
    }

    scene().ForEach([&](rgSceneNode* node) { ApplySelection(node); });
    scene().ForEach([&](rgSceneNode* node) { AfterSelection(node); });
    // A pass that changed nothing leaves no step (the document still counts
    // as modified, as recording the step would have made it).
    if (changed)
        RecordSelectionStep(editor(), before, "Change Selection");
    else
        editor().MarkModified();

    ShowJointSelectionInTree();
    owner_.RedrawViewports();
    regionActive = false;
}

void rgSelect::ShowJointSelectionInTree() {
    rgSceneContext& context = scene().context();
    rgTreeChangeGuard guard(context);
    rgJointTree& tree = context.tree();
    scene().ForEach([&](rgSceneNode* node) {
        if (node->IsBone() && tree.HasItem(node)) tree.SetItemSelected(node, node->GetSelected());
    });
}

bool rgSelect::InSubtree(const rgSceneNode* node, const rgSceneNode* root) {
    for (const rgSceneNode* n = node; n; n = n->Parent())
        if (n == root) return true;
    return false;
}
