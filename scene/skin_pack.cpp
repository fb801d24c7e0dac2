#include "scene/skin_pack.h"

#include "scene/skin_table.h"

#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define KINEMO_SKIN_AVX 1
#endif

#if KINEMO_SKIN_AVX
static_assert(sizeof(vector3) == 3 * sizeof(float), "the 8-lane loop writes x, y, z as three floats");

namespace {

// A skin matrix for the 8-lane loop: rows 0 to 2 twice (position lanes,
// normal lanes), row 3 the translation for the position lanes and -0 for
// the normal lanes. Adding -0 changes no float, so the normal lanes do
// exactly what the 4-lane loop's direction transform does.
struct alignas(32) WideMatrix {
    float row[4][8];
};

std::vector<WideMatrix> WideMatrices(const std::vector<matrix44>& matrices) {
    std::vector<WideMatrix> wide(matrices.size());
    for (size_t j = 0; j < matrices.size(); ++j)
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) {
                wide[j].row[r][c] = matrices[j].m[r * 4 + c];
                wide[j].row[r][c + 4] = r == 3 ? -0.0f : matrices[j].m[r * 4 + c];
            }
    return wide;
}

// Position and normal of a vertex in one 8-lane register: every lane does
// the operations of the 4-lane loop in the same order, half as many
// instructions. No fused multiply-add: it would round differently.
#pragma GCC push_options
#pragma GCC target("avx")
void RunEightLanes(const WideMatrix* matrices, size_t n,
                                                  const uint8_t* counts, const int32_t* slots,
                                                  const float* weights, const float* positions,
                                                  const float* normals, vector3* outPositions,
                                                  vector3* outNormals) {
    for (size_t i = 0; i < n; ++i) {
        const float* p = positions + 4 * i;
        const float* q = normals + 4 * i;
        const unsigned count = counts[i];
        if (count == 0) {
            outPositions[i].set(p[0], p[1], p[2]);
            outNormals[i].set(q[0], q[1], q[2]);
            continue;
        }
        const __m256 pq = _mm256_insertf128_ps(_mm256_castps128_ps256(_mm_load_ps(p)), _mm_load_ps(q), 1);
        const __m256 x = _mm256_permute_ps(pq, 0x00), y = _mm256_permute_ps(pq, 0x55),
                     z = _mm256_permute_ps(pq, 0xAA);
        const int32_t* slot = slots + i * rgVertex::kInfluences;
        const float* weight = weights + i * rgVertex::kInfluences;
        const auto term = [&](unsigned k) {
            const WideMatrix& m = matrices[slot[k]];
            const __m256 t = _mm256_add_ps(
                _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(x, _mm256_load_ps(m.row[0])),
                                            _mm256_mul_ps(y, _mm256_load_ps(m.row[1]))),
                              _mm256_mul_ps(z, _mm256_load_ps(m.row[2]))),
                _mm256_load_ps(m.row[3]));
            return _mm256_mul_ps(t, _mm256_broadcast_ss(weight + k));
        };
        __m256 sum = _mm256_setzero_ps();
        if (count == 4) {
            // Four influences, the usual case: no loop to run, the same sums in the same order.
            sum = _mm256_add_ps(_mm256_add_ps(_mm256_add_ps(_mm256_add_ps(sum, term(0)), term(1)), term(2)),
                                term(3));
        } else {
            for (unsigned k = 0; k < count; ++k) sum = _mm256_add_ps(sum, term(k));
        }
        // Three floats each, straight from the register (x and y, then z).
        const __m128 position = _mm256_castps256_ps128(sum), normal = _mm256_extractf128_ps(sum, 1);
        float* p3 = &outPositions[i].x;
        float* n3 = &outNormals[i].x;
        _mm_storel_pi(reinterpret_cast<__m64*>(p3), position);
        _mm_store_ss(p3 + 2, _mm_movehl_ps(position, position));
        _mm_storel_pi(reinterpret_cast<__m64*>(n3), normal);
        _mm_store_ss(n3 + 2, _mm_movehl_ps(normal, normal));
    }
}
#pragma GCC pop_options

bool HasAvx() {
    static const bool has = __builtin_cpu_supports("avx");
    return has;
}

}  // namespace
#endif

void rgSkinPack::Build(const StableVector<rgVertex>& vertices, const rgSkinTable& table) {
    const size_t n = vertices.size();
    positions_.resize(n);
    normals_.resize(n);
    counts_.assign(n, 0);
    slots_.assign(n * rgVertex::kInfluences, 0);
    weights_.assign(n * rgVertex::kInfluences, 0.0f);
    numbers_ = table.Numbers();
    size_t i = 0;
    vertices.ForEach([&](const rgVertex& s) {
        positions_[i] = {{s.position.x, s.position.y, s.position.z, 0}};
        normals_[i] = {{s.normal.x, s.normal.y, s.normal.z, 0}};
        // The same sum and factor as SkinVertex, over every valid slot.
        float total = 0.0f;
        for (int k = 0; k < rgVertex::kInfluences; ++k)
            if (s.bone[k] >= 0) total += s.weight[k];
        const float f = static_cast<double>(total) >= 0.0001 ? 1.0f / total : 0.0f;
        uint8_t count = 0;
        for (int k = 0; k < rgVertex::kInfluences; ++k) {
            if (s.bone[k] < 0) continue;
            const int32_t slot = table.SlotOf(s.bone[k]);
            if (slot < 0) continue;
            slots_[i * rgVertex::kInfluences + count] = slot;
            weights_[i * rgVertex::kInfluences + count] = s.weight[k] * f;
            ++count;
        }
        counts_[i] = count;
        ++i;
    });
}

bool rgSkinPack::BuiltFor(const rgSkinTable& table) const {
    return numbers_ == table.Numbers();
}

void rgSkinPack::Run(const rgSkinTable& table, vector3* positions, vector3* normals,
                     rgSkinKernel kernel) const {
    const size_t n = counts_.size();
    if (n == 0) return;
#if KINEMO_SKIN_AVX
    if (kernel == rgSkinKernel::kBest && HasAvx()) {
        const std::vector<WideMatrix> wide = WideMatrices(table.Matrices());
        RunEightLanes(wide.data(), n, counts_.data(), slots_.data(), weights_.data(),
                      positions_.data()->v, normals_.data()->v, positions, normals);
        return;
    }
#else
    (void)kernel;
#endif
    const matrix44* matrices = table.Matrices().data();
    for (size_t i = 0; i < n; ++i) {
        const unsigned count = counts_[i];
        const float* p = positions_[i].v;
        const float* q = normals_[i].v;
        if (count == 0) {
            positions[i].set(p[0], p[1], p[2]);
            normals[i].set(q[0], q[1], q[2]);
            continue;
        }
        const int32_t* slot = &slots_[i * rgVertex::kInfluences];
        const float* weight = &weights_[i * rgVertex::kInfluences];
#if defined(__SSE2__)
        // Rows of the row-vector matrices blended lane by lane: every lane
        // does the same operations in the same order as the scalar
        // Transform, TransformDirection, scaling and sums.
        const __m128 px = _mm_set1_ps(p[0]), py = _mm_set1_ps(p[1]), pz = _mm_set1_ps(p[2]);
        const __m128 nx = _mm_set1_ps(q[0]), ny = _mm_set1_ps(q[1]), nz = _mm_set1_ps(q[2]);
        __m128 sumP = _mm_setzero_ps(), sumN = _mm_setzero_ps();
        for (unsigned k = 0; k < count; ++k) {
            const float* m = matrices[slot[k]].m;
            const __m128 r0 = _mm_loadu_ps(m), r1 = _mm_loadu_ps(m + 4), r2 = _mm_loadu_ps(m + 8),
                         r3 = _mm_loadu_ps(m + 12);
            const __m128 w = _mm_set1_ps(weight[k]);
            const __m128 tp = _mm_add_ps(
                _mm_add_ps(_mm_add_ps(_mm_mul_ps(px, r0), _mm_mul_ps(py, r1)), _mm_mul_ps(pz, r2)),
                r3);
            const __m128 tn =
                _mm_add_ps(_mm_add_ps(_mm_mul_ps(nx, r0), _mm_mul_ps(ny, r1)), _mm_mul_ps(nz, r2));
            sumP = _mm_add_ps(sumP, _mm_mul_ps(tp, w));
            sumN = _mm_add_ps(sumN, _mm_mul_ps(tn, w));
        }
        alignas(16) float outP[4], outN[4];
        _mm_store_ps(outP, sumP);
        _mm_store_ps(outN, sumN);
        positions[i].set(outP[0], outP[1], outP[2]);
        normals[i].set(outN[0], outN[1], outN[2]);
#else
        vector3 sumP(0, 0, 0), sumN(0, 0, 0);
        const vector3 source(p[0], p[1], p[2]), normal(q[0], q[1], q[2]);
        for (unsigned k = 0; k < count; ++k) {
            const matrix44& m = matrices[slot[k]];
            sumP += m.Transform(source) * weight[k];
            sumN += m.TransformDirection(normal) * weight[k];
        }
        positions[i] = sumP;
        normals[i] = sumN;
#endif
    }
}
