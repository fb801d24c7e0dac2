#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/vector3.h"

// The voxel grid of the geodesic bind and the spreading of distances
// through it; the job's own parts, here so that tests can check them
// against a plain reference.
namespace rgGeodesic {

constexpr int kPad = 2;  // empty voxels around the meshes

// The voxel grid over the meshes' bounding box.
struct Grid {
    int nx = 0, ny = 0, nz = 0;
    float h = 1;  // voxel size in scene units
    vector3 origin;

    Grid() = default;
    // Over the box lo..hi (or a unit box when `any` is false).
    Grid(bool any, const vector3& lo, const vector3& hi, int resolution) {
        const vector3 size = any ? hi - lo : vector3(0, 0, 0);
        float longest = std::max({size.x, size.y, size.z});
        if (!(longest > 0)) longest = 1;
        h = longest / static_cast<float>(resolution);
        // Half a voxel more, so that the box's own faces (and vertices
        // on them) lie in the middle of voxels, never on a boundary where
        // rounding would pick the side.
        const float margin = (kPad + 0.5f) * h;
        origin = (any ? lo : vector3(0, 0, 0)) - vector3(margin, margin, margin);
        auto cells = [&](float extent) {
            return static_cast<int>(std::ceil(extent / h)) + 1 + 2 * kPad;
        };
        nx = cells(size.x);
        ny = cells(size.y);
        nz = cells(size.z);
    }
    size_t Cells() const { return static_cast<size_t>(nx) * ny * nz; }
    vector3 ToGrid(const vector3& p) const {
        const double scale = 1.0 / h;
        return vector3(static_cast<float>((double(p.x) - origin.x) * scale),
                       static_cast<float>((double(p.y) - origin.y) * scale),
                       static_cast<float>((double(p.z) - origin.z) * scale));
    }
    bool Inside(int x, int y, int z) const {
        return x >= 0 && y >= 0 && z >= 0 && x < nx && y < ny && z < nz;
    }
    size_t Index(int x, int y, int z) const {
        return (static_cast<size_t>(z) * ny + y) * nx + x;
    }
    // The cell of a grid-space point, clamped into the grid.
    std::array<int, 3> CellOf(const vector3& q) const {
        auto clamp = [](float v, int n) {
            const int c = static_cast<int>(std::floor(v));
            return std::min(std::max(c, 0), n - 1);
        };
        return {clamp(q.x, nx), clamp(q.y, ny), clamp(q.z, nz)};
    }
};

// Distances (in voxels) through solid voxels from a joint's bones (seeded
// where the segments pass, with each seed's distance to its voxel's centre),
// up to `reach`; out of a bone in air through air up to `airReach`, never
// from solid into air. `distance` holds infinity wherever nothing reached
// (and must on entry); `touched` lists the cells given a distance.
void Spread(const Grid& grid, const std::vector<uint8_t>& solid,
            const std::vector<std::pair<vector3, vector3>>& bones, float reach, float airReach,
            std::vector<float>& distance, std::vector<uint32_t>& touched);

}  // namespace rgGeodesic
