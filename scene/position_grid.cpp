#include "scene/position_grid.h"

#include <cmath>

namespace {

// 1/4096: fine enough to keep cells sparse for models from centimetres to
// kilometres, far coarser than the 1e-7 match tolerance.
constexpr double kCellsPerUnit = 4096.0;
constexpr double kLimit = 9.0e15;  // keeps cell numbers inside int64

bool CellCoord(double v, int64_t& out) {
    if (!std::isfinite(v)) return false;
    const double c = std::floor(v * kCellsPerUnit);
    out = static_cast<int64_t>(std::fmax(-kLimit, std::fmin(kLimit, c)));
    return true;
}

}  // namespace

void rgPositionGrid::Clear() {
    // Gives the memory back: the grid of a large mesh is tens of megabytes.
    decltype(heads_)().swap(heads_);
    decltype(next_)().swap(next_);
}

bool rgPositionGrid::CellOf(const vector3& p, Cell& cell) {
    return CellCoord(p.x, cell.x) && CellCoord(p.y, cell.y) && CellCoord(p.z, cell.z);
}

bool rgPositionGrid::CellRange(const vector3& p, double tol, Cell& lo, Cell& hi) {
    // Widened by twice the tolerance on both sides (the callers' differences
    // are rounded); the cell function is monotonic, so every position within
    // tol of p falls into this range.
    tol *= 2.0;
    return CellCoord(p.x - tol, lo.x) && CellCoord(p.y - tol, lo.y) && CellCoord(p.z - tol, lo.z) &&
           CellCoord(p.x + tol, hi.x) && CellCoord(p.y + tol, hi.y) && CellCoord(p.z + tol, hi.z);
}

void rgPositionGrid::Insert(const vector3& p, int32_t index) {
    if (next_.size() <= static_cast<size_t>(index)) next_.resize(static_cast<size_t>(index) + 1, -1);
    Cell cell;
    // Non-finite positions never equal anything within a tolerance: not indexed.
    if (!CellOf(p, cell)) return;
    auto [it, inserted] = heads_.try_emplace(cell, index);
    if (!inserted) {
        next_[static_cast<size_t>(index)] = it->second;
        it->second = index;
    }
}
