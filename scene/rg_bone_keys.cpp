// The key list of a joint: kept sorted by frame; one key per frame in normal use.
#include <algorithm>
#include <unordered_map>

#include "scene/rg_bone.h"

rgKeyframe* rgBone::GetKey(int i) const {
    return i >= 0 && static_cast<size_t>(i) < keys_.size() ? keys_[static_cast<size_t>(i)].get()
                                                           : nullptr;
}

rgKeyframe* rgBone::GetKeyAt(int frame) const {
    for (const auto& key : keys_)
        if (key->frame == frame) return key.get();
    return nullptr;
}

matrix44* rgBone::GetKeyMatrix(int frame) const {
    rgKeyframe* key = GetKeyAt(frame);
    return key ? &key->matrix : nullptr;
}

void rgBone::SetKey(int frame, const matrix44& matrix, float tt, float tc, float tb, float rt,
                    float rc, float rb) {
    rgKeyframe* key = GetKeyAt(frame);
    const bool added = key == nullptr;
    if (added) {
        keys_.push_back(std::make_unique<rgKeyframe>());
        key = keys_.back().get();
        key->frame = frame;
    }
    key->matrix = matrix;
    key->trans_tcb.set(tt, tc, tb);
    key->rot_tcb.set(rt, rc, rb);
    if (added) SortKeys();
}

void rgBone::SetKeyFromOffset(int frame) {
    // An existing key is overwritten in place, so it keeps its list position
    // and a script holding it still holds a valid key.
    if (rgKeyframe* key = GetKeyAt(frame)) {
        *key = rgKeyframe{};
        key->frame = frame;
        key->matrix = offset_;
        return;
    }
    auto key = std::make_unique<rgKeyframe>();
    key->frame = frame;
    key->matrix = offset_;
    keys_.push_back(std::move(key));
    SortKeys();
}

void rgBone::DeleteKeyIndex(int i) {
    if (i < 0 || static_cast<size_t>(i) >= keys_.size()) return;
    NotifyDestroyed(keys_[static_cast<size_t>(i)].get());
    keys_.erase(keys_.begin() + i);
}

void rgBone::DeleteKey(int frame) {
    for (size_t i = keys_.size(); i-- > 0;)
        if (keys_[i]->frame == frame) {
            NotifyDestroyed(keys_[i].get());
            keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
}

int rgBone::NextKeyFrame(int frame) const {
    int next = kNoNextKey;
    for (const auto& key : keys_)
        if (key->frame > frame && key->frame < next) next = key->frame;
    return next;
}

int rgBone::PrevKeyFrame(int frame) const {
    int prev = 0;
    for (const auto& key : keys_)
        if (key->frame < frame && key->frame > prev) prev = key->frame;
    return prev;
}

void rgBone::SortKeys() {
    // Equal frames keep their order, as the bubble sort that swaps only on a
    // strictly smaller later frame does.
    std::stable_sort(keys_.begin(), keys_.end(),
                     [](const auto& a, const auto& b) { return a->frame < b->frame; });
}

int rgBone::DeleteKeysInRange(int first, int last) {
    const auto gone = std::stable_partition(keys_.begin(), keys_.end(), [&](const auto& key) {
        return key->frame < first || key->frame > last;
    });
    const int count = static_cast<int>(keys_.end() - gone);
    for (auto it = gone; it != keys_.end(); ++it) NotifyDestroyed(it->get());
    keys_.erase(gone, keys_.end());
    return count;
}

void rgBone::SetKeys(const std::vector<rgKeyframe>& keys) {
    // Scripts may have changed key frames since the last sort.
    if (!std::is_sorted(keys_.begin(), keys_.end(),
                        [](const auto& a, const auto& b) { return a->frame < b->frame; }))
        SortKeys();
    // The list is sorted up to `before`, so the first key at a frame is
    // found by bisection; appended keys sit behind it until the one sort.
    const size_t before = keys_.size();
    const auto firstAt = [this, before](int frame) -> rgKeyframe* {
        const auto end = keys_.begin() + static_cast<std::ptrdiff_t>(before);
        const auto it = std::lower_bound(keys_.begin(), end, frame,
                                         [](const auto& key, int f) { return key->frame < f; });
        return it != end && (*it)->frame == frame ? it->get() : nullptr;
    };
    std::unordered_map<int, rgKeyframe*> added;
    for (const rgKeyframe& key : keys) {
        rgKeyframe* target = firstAt(key.frame);
        if (!target) {
            rgKeyframe*& slot = added[key.frame];
            if (!slot) {
                keys_.push_back(std::make_unique<rgKeyframe>());
                slot = keys_.back().get();
            }
            target = slot;
        }
        *target = key;
    }
    if (keys_.size() != before) SortKeys();
}
