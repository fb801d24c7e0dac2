#include "skinning/bind_skin_job.h"

#include <algorithm>
#include <vector>

#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"
#include "skinning/skin_distance.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr float kNoBone = 1e8f;  // distance of a joint whose children are not joints
constexpr int kLanes = 4;        // vertices measured together

// The skeleton as binding measures it, joints in walk order.
struct Skeleton {
    std::vector<rgBone*> joints;
    std::vector<int> parent;                 // index of the parent joint, or -1
    std::vector<std::vector<int>> children;  // indices of the child joints
    std::vector<uint8_t> point;              // no children at all: measured to the joint
    // Bone segments from each joint to its child joints (a point joint has
    // one of zero length); joint j owns [begin[j], begin[j + 1]).
    std::vector<int> begin;
    std::vector<float> ax, ay, az, abx, aby, abz, length2;

    explicit Skeleton(rgScene& scene) {
        scene.ForEach([&](rgSceneNode* node) {
            if (rgBone* joint = ToBone(node)) joints.push_back(joint);
        });
        parent.assign(joints.size(), -1);
        children.resize(joints.size());
        point.assign(joints.size(), 0);
        auto indexOf = [&](const rgSceneNode* node) {
            const auto it = std::find(joints.begin(), joints.end(), node);
            return it == joints.end() ? -1 : static_cast<int>(it - joints.begin());
        };
        for (size_t j = 0; j < joints.size(); ++j) {
            rgBone* joint = joints[j];
            parent[j] = joint->GetParent() ? indexOf(joint->GetParent()) : -1;
            point[j] = joint->Children().empty();
            const vector3 a = joint->GetGlobalMatrix().pos_component();
            begin.push_back(static_cast<int>(ax.size()));
            if (point[j]) {
                AddSegment(a, vector3(0, 0, 0));  // the point itself
                continue;
            }
            for (rgSceneNode* child : joint->Children()) {
                if (!child->IsBone()) continue;
                children[j].push_back(indexOf(child));
                AddSegment(a, child->GetGlobalMatrix().pos_component() - a);
            }
        }
        begin.push_back(static_cast<int>(ax.size()));
    }

    void AddSegment(const vector3& a, const vector3& ab) {
        ax.push_back(a.x);
        ay.push_back(a.y);
        az.push_back(a.z);
        abx.push_back(ab.x);
        aby.push_back(ab.y);
        abz.push_back(ab.z);
        length2.push_back(ab.len_squared());
    }
};

// Distances and falloff weights from four points to every joint:
// d[j * kLanes + lane], w[j * kLanes + lane].
void Measure(const Skeleton& s, const vector3* points, float radius, float* d, float* w) {
    const size_t joints = s.joints.size();
#if defined(__SSE2__)
    // Four points side by side; each lane repeats the scalar arithmetic of
    // SegmentDistance operation for operation.
    const __m128 px = _mm_setr_ps(points[0].x, points[1].x, points[2].x, points[3].x);
    const __m128 py = _mm_setr_ps(points[0].y, points[1].y, points[2].y, points[3].y);
    const __m128 pz = _mm_setr_ps(points[0].z, points[1].z, points[2].z, points[3].z);
    const __m128 zero = _mm_setzero_ps(), one = _mm_set1_ps(1.0f);
    for (size_t j = 0; j < joints; ++j) {
        __m128 nearest = _mm_set1_ps(__builtin_inff());
        __m128 last = zero;
        for (int i = s.begin[j]; i < s.begin[j + 1]; ++i) {
            const __m128 ax = _mm_set1_ps(s.ax[i]), ay = _mm_set1_ps(s.ay[i]),
                         az = _mm_set1_ps(s.az[i]);
            const __m128 abx = _mm_set1_ps(s.abx[i]), aby = _mm_set1_ps(s.aby[i]),
                         abz = _mm_set1_ps(s.abz[i]);
            __m128 t = zero;
            if (s.length2[i] != 0.0f) {
                const __m128 dot = _mm_add_ps(_mm_add_ps(_mm_mul_ps(_mm_sub_ps(px, ax), abx),
                                                         _mm_mul_ps(_mm_sub_ps(py, ay), aby)),
                                              _mm_mul_ps(_mm_sub_ps(pz, az), abz));
                t = _mm_div_ps(dot, _mm_set1_ps(s.length2[i]));
                // t < 0 -> 0, else t > 1 -> 1; a NaN stays.
                const __m128 below = _mm_cmplt_ps(t, zero), above = _mm_cmpgt_ps(t, one);
                t = _mm_or_ps(_mm_andnot_ps(_mm_or_ps(below, above), t), _mm_and_ps(above, one));
            }
            const __m128 dx = _mm_sub_ps(px, _mm_add_ps(ax, _mm_mul_ps(abx, t)));
            const __m128 dy = _mm_sub_ps(py, _mm_add_ps(ay, _mm_mul_ps(aby, t)));
            const __m128 dz = _mm_sub_ps(pz, _mm_add_ps(az, _mm_mul_ps(abz, t)));
            last =
                _mm_add_ps(_mm_add_ps(_mm_mul_ps(dx, dx), _mm_mul_ps(dy, dy)), _mm_mul_ps(dz, dz));
            // The smaller one; a NaN never replaces.
            const __m128 closer = _mm_cmplt_ps(last, nearest);
            nearest = _mm_or_ps(_mm_and_ps(closer, last), _mm_andnot_ps(closer, nearest));
        }
        __m128 distance;
        if (s.point[j]) {
            distance = _mm_sqrt_ps(last);
        } else {
            // Starts at the no-bone distance; sqrt keeps the order of the squares.
            const __m128 root = _mm_sqrt_ps(nearest), cap = _mm_set1_ps(kNoBone);
            const __m128 closer = _mm_cmplt_ps(root, cap);
            distance = _mm_or_ps(_mm_and_ps(closer, root), _mm_andnot_ps(closer, cap));
        }
        _mm_storeu_ps(d + j * kLanes, distance);
        // FalloffWeight, lane by lane.
        const __m128 q =
            _mm_add_ps(one, _mm_div_ps(distance, _mm_set1_ps(radius == 0.0f ? 1.0f : radius)));
        const __m128 q4 = _mm_mul_ps(_mm_mul_ps(_mm_mul_ps(q, q), q), q);
        _mm_storeu_ps(w + j * kLanes, _mm_div_ps(one, q4));
    }
#else
    for (size_t j = 0; j < joints; ++j) {
        for (int lane = 0; lane < kLanes; ++lane) {
            float distance = s.point[j] ? 0.0f : kNoBone;
            for (int i = s.begin[j]; i < s.begin[j + 1]; ++i) {
                const float e = SegmentDistanceAlong(points[lane], {s.ax[i], s.ay[i], s.az[i]},
                                                     {s.abx[i], s.aby[i], s.abz[i]});
                if (s.point[j] || e < distance) distance = e;
            }
            d[j * kLanes + lane] = distance;
            w[j * kLanes + lane] = FalloffWeight(distance, radius);
        }
    }
#endif
}

// Fills the four slots of one vertex from the weights of every joint;
// `candidates` is scratch space.
void ChooseInfluences(const Skeleton& s, const rgBindSkinSettings& settings, const float* weight,
                      const uint8_t* inReach, std::vector<int>& candidates, rgVertex& v) {
    v.ClearInfluences();
    const int joints = static_cast<int>(s.joints.size());
    // The first record of the weight order among those allowed to lead.
    int first = -1;
    float firstKey = 0.0f;
    for (int j = 0; j < joints; ++j) {
        if (!settings.rigid && !inReach[j]) continue;
        const float key = WeightOrderKey(weight[j]);
        if (first < 0 || key > firstKey) {
            first = j;
            firstKey = key;
        }
    }
    if (first < 0) return;
    v.bone[0] = s.joints[static_cast<size_t>(first)]->GetId();
    v.weight[0] = weight[first];
    if (settings.rigid) return;

    // Then the parent and child joints in reach, in the weight order.
    candidates.clear();
    auto consider = [&](int j) {
        if (j >= 0 && inReach[j]) candidates.push_back(j);
    };
    consider(s.parent[static_cast<size_t>(first)]);
    for (int child : s.children[static_cast<size_t>(first)]) consider(child);
    std::sort(candidates.begin(), candidates.end(), [&](int a, int b) {
        const float ka = WeightOrderKey(weight[a]), kb = WeightOrderKey(weight[b]);
        return ka != kb ? ka > kb : a < b;
    });
    for (size_t c = 0; c < candidates.size() && static_cast<int>(c) + 1 < settings.jointsPerVertex;
         ++c) {
        v.bone[c + 1] = s.joints[static_cast<size_t>(candidates[c])]->GetId();
        v.weight[c + 1] = weight[candidates[c]];
    }
}

}  // namespace

bool rgBindSkinJob::Validate(std::string* why) const {
    const char* problem = nullptr;
    if (!scene)
        problem = "there is no scene to bind";
    else if (settings.jointsPerVertex < 2 || settings.jointsPerVertex > 4)
        problem = "joints per vertex must be 2, 3 or 4";
    else if (!(settings.falloffRadius >= rgBindSkinSettings::kMinFalloff &&
               settings.falloffRadius <= rgBindSkinSettings::kMaxFalloff))
        problem = "the falloff radius must be between 0.0001 and 1000";
    else if (!(settings.maxDistance >= rgBindSkinSettings::kMinDistance &&
               settings.maxDistance <= rgBindSkinSettings::kMaxDistance))
        problem = "the max distance must be between 0.0001 and 10000";
    if (problem && why) *why = problem;
    return problem == nullptr;
}

bool rgBindSkinJob::Run() {
    if (!Validate()) return false;
    scene->UpdateScene();
    const Skeleton skeleton(*scene);
    const size_t joints = skeleton.joints.size();
    std::vector<rgMesh*> meshes;
    scene->ForEach([&](rgSceneNode* node) {
        if (rgMesh* mesh = ToMesh(node)) meshes.push_back(mesh);
    });

    std::vector<float> distance(joints * kLanes), weights(joints * kLanes), weight(joints);
    std::vector<uint8_t> inReach(joints);
    std::vector<int> candidates;
    std::vector<rgVertex*> vertices;
    for (rgMesh* mesh : meshes) {
        const matrix44 local = mesh->GetMatrix();
        vertices.clear();
        mesh->EditInfluences([&](rgVertex& v) { vertices.push_back(&v); });
        for (size_t first = 0; first < vertices.size(); first += kLanes) {
            const size_t lanes = std::min<size_t>(kLanes, vertices.size() - first);
            vector3 points[kLanes];
            for (size_t lane = 0; lane < kLanes; ++lane)
                points[lane] =
                    local.Transform(vertices[first + std::min(lane, lanes - 1)]->position);
            Measure(skeleton, points, settings.falloffRadius, distance.data(), weights.data());
            for (size_t lane = 0; lane < lanes; ++lane) {
                for (size_t j = 0; j < joints; ++j) {
                    weight[j] = weights[j * kLanes + lane];
                    inReach[j] = distance[j * kLanes + lane] < settings.maxDistance;
                }
                ChooseInfluences(skeleton, settings, weight.data(), inReach.data(), candidates,
                                 *vertices[first + lane]);
            }
        }
    }
    scene->InvalidateSkins();
    return true;
}

void DetachSkin(rgScene& scene) {
    scene.ForEach([](rgSceneNode* node) {
        if (rgMesh* mesh = ToMesh(node)) mesh->ClearInfluences();
    });
    scene.InvalidateSkins();
}
