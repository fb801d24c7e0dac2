#include "editing/key_browser.h"

#include <algorithm>
#include <numbers>

#include "editing/animation_control.h"
#include "editing/rg_editor.h"
#include "scene/rg_bone.h"
#include "scene/rg_scene.h"

void rgKeyBrowser::Open(rgBone* joint) {
    joints_.clear();
    editor_.scene().ForEach([&](rgSceneNode* node) {
        if (rgBone* j = ToBone(node)) joints_.push_back(j);
    });
    const auto it = std::find(joints_.begin(), joints_.end(), joint);
    joint_ = it != joints_.end() ? joint : (joints_.empty() ? nullptr : joints_.front());
    index_ = 0;
    KeyShown();
}

int rgKeyBrowser::JointIndex() const {
    const auto it = std::find(joints_.begin(), joints_.end(), joint_);
    return it != joints_.end() ? static_cast<int>(it - joints_.begin()) : -1;
}

void rgKeyBrowser::ChooseJoint(int index) {
    joint_ = index >= 0 && index < static_cast<int>(joints_.size())
                 ? joints_[static_cast<size_t>(index)]
                 : nullptr;
    index_ = 0;
    KeyShown();
}

void rgKeyBrowser::NextKey() {
    if (!joint_) return;
    index_ = std::max(0, std::min(index_ + 1, joint_->GetKeyCount() - 1));
    KeyShown();
}

void rgKeyBrowser::PreviousKey() {
    if (!joint_) return;
    index_ = std::max(index_ - 1, 0);
    KeyShown();
}

rgKeyframe* rgKeyBrowser::CurrentKey() const {
    return joint_ ? joint_->GetKey(index_) : nullptr;
}

rgKeyInfo rgKeyBrowser::Shown() const {
    rgKeyInfo info;
    const rgKeyframe* key = CurrentKey();
    if (!key) {
        const bool noKeys = joint_ != nullptr;
        info.keyLabel = noKeys ? "n/a (no keys))" : "n/a";
        info.frameLabel = noKeys ? "n/a (no keys)" : "n/a";
        return info;
    }
    info.hasKey = true;
    info.keyLabel = std::to_string(index_ + 1) + "/" + std::to_string(joint_->GetKeyCount());
    info.frameLabel =
        std::to_string(key->frame) + "/" + std::to_string(editor_.state().totalFrames);
    info.translation = key->matrix.pos_component();
    const vector3 e = key->matrix.get_eulers();
    const float toDegrees = static_cast<float>(180.0 / std::numbers::pi);
    info.rotation.set(e.x * toDegrees, e.y * toDegrees, e.z * toDegrees);
    info.transTcb = key->trans_tcb;
    info.rotTcb = key->rot_tcb;
    return info;
}

void rgKeyBrowser::KeyShown() {
    const rgKeyframe* key = CurrentKey();
    if (!key || editor_.state().editLevel != kEditAnimation) return;
    editor_.animation().GoToFrame(key->frame);
    editor_.view().RedrawViewports();
}

void rgKeyBrowser::SetTranslation(const vector3& t) {
    rgKeyframe* key = CurrentKey();
    if (!key) return;
    key->matrix.clear_translation();
    key->matrix.translate(t.x, t.y, t.z);
    editor_.view().RedrawViewports();
}

void rgKeyBrowser::SetTranslationTcb(const vector3& tcb) {
    if (rgKeyframe* key = CurrentKey()) {
        key->trans_tcb = tcb;
        editor_.view().RedrawViewports();
    }
}

void rgKeyBrowser::SetRotationTcb(const vector3& tcb) {
    if (rgKeyframe* key = CurrentKey()) {
        key->rot_tcb = tcb;
        editor_.view().RedrawViewports();
    }
}
