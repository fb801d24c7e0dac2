// rgMesh::GenerateNormals: smooth normals shared across vertices split at
// texture seams (vertices are matched by position, not by index).
#include <cstdint>
#include <vector>

#include "scene/rg_mesh.h"

namespace {

bool ValidFace(const rgFace& f, size_t n) {
    auto ok = [n](int32_t i) { return i >= 0 && static_cast<size_t>(i) < n; };
    return ok(f.a) && ok(f.b) && ok(f.c);
}

}  // namespace

void rgMesh::GenerateNormals() {
    const size_t n = vertices_.size();
    if (n == 0) return;
    auto P = [this](int32_t i) -> const vector3& { return vertices_[static_cast<size_t>(i)].position; };

    // For every vertex u, the vertices at its position (within the tolerance).
    rgPositionGrid grid;
    for (size_t i = 0; i < n; ++i) grid.Insert(vertices_[i].position, static_cast<int32_t>(i));
    std::vector<int32_t> matchStart(n + 1, 0);
    std::vector<int32_t> matches;
    matches.reserve(n);
    for (size_t u = 0; u < n; ++u) {
        matchStart[u] = static_cast<int32_t>(matches.size());
        const vector3& pu = vertices_[u].position;
        grid.ForEachCandidate(pu, kMergeTolerance, [&](int32_t v) {
            if (P(v).isequal(pu, kMergeTolerance)) matches.push_back(v);
        });
    }
    matchStart[n] = static_cast<int32_t>(matches.size());

    // Faces in order, so every vertex sums its face normals in face order.
    std::vector<vector3> sum(n, vector3(0, 0, 0));
    std::vector<int32_t> count(n, 0);
    std::vector<int64_t> lastFace(n, -1);
    for (size_t f = 0; f < faces_.size(); ++f) {
        const rgFace& face = faces_[f];
        if (!ValidFace(face, n)) continue;
        const vector3 e1 = P(face.b) - P(face.a);
        const vector3 e2 = P(face.c) - P(face.b);
        const vector3 faceNormal = e1.CrossProduct(e2);  // not normalised: larger faces weigh more
        for (int32_t corner : {face.a, face.b, face.c}) {
            for (int32_t m = matchStart[static_cast<size_t>(corner)];
                 m < matchStart[static_cast<size_t>(corner) + 1]; ++m) {
                const auto v = static_cast<size_t>(matches[static_cast<size_t>(m)]);
                if (lastFace[v] == static_cast<int64_t>(f)) continue;  // one vote per face
                lastFace[v] = static_cast<int64_t>(f);
                sum[v] += faceNormal;
                ++count[v];
            }
        }
    }
    for (size_t v = 0; v < n; ++v) {
        if (count[v] == 0) continue;  // used by no face: keeps its normal
        vector3 normal = sum[v] / static_cast<float>(count[v]);
        normal.norm();
        vertices_[v].normal = normal;
    }
    SourceChanged();
}
