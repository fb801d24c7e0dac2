#include "editing/tool_manager.h"

#include "editing/animation_control.h"
#include "editing/rg_bone_create.h"
#include "editing/rg_bone_rotate.h"
#include "editing/rg_bone_translate.h"
#include "editing/rg_editor.h"
#include "editing/rg_ik_move.h"
#include "editing/rg_node_attach.h"
#include "editing/rg_object_prop.h"
#include "editing/rg_rotate.h"
#include "editing/rg_scale.h"
#include "editing/rg_select.h"
#include "editing/rg_translate.h"
#include "editing/rg_vertex_assign.h"
#include "editing/tool_table.h"
#include "scene/rg_scene.h"

namespace {

int Index(rgToolButton button) {
    return static_cast<int>(button);
}

bool IsButton(rgToolButton button) {
    return Index(button) >= 0 && Index(button) < kToolButtonCount;
}

// The tools that hold nodes of the scene and take them afresh after undo.
constexpr rgToolButton kSceneHoldingTools[] = {
    rgToolButton::EditCreateBone, rgToolButton::EditVertexAssign, rgToolButton::AnimateIK,
    rgToolButton::EditObjectProperties};

template <typename Stack, typename Handler>
void Push(Stack& stack, Handler& current, const Handler& handler) {
    stack.push_back(current);
    current = handler;
}

template <typename Stack, typename Handler>
void Pop(Stack& stack, Handler& current) {
    if (stack.empty()) return;
    current = stack.back();
    stack.pop_back();
}

}  // namespace

rgToolManager::rgToolManager(rgEditor& editor)
    : editor_(editor),
      select_(std::make_unique<rgSelect>(*this)),
      translate_(std::make_unique<rgTranslate>(*this)),
      rotate_(std::make_unique<rgRotate>(*this)),
      scale_(std::make_unique<rgScale>(*this)),
      boneCreate_(std::make_unique<rgBoneCreate>(*this)),
      nodeAttach_(std::make_unique<rgNodeAttach>(*this)),
      vertexAssign_(std::make_unique<rgVertexAssign>(*this)),
      objectProp_(std::make_unique<rgObjectProp>(*this)),
      boneTranslate_(std::make_unique<rgBoneTranslate>(*this)),
      boneRotate_(std::make_unique<rgBoneRotate>(*this)),
      ikMove_(std::make_unique<rgIKMove>(*this)) {}

rgToolManager::~rgToolManager() = default;

rgSelect* rgToolManager::ToolOf(rgToolButton button) const {
    switch (button) {
        case rgToolButton::EditSelect:
        case rgToolButton::AnimateSelect:
            return select_.get();
        case rgToolButton::EditTranslate:
            return translate_.get();
        case rgToolButton::EditRotate:
            return rotate_.get();
        case rgToolButton::EditScale:
            return scale_.get();
        case rgToolButton::EditCreateBone:
            return boneCreate_.get();
        case rgToolButton::AttachJoints:
            return nodeAttach_.get();
        case rgToolButton::EditVertexAssign:
            return vertexAssign_.get();
        case rgToolButton::EditObjectProperties:
            return objectProp_.get();
        case rgToolButton::AnimateTranslate:
            return boneTranslate_.get();
        case rgToolButton::AnimateRotate:
            return boneRotate_.get();
        case rgToolButton::AnimateIK:
            return ikMove_.get();
        default:
            return nullptr;
    }
}

bool rgToolManager::IsDown(rgToolButton button) const {
    return IsButton(button) && down_[Index(button)];
}

rgToolButton rgToolManager::ActiveButton() const {
    for (int i = 0; i < kToolButtonCount; ++i)
        if (down_[i]) return static_cast<rgToolButton>(i);
    return rgToolButton::None;
}

void rgToolManager::Click(rgToolButton button) {
    if (!IsButton(button)) return;
    if (down_[Index(button)]) {
        down_[Index(button)] = false;
        view_->ShowToolButton(button, false);
        Deactivate(button);
    } else if (IsAvailable(button) && !editor_.state().playing) {
        down_[Index(button)] = true;
        view_->ShowToolButton(button, true);
        Activate(button);
    }
}

void rgToolManager::SetDown(rgToolButton button, bool down) {
    if (IsDown(button) != down) Click(button);
}

void rgToolManager::RightClick(rgToolButton button) {
    if (!IsDown(button)) Click(button);
    view_->ShowToolOptionsWindow();
}

void rgToolManager::DeactivateOtherTools(rgToolButton except) {
    for (int i = 0; i < kToolButtonCount; ++i) {
        const auto button = static_cast<rgToolButton>(i);
        if (down_[i] && button != except) Click(button);
    }
    RedrawViewports();
}

void rgToolManager::NavigationChosen() {
    DeactivateOtherTools(rgToolButton::None);
}

void rgToolManager::Activate(rgToolButton button) {
    const rgToolSpec& spec = *ToolSpec(button);
    rgSelect& tool = *ToolOf(button);
    view_->ReleaseNavigationButtons();
    DeactivateOtherTools(button);
    ShowPages(spec.pages);
    tool.Activate();
    const rgToolHandlers handlers = tool.Handlers();
    PushMouseDown(handlers.mouseDown);
    PushMouseUp(handlers.mouseUp);
    PushMouseMove(handlers.mouseMove);
    view_->ShowVertices(button == rgToolButton::EditVertexAssign);
    editor_.state().showHandles = spec.handles;
    RedrawViewports();
    view_->SetToolStatusText(spec.statusText);
}

void rgToolManager::Deactivate(rgToolButton button) {
    const rgToolSpec& spec = *ToolSpec(button);
    PopMouseDown();
    PopMouseUp();
    PopMouseMove();
    editor_.state().showHandles = false;
    HidePages(spec.pages & ~kPageSelect);
    if (spec.clearStatus) view_->SetToolStatusText("");
    if (rgSelect* tool = ToolOf(button)) tool->Deactivate();
    view_->ShowVertices(false);
}

void rgToolManager::ShowPages(unsigned pages) {
    pages_ |= pages;
    view_->ShowToolPages(pages_);
}

void rgToolManager::HidePages(unsigned pages) {
    pages_ &= ~pages;
    pages_ |= kPageSelect;
    view_->ShowToolPages(pages_);
}

void rgToolManager::ChangeLevel(int level) {
    rgState& state = editor_.state();
    rgScene& scene = editor_.scene();
    scene.InvalidateSkins();
    state.editLevel = level == kEditAnimation ? kEditAnimation : kEditObjects;
    const rgToolButton was = ActiveButton();
    rgToolButton next;
    if (state.editLevel == kEditAnimation) {
        scene.ForEach([](rgSceneNode* node) {
            if (node->IsMesh()) node->SetSelected(false);
        });
        next = was == rgToolButton::EditTranslate ? rgToolButton::AnimateTranslate
               : was == rgToolButton::EditRotate  ? rgToolButton::AnimateRotate
                                                  : rgToolButton::AnimateSelect;
    } else {
        editor_.animation().Stop();
        next = was == rgToolButton::AnimateTranslate ? rgToolButton::EditTranslate
               : was == rgToolButton::AnimateRotate  ? rgToolButton::EditRotate
                                                     : rgToolButton::EditSelect;
    }
    view_->ShowEditLevel(state.editLevel);
    // A tool of the new level that is not available yet leaves the select tool.
    if (!IsAvailable(next))
        next = state.editLevel == kEditAnimation ? rgToolButton::AnimateSelect
                                                 : rgToolButton::EditSelect;
    SetDown(next, true);
    RedrawViewports();
}

void rgToolManager::SetCoordSystem(int system) {
    coordSystem = system == kCoordGlobal ? kCoordGlobal : kCoordLocal;
    RedrawViewports();
}

rgGizmoOptions rgToolManager::GizmoOptions() const {
    rgGizmoOptions options;
    options.globalAxes = coordSystem == kCoordGlobal;
    options.ikToolDown = IsDown(rgToolButton::AnimateIK);
    options.scaleToolDown = IsDown(rgToolButton::EditScale);
    return options;
}

void rgToolManager::TranslateSelection(float x, float y, float z) {
    if (editor_.state().editLevel == kEditAnimation)
        boneTranslate_->TranslateBy(x, y, z);
    else
        translate_->TranslateBy(x, y, z);
}

void rgToolManager::RotateSelection(float x, float y, float z) {
    if (editor_.state().editLevel == kEditAnimation)
        boneRotate_->RotateBy(x, y, z);
    else
        rotate_->RotateBy(x, y, z);
}

void rgToolManager::ScaleSelection(float x, float y, float z) {
    scale_->ScaleBy(x, y, z);
    editor_.scene().InvalidateSkins();
    RedrawViewports();
}

void rgToolManager::InstallHandlers() {
    view_->InstallToolHandlers(current_);
}

void rgToolManager::PushMouseDown(const decltype(rgToolHandlers::mouseDown)& handler) {
    Push(downStack_, current_.mouseDown, handler);
    InstallHandlers();
}

void rgToolManager::PushMouseUp(const decltype(rgToolHandlers::mouseUp)& handler) {
    Push(upStack_, current_.mouseUp, handler);
    InstallHandlers();
}

void rgToolManager::PushMouseMove(const decltype(rgToolHandlers::mouseMove)& handler) {
    Push(moveStack_, current_.mouseMove, handler);
    InstallHandlers();
}

void rgToolManager::PopMouseDown() {
    Pop(downStack_, current_.mouseDown);
    InstallHandlers();
}

void rgToolManager::PopMouseUp() {
    Pop(upStack_, current_.mouseUp);
    InstallHandlers();
}

void rgToolManager::PopMouseMove() {
    Pop(moveStack_, current_.mouseMove);
    InstallHandlers();
}

std::array<int, 3> rgToolManager::StackDepths() const {
    return {static_cast<int>(downStack_.size()), static_cast<int>(upStack_.size()),
            static_cast<int>(moveStack_.size())};
}

void rgToolManager::RedrawViewports() {
    editor_.view().RedrawViewports();
}

std::array<rgSelect*, 11> rgToolManager::AllTools() const {
    return {select_.get(),        translate_.get(),  rotate_.get(),       scale_.get(),
            boneCreate_.get(),    nodeAttach_.get(), vertexAssign_.get(), objectProp_.get(),
            boneTranslate_.get(), boneRotate_.get(), ikMove_.get()};
}

void rgToolManager::ForgetNode(rgSceneNode* node) {
    for (rgSelect* tool : AllTools()) tool->ForgetNode(node);
}

void rgToolManager::SetPageVisible(unsigned page, bool visible) {
    if (visible)
        ShowPages(page);
    else
        HidePages(page);
}

void rgToolManager::ResetNodeReferences() {
    for (rgSelect* tool : AllTools()) tool->ForgetNodes();
}

void rgToolManager::ReactivateSceneTools() {
    // The restored scene has new nodes: forget the old ones first.
    ResetNodeReferences();
    for (rgToolButton button : kSceneHoldingTools) {
        if (!IsDown(button)) continue;
        Click(button);
        Click(button);
    }
}
