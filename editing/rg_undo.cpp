#include "editing/rg_undo.h"

#include <algorithm>

#include "scene/rg_scene.h"

rgUndo::rgUndo() = default;
rgUndo::~rgUndo() = default;

void rgUndo::Push(const std::string& label, rgScene& scene, int maxLevels) {
    records_.push_back({label.substr(0, kMaxLabel), scene.Copy()});
    while (static_cast<int>(records_.size()) > std::max(maxLevels, 0)) records_.pop_front();
}

std::unique_ptr<rgScene> rgUndo::Restore() {
    if (records_.empty()) return nullptr;
    std::unique_ptr<rgScene> scene = std::move(records_.back().scene);
    records_.pop_back();
    return scene;
}

void rgUndo::Clear() { records_.clear(); }

std::string rgUndo::TopLabel() const { return records_.empty() ? std::string() : records_.back().label; }
