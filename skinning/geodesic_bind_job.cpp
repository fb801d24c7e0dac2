#include "skinning/geodesic_bind_job.h"
#include "skinning/geodesic_voxels.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <queue>
#include <vector>

#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"
#include "skinning/skin_distance.h"

using rgGeodesic::Grid;
using rgGeodesic::Spread;

namespace {

constexpr size_t kBytesPerCell = 10;  // solid and flag bytes, a distance, the heap's share
constexpr float kInf = std::numeric_limits<float>::infinity();

bool Finite(const vector3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// What the bind reads from the scene.
struct Inputs {
    std::vector<rgMesh*> meshes;
    std::vector<std::vector<vector3>> points;  // each mesh's vertices through its local matrix
    std::vector<rgBone*> joints;
    // Each joint's bones: segments to its child joints, or its point.
    std::vector<std::vector<std::pair<vector3, vector3>>> bones;
    vector3 lo{kInf, kInf, kInf}, hi{-kInf, -kInf, -kInf};
    bool any = false;

    explicit Inputs(rgScene& scene) {
        scene.UpdateScene();
        scene.ForEach([&](rgSceneNode* node) {
            if (rgMesh* mesh = ToMesh(node)) {
                meshes.push_back(mesh);
                const matrix44 local = mesh->GetMatrix();
                std::vector<vector3>& out = points.emplace_back();
                out.reserve(static_cast<size_t>(mesh->GetVertexCount()));
                for (int i = 0; i < mesh->GetVertexCount(); ++i) {
                    const vector3 p = local.Transform(mesh->GetVertex(i)->position);
                    out.push_back(p);
                    if (!Finite(p)) continue;
                    any = true;
                    lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
                    hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
                }
            } else if (rgBone* joint = ToBone(node)) {
                joints.push_back(joint);
                auto& segments = bones.emplace_back();
                const vector3 a = joint->GetGlobalMatrix().pos_component();
                for (rgSceneNode* child : joint->Children())
                    if (child->IsBone()) segments.push_back({a, child->GetGlobalMatrix().pos_component()});
                if (segments.empty()) segments.push_back({a, a});
            }
        });
    }
};

// Surface voxels: every voxel a triangle passes through, sampled at half a
// voxel or closer.
void MarkSurface(const Grid& grid, const rgMesh& mesh, const std::vector<vector3>& points,
                 std::vector<uint8_t>& surface) {
    for (const rgFace& f : mesh.Faces()) {
        const int n = static_cast<int>(points.size());
        if (f.a < 0 || f.b < 0 || f.c < 0 || f.a >= n || f.b >= n || f.c >= n) continue;
        const vector3 a = grid.ToGrid(points[static_cast<size_t>(f.a)]);
        const vector3 b = grid.ToGrid(points[static_cast<size_t>(f.b)]);
        const vector3 c = grid.ToGrid(points[static_cast<size_t>(f.c)]);
        if (!Finite(a) || !Finite(b) || !Finite(c)) continue;
        const float longest = std::max({(b - a).len(), (c - a).len(), (c - b).len()});
        const int steps = std::max(1, static_cast<int>(std::ceil(longest * 2.0f)));
        for (int i = 0; i <= steps; ++i)
            for (int j = 0; i + j <= steps; ++j) {
                const float u = static_cast<float>(i) / steps, v = static_cast<float>(j) / steps;
                const auto cell = grid.CellOf(a + (b - a) * u + (c - a) * v);
                surface[grid.Index(cell[0], cell[1], cell[2])] = 1;
            }
    }
}

// Solid voxels: everything the outside cannot reach once the surface is
// thickened by one voxel (which closes holes of a voxel or two).
std::vector<uint8_t> Solid(const Grid& grid, const std::vector<uint8_t>& surface) {
    std::vector<uint8_t> wall(grid.Cells(), 0);
    for (int z = 0; z < grid.nz; ++z)
        for (int y = 0; y < grid.ny; ++y)
            for (int x = 0; x < grid.nx; ++x) {
                if (!surface[grid.Index(x, y, z)]) continue;
                for (int dz = -1; dz <= 1; ++dz)
                    for (int dy = -1; dy <= 1; ++dy)
                        for (int dx = -1; dx <= 1; ++dx)
                            if (grid.Inside(x + dx, y + dy, z + dz))
                                wall[grid.Index(x + dx, y + dy, z + dz)] = 1;
            }
    // The padding is outside: flood from a corner through what is not wall.
    std::vector<uint8_t> solid(grid.Cells(), 1);
    std::vector<std::array<int, 3>> stack = {{0, 0, 0}};
    solid[0] = 0;
    while (!stack.empty()) {
        const auto [x, y, z] = stack.back();
        stack.pop_back();
        static constexpr int kSteps[6][3] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0},
                                             {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
        for (const auto& d : kSteps) {
            const int a = x + d[0], b = y + d[1], c = z + d[2];
            if (!grid.Inside(a, b, c)) continue;
            const size_t i = grid.Index(a, b, c);
            if (!solid[i] || wall[i]) continue;
            solid[i] = 0;
            stack.push_back({a, b, c});
        }
    }
    // What the thickening added on the outside side stays solid: vertices
    // lie in surface voxels, which are solid either way.
    return solid;
}

}  // namespace

namespace rgGeodesic {

// Distances (in voxels) through solid voxels from a joint's bones, up to
// `reach`; `touched` lists the cells given a distance, for the next reset.
void Spread(const Grid& grid, const std::vector<uint8_t>& solid,
            const std::vector<std::pair<vector3, vector3>>& bones, float reach, float airReach,
            std::vector<float>& distance, std::vector<uint32_t>& touched) {
    using Entry = std::pair<float, uint32_t>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
    auto seed = [&](const vector3& q) {
        const auto c = grid.CellOf(q);
        const size_t i = grid.Index(c[0], c[1], c[2]);
        const vector3 centre(c[0] + 0.5f, c[1] + 0.5f, c[2] + 0.5f);
        const float d = (q - centre).len();
        if (d < distance[i]) {
            if (distance[i] == kInf) touched.push_back(static_cast<uint32_t>(i));
            distance[i] = d;
            open.push({d, static_cast<uint32_t>(i)});
        }
    };
    for (const auto& [a, b] : bones) {
        const vector3 qa = grid.ToGrid(a), qb = grid.ToGrid(b);
        if (!Finite(qa) || !Finite(qb)) continue;
        const int steps = std::max(1, static_cast<int>(std::ceil((qb - qa).len() * 2.0f)));
        for (int s = 0; s <= steps; ++s) seed(qa + (qb - qa) * (static_cast<float>(s) / steps));
    }
    static const std::array<std::array<int, 4>, 26> kNeighbours = [] {
        std::array<std::array<int, 4>, 26> n{};
        int k = 0;
        for (int dz = -1; dz <= 1; ++dz)
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (dx || dy || dz) n[static_cast<size_t>(k++)] = {dx, dy, dz, dx * dx + dy * dy + dz * dz};
        return n;
    }();
    static const float kCost[4] = {0, 1.0f, std::sqrt(2.0f), std::sqrt(3.0f)};
    const size_t row = static_cast<size_t>(grid.nx), slab = row * static_cast<size_t>(grid.ny);
    while (!open.empty()) {
        const auto [d, i] = open.top();
        open.pop();
        if (d > distance[i]) continue;
        const int x = static_cast<int>(i % row), y = static_cast<int>((i / row) % grid.ny),
                  z = static_cast<int>(i / slab);
        for (const auto& n : kNeighbours) {
            const int a = x + n[0], b = y + n[1], c = z + n[2];
            if (!grid.Inside(a, b, c)) continue;
            const size_t j = grid.Index(a, b, c);
            const float next = d + kCost[n[3]];
            // Solid voxels, and out of a bone that lies in air (outside the
            // body, or in the hollow of a mesh that is not closed) through
            // air to the nearest solid, but never from the body into air.
            if (!solid[j] && (solid[i] || next > airReach)) continue;
            if (next >= distance[j] || next > reach) continue;
            if (distance[j] == kInf) touched.push_back(static_cast<uint32_t>(j));
            distance[j] = next;
            open.push({next, static_cast<uint32_t>(j)});
        }
    }
}

}  // namespace rgGeodesic

size_t rgGeodesicBindJob::GridBytes(int resolution) const {
    if (!scene) return 0;
    const Inputs in(*scene);
    return Grid(in.any, in.lo, in.hi, resolution).Cells() * kBytesPerCell;
}

bool rgGeodesicBindJob::Validate(std::string* why) const {
    auto fail = [&](const std::string& text) {
        if (why) *why = text;
        return false;
    };
    if (!scene) return fail("there is no scene to bind");
    if (settings.resolution < rgGeodesicBindSettings::kMinResolution ||
        settings.resolution > rgGeodesicBindSettings::kMaxResolution)
        return fail("Resolution must be between 32 and 1024");
    if (!(settings.falloff >= 0.0f && settings.falloff <= 1.0f))
        return fail("Falloff must be between 0 and 1");
    if (settings.jointsPerVertex < 1 || settings.jointsPerVertex > 4)
        return fail("Joints Per Vertex must be 1, 2, 3 or 4");
    const Inputs in(*scene);
    if (Grid(in.any, in.lo, in.hi, settings.resolution).Cells() * kBytesPerCell > memoryLimit) {
        int fits = settings.resolution;
        while (fits > rgGeodesicBindSettings::kMinResolution &&
               Grid(in.any, in.lo, in.hi, fits).Cells() * kBytesPerCell > memoryLimit)
            fits = fits * 15 / 16;
        return fail("a resolution of " + std::to_string(settings.resolution) +
                    " needs more memory than the bind may take; the largest that fits is " +
                    std::to_string(fits));
    }
    return true;
}

bool rgGeodesicBindJob::Run() {
    fallbackVertices = unboundVertices = 0;
    if (!Validate()) return false;
    const Inputs in(*scene);
    const Grid grid(in.any, in.lo, in.hi, settings.resolution);
    std::vector<uint8_t> surface(grid.Cells(), 0);
    for (size_t m = 0; m < in.meshes.size(); ++m) MarkSurface(grid, *in.meshes[m], in.points[m], surface);
    const std::vector<uint8_t> solid = Solid(grid, surface);
    surface = {};

    // Each vertex's distance to each joint, in voxels (infinite: not reached).
    size_t vertexCount = 0;
    for (const auto& p : in.points) vertexCount += p.size();
    const size_t joints = in.joints.size();
    std::vector<float> reached(vertexCount * joints, kInf);
    std::vector<float> distance(grid.Cells(), kInf);
    std::vector<uint32_t> touched;
    const float reach = static_cast<float>(settings.resolution) / 4.0f;
    for (size_t j = 0; j < joints; ++j) {
        if (progress && !progress(static_cast<float>(j) / static_cast<float>(joints))) return false;
        touched.clear();
        Spread(grid, solid, in.bones[j], reach, reach / 2.0f, distance, touched);
        size_t v = 0;
        for (size_t m = 0; m < in.meshes.size(); ++m) {
            const bool faces = !in.meshes[m]->Faces().empty();
            for (const vector3& p : in.points[m]) {
                const vector3 q = grid.ToGrid(p);
                if (faces && Finite(q)) {
                    const auto c = grid.CellOf(q);
                    const float d = distance[grid.Index(c[0], c[1], c[2])];
                    if (d < kInf) {
                        const vector3 centre(c[0] + 0.5f, c[1] + 0.5f, c[2] + 0.5f);
                        reached[v * joints + j] = d + (q - centre).len();
                    }
                }
                ++v;
            }
        }
        for (uint32_t i : touched) distance[i] = kInf;
    }
    if (progress && !progress(1.0f)) return false;

    // Weights from the distances; the straight line where nothing reached.
    const float power = settings.falloff >= 1.0f ? kInf : 2.0f / (1.0f - settings.falloff);
    std::vector<std::pair<float, int>> order;
    size_t v = 0;
    for (size_t m = 0; m < in.meshes.size(); ++m) {
        std::vector<rgVertex*> vertices;
        in.meshes[m]->EditInfluences([&](rgVertex& vertex) { vertices.push_back(&vertex); });
        for (size_t i = 0; i < vertices.size(); ++i, ++v) {
            rgVertex& out = *vertices[i];
            for (int k = 0; k < 4; ++k) out.bone[k] = -1, out.weight[k] = 0;
            const vector3& p = in.points[m][i];
            if (joints == 0) continue;
            if (!Finite(p)) {
                ++unboundVertices;
                continue;
            }
            order.clear();
            float nearest = kInf;
            for (size_t j = 0; j < joints; ++j) nearest = std::min(nearest, reached[v * joints + j]);
            if (nearest == kInf) {
                // No joint reaches this vertex through the body.
                size_t best = 0;
                float bestDistance = kInf;
                for (size_t j = 0; j < joints; ++j)
                    for (const auto& [a, b] : in.bones[j]) {
                        const float d = SegmentDistance(p, a, b);
                        if (d < bestDistance) bestDistance = d, best = j;
                    }
                out.bone[0] = in.joints[best]->GetId();
                out.weight[0] = 1;
                ++fallbackVertices;
                continue;
            }
            for (size_t j = 0; j < joints; ++j) {
                const float d = reached[v * joints + j];
                if (d == kInf) continue;
                // Relative to the nearest joint, a voxel added so that a
                // vertex on a bone still blends with its neighbours.
                const float ratio = (nearest + 1.0f) / (d + 1.0f);
                const float w = power == kInf ? (d == nearest ? 1.0f : 0.0f) : std::pow(ratio, power);
                if (w > 0) order.push_back({w, static_cast<int>(j)});
            }
            std::stable_sort(order.begin(), order.end(),
                             [](const auto& a, const auto& b) { return a.first > b.first; });
            const size_t kept = std::min(order.size(), static_cast<size_t>(settings.jointsPerVertex));
            float sum = 0;
            for (size_t k = 0; k < kept; ++k) sum += order[k].first;
            for (size_t k = 0; k < kept; ++k) {
                out.bone[k] = in.joints[static_cast<size_t>(order[k].second)]->GetId();
                out.weight[k] = order[k].first / sum;
            }
        }
    }
    scene->InvalidateSkins();
    return true;
}

rgBindReport ReportBind(rgScene& scene) {
    rgBindReport report;
    std::vector<int> used;
    std::vector<rgBone*> joints;
    scene.ForEach([&](rgSceneNode* node) {
        if (rgBone* joint = ToBone(node)) joints.push_back(joint);
        const rgMesh* mesh = ToMesh(node);
        if (!mesh) return;
        for (int i = 0; i < mesh->GetVertexCount(); ++i) {
            const rgVertex& v = *mesh->GetVertex(i);
            bool bound = false;
            for (int k = 0; k < 4; ++k)
                if (v.bone[k] >= 0 && v.weight[k] > 0) {
                    bound = true;
                    used.push_back(v.bone[k]);
                }
            report.unboundVertices += !bound;
        }
    });
    std::sort(used.begin(), used.end());
    for (rgBone* joint : joints)
        if (!std::binary_search(used.begin(), used.end(), joint->GetId()))
            report.idleJoints.push_back(joint->GetName());
    return report;
}

std::string rgBindReport::Text() const {
    std::string text;
    if (unboundVertices)
        text = std::to_string(unboundVertices) +
               (unboundVertices == 1 ? " vertex is" : " vertices are") + " bound to no joint";
    if (!idleJoints.empty()) {
        if (!text.empty()) text += "; ";
        text += std::to_string(idleJoints.size()) +
                (idleJoints.size() == 1 ? " joint has" : " joints have") + " no weight (";
        for (size_t i = 0; i < idleJoints.size() && i < 5; ++i)
            text += (i ? ", " : "") + idleJoints[i];
        if (idleJoints.size() > 5) text += ", ...";
        text += ")";
    }
    return text;
}
