#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "core/vector3.h"

// Buckets vertex indices by position so that "every vertex within 1e-7 of p"
// looks at a handful of candidates instead of the whole mesh. Callers still
// apply their exact tolerance test; the grid only narrows the search, so
// results are the same as a full scan.
class rgPositionGrid {
public:
    void Clear();
    void Insert(const vector3& p, int32_t index);
    size_t size() const { return next_.size(); }

    // Calls f(index) for every inserted index whose position may lie within
    // `tolerance` of p on every axis (a superset; in no particular order).
    template <typename F>
    void ForEachCandidate(const vector3& p, double tolerance, F&& f) const {
        Cell lo, hi;
        if (!CellRange(p, tolerance, lo, hi)) return;
        for (int64_t x = lo.x; x <= hi.x; ++x)
            for (int64_t y = lo.y; y <= hi.y; ++y)
                for (int64_t z = lo.z; z <= hi.z; ++z) {
                    const auto it = heads_.find(Cell{x, y, z});
                    if (it == heads_.end()) continue;
                    for (int32_t i = it->second; i >= 0; i = next_[static_cast<size_t>(i)]) f(i);
                }
    }

private:
    struct Cell {
        int64_t x, y, z;
        bool operator==(const Cell&) const = default;
    };
    struct CellHash {
        size_t operator()(const Cell& c) const {
            uint64_t h = static_cast<uint64_t>(c.x) * 0x9E3779B97F4A7C15ull;
            h ^= static_cast<uint64_t>(c.y) * 0xC2B2AE3D27D4EB4Full + (h << 6) + (h >> 2);
            h ^= static_cast<uint64_t>(c.z) * 0x165667B19E3779F9ull + (h << 6) + (h >> 2);
            return static_cast<size_t>(h);
        }
    };

    static bool CellOf(const vector3& p, Cell& cell);
    static bool CellRange(const vector3& p, double tolerance, Cell& lo, Cell& hi);

    std::unordered_map<Cell, int32_t, CellHash> heads_;  // cell -> most recent index
    std::vector<int32_t> next_;                           // index -> previous index in its cell
};
