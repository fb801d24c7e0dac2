#include "editing/rg_undo.h"

#include <algorithm>

#include "scene/rg_scene.h"

rgUndo::rgUndo() = default;
rgUndo::~rgUndo() = default;

void rgUndo::Push(const std::string& label, rgScene& scene, int maxLevels) {
    fallen_.reset();
    const size_t limit = static_cast<size_t>(std::max(maxLevels, 0));
    records_.push_back({label.substr(0, kMaxLabel), scene.Copy()});
    // Normally one record falls off; it is kept until anything else happens,
    // so that a step dropped at once can give it back.
    if (limit > 0 && records_.size() == limit + 1) {
        fallen_ = std::make_unique<Record>(std::move(records_.front()));
        records_.pop_front();
    }
    while (records_.size() > limit) records_.pop_front();
}

void rgUndo::DropNewest() {
    if (records_.empty()) return;
    records_.pop_back();
    if (fallen_) records_.push_front(std::move(*fallen_));
    fallen_.reset();
}

std::unique_ptr<rgScene> rgUndo::Restore() {
    fallen_.reset();
    if (records_.empty()) return nullptr;
    std::unique_ptr<rgScene> scene = std::move(records_.back().scene);
    records_.pop_back();
    return scene;
}

void rgUndo::Clear() {
    records_.clear();
    fallen_.reset();
}

std::string rgUndo::TopLabel() const {
    return records_.empty() ? std::string() : records_.back().label;
}
