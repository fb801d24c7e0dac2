#pragma once

#include <cstdint>
#include <vector>

// The engine's growable pointer list. It never owns what its entries point
// at: whoever fills it deletes the entries. Out-of-range indices are ignored
// (Get answers null) rather than reaching outside the block.
template <typename T>
class rgList {
public:
    void Add(T* p) { items_.push_back(p); }

    T* Get(int i) const { return InRange(i) ? items_[static_cast<size_t>(i)] : nullptr; }
    void Set(int i, T* p) {
        if (InRange(i)) items_[static_cast<size_t>(i)] = p;
    }

    // Index of the first entry equal to p, or -1.
    int Find(const T* p) const {
        for (size_t i = 0; i < items_.size(); ++i)
            if (items_[i] == p) return static_cast<int>(i);
        return -1;
    }

    // Shifts later entries down by one.
    void RemoveIndex(int i) {
        if (InRange(i)) items_.erase(items_.begin() + i);
    }
    void Remove(const T* p) { RemoveIndex(Find(p)); }

    void Clear() {
        items_.clear();
        items_.shrink_to_fit();
    }

    int32_t count() const { return static_cast<int32_t>(items_.size()); }
    bool empty() const { return items_.empty(); }

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    bool InRange(int i) const { return i >= 0 && static_cast<size_t>(i) < items_.size(); }

    std::vector<T*> items_;
};
