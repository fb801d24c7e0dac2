#include "plugins/native/common/model_animation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace kinemo_plugin {

namespace {

constexpr int kMaxFrames = 1000000;

bool IsJoint(const Model& model, int index) {
    return index >= 0 && model.nodes[static_cast<size_t>(index)].kind == NodeKind::kJoint;
}

// Per node, the tracks of one animation (translation, rotation, scale).
using NodeTracks = std::vector<std::array<const Track*, 3>>;

NodeTracks TracksOf(const Model& model, const Animation& animation) {
    NodeTracks tracks(model.nodes.size(), {nullptr, nullptr, nullptr});
    for (const Channel& c : animation.channels)
        if (c.node >= 0 && static_cast<size_t>(c.node) < model.nodes.size() &&
            !c.track.times.empty())
            tracks[static_cast<size_t>(c.node)][static_cast<size_t>(c.path)] = &c.track;
    return tracks;
}

// The file's world matrices at time t of an animation (null: at rest).
void WorldAt(const Model& model, const std::vector<Mat4>& fileLocal,
             const std::vector<Trs>& restTrs, const NodeTracks* tracks, double t,
             const std::vector<int>& fileParent, std::vector<Mat4>& world) {
    world.resize(model.nodes.size());
    for (size_t i = 0; i < model.nodes.size(); ++i) {
        Mat4 local = fileLocal[i];
        if (tracks && ((*tracks)[i][0] || (*tracks)[i][1] || (*tracks)[i][2])) {
            Trs trs = restTrs[i];
            if (const Track* k = (*tracks)[i][0]) SampleTrack(*k, ChannelPath::kTranslation, t, trs.t);
            if (const Track* k = (*tracks)[i][1]) {
                double q[4];
                SampleTrack(*k, ChannelPath::kRotation, t, q);
                trs.r = {q[0], q[1], q[2], q[3]};
            }
            if (const Track* k = (*tracks)[i][2]) SampleTrack(*k, ChannelPath::kScale, t, trs.s);
            local = Compose(trs);
        }
        const int p = fileParent[i];
        world[i] = p >= 0 ? Mul(local, world[static_cast<size_t>(p)]) : local;
    }
}

}  // namespace

void SampleTrack(const Track& track, ChannelPath path, double t, double* out) {
    const size_t n = track.times.size();
    const size_t w = path == ChannelPath::kRotation ? 4 : 3;
    const bool cubic = track.interpolation == Interpolation::kCubic;
    auto value = [&](size_t k) { return &track.values[(cubic ? 3 * k + 1 : k) * w]; };
    size_t k = 0;
    while (k + 1 < n && track.times[k + 1] <= t) ++k;
    if (t <= track.times[0] || k + 1 >= n || track.interpolation == Interpolation::kStep) {
        const double* v = value(t <= track.times[0] ? 0 : k);
        std::copy(v, v + w, out);
    } else {
        const double span = track.times[k + 1] - track.times[k];
        const double u = span > 0 ? (t - track.times[k]) / span : 0;
        const double* a = value(k);
        const double* b = value(k + 1);
        if (cubic) {
            const double* outTangent = &track.values[(3 * k + 2) * w];
            const double* inTangent = &track.values[(3 * (k + 1)) * w];
            const double u2 = u * u, u3 = u2 * u;
            for (size_t c = 0; c < w; ++c)
                out[c] = (2 * u3 - 3 * u2 + 1) * a[c] + span * (u3 - 2 * u2 + u) * outTangent[c] +
                         (-2 * u3 + 3 * u2) * b[c] + span * (u3 - u2) * inTangent[c];
        } else if (path == ChannelPath::kRotation) {
            const Quat q = Slerp({a[0], a[1], a[2], a[3]}, {b[0], b[1], b[2], b[3]}, u);
            out[0] = q.x, out[1] = q.y, out[2] = q.z, out[3] = q.w;
        } else {
            for (size_t c = 0; c < w; ++c) out[c] = a[c] + (b[c] - a[c]) * u;
        }
    }
    if (path == ChannelPath::kRotation) {
        const Quat q = Normalized({out[0], out[1], out[2], out[3]});
        out[0] = q.x, out[1] = q.y, out[2] = q.z, out[3] = q.w;
    }
}

bool PlaceSkeletonAndBakeClips(Model& model, std::string& problem) {
    const size_t count = model.nodes.size();
    std::vector<int> fileParent(count);
    std::vector<Mat4> fileLocal(count);
    std::vector<Trs> restTrs(count);
    for (size_t i = 0; i < count; ++i) {
        fileParent[i] = model.nodes[i].parent;
        fileLocal[i] = model.nodes[i].matrix;
        restTrs[i] = Decompose(fileLocal[i]);
    }
    std::vector<Mat4> rest;
    WorldAt(model, fileLocal, restTrs, nullptr, 0, fileParent, rest);

    // Rest placements: bind placements, relative to the parent joint.
    std::vector<Mat4> bind(count), editorGlobal(count);
    std::vector<bool> chainRoot(count, false);
    for (size_t i = 0; i < count; ++i) {
        Node& node = model.nodes[i];
        const int p = node.parent;
        if (node.kind == NodeKind::kJoint) {
            bind[i] = node.hasBind ? node.bind : rest[i];
            if (IsJoint(model, p)) {
                node.matrix = Mul(bind[i], Inverse(bind[static_cast<size_t>(p)]));
            } else {
                chainRoot[i] = true;
                // The editor measures a skeleton's bind pose from the first
                // node above it that is not a joint: that node must sit at
                // the origin, or the skeleton goes to the top.
                if (p >= 0 && !editorGlobal[static_cast<size_t>(p)].IsIdentity(1e-9))
                    node.parent = -1;
                node.matrix = bind[i];
            }
            node.relaxed = bind[i];
            if (!IsFinite(node.matrix)) {
                problem = "joint '" + node.name + "' has a bind matrix that cannot be inverted";
                return false;
            }
        }
        editorGlobal[i] = node.parent >= 0
                              ? Mul(node.matrix, editorGlobal[static_cast<size_t>(node.parent)])
                              : node.matrix;
    }

    // A joint's pose relative to what the editor places it under.
    auto poseOf = [&](size_t j, const std::vector<Mat4>& world) {
        const Node& joint = model.nodes[j];
        const Mat4 local = chainRoot[j] ? world[j]
                                        : Mul(world[j], Inverse(world[static_cast<size_t>(fileParent[j])]));
        return OffsetFor(joint.matrix, local);
    };
    for (size_t j = 0; j < count; ++j)
        if (model.nodes[j].kind == NodeKind::kJoint) model.nodes[j].offset = poseOf(j, rest);

    // Which joints the animations move: their own channels, or for the top
    // of a chain, any node above it.
    std::vector<bool> targeted(count, false), moved(count, false);
    for (const Animation& a : model.animations)
        for (const Channel& c : a.channels)
            if (c.node >= 0 && static_cast<size_t>(c.node) < count && !c.track.times.empty())
                targeted[static_cast<size_t>(c.node)] = true;
    std::vector<bool> above(count, false);  // the node or one above it is animated
    for (size_t i = 0; i < count; ++i) {
        above[i] = targeted[i] || (fileParent[i] >= 0 && above[static_cast<size_t>(fileParent[i])]);
        moved[i] = model.nodes[i].kind == NodeKind::kJoint && (chainRoot[i] ? above[i] : targeted[i]);
    }

    // Clips, one after another unless the file recorded where they were.
    const double rate = model.frameRate > 0 ? model.frameRate : 24;
    model.clips.clear();
    int next = 1;
    for (const Animation& a : model.animations) {
        Clip clip;
        clip.name = a.name;
        clip.loop = a.loop;
        if (a.first >= 1 && a.last >= a.first && a.last <= kMaxFrames) {
            clip.first = a.first;
            clip.last = a.last;
        } else {
            const double frames = std::ceil(std::max(a.duration, 0.0) * rate - 1e-6);
            if (!(frames < kMaxFrames - next)) {
                problem = "its animations run beyond a million frames";
                return false;
            }
            clip.first = next;
            clip.last = next + std::max(0, static_cast<int>(frames));
        }
        next = std::max(next, clip.last + 1);
        model.clips.push_back(clip);
    }

    // Keys: the file's pose at each frame of each clip.
    std::vector<Mat4> world;
    for (size_t c = 0; c < model.animations.size(); ++c) {
        const Clip& clip = model.clips[c];
        const NodeTracks tracks = TracksOf(model, model.animations[c]);
        auto keyAt = [&](size_t j, int frame, const std::array<float, 6>& tcb) {
            Key key;
            key.frame = frame;
            key.offset = poseOf(j, world);
            key.tcb = tcb;
            model.nodes[j].keys.push_back(key);
            return IsFinite(key.offset);
        };
        for (int f = clip.first; f <= clip.last; ++f) {
            bool needed = false;
            for (size_t j = 0; j < count && !needed; ++j) {
                if (!moved[j]) continue;
                const auto& recorded = model.nodes[j].recordedKeys;
                needed = recorded.empty() ||
                         std::any_of(recorded.begin(), recorded.end(),
                                     [f](const Key& k) { return k.frame == f; });
            }
            if (!needed) continue;
            WorldAt(model, fileLocal, restTrs, &tracks, (f - clip.first) / rate, fileParent, world);
            for (size_t j = 0; j < count; ++j) {
                if (!moved[j]) continue;
                const auto& recorded = model.nodes[j].recordedKeys;
                bool ok = true;
                if (recorded.empty()) {
                    ok = keyAt(j, f, {0, 0, 0, 0, 0, 0});
                } else {
                    for (const Key& k : recorded)
                        if (k.frame == f) ok = ok && keyAt(j, f, k.tcb);
                }
                if (!ok) {
                    problem = "joint '" + model.nodes[j].name + "' has a key that cannot be posed";
                    return false;
                }
            }
        }
    }
    for (Node& node : model.nodes) {
        if (node.kind != NodeKind::kJoint || node.keys.empty()) continue;
        // A frame shared by two clips keeps the first clip's pose.
        std::stable_sort(node.keys.begin(), node.keys.end(),
                         [](const Key& a, const Key& b) { return a.frame < b.frame; });
        node.keys.erase(std::unique(node.keys.begin(), node.keys.end(),
                                    [](const Key& a, const Key& b) { return a.frame == b.frame; }),
                        node.keys.end());
        node.offset = node.keys.front().offset;
    }
    model.animations.clear();
    return true;
}

std::string WeightReport::Note(const std::string& mesh) const {
    if (!reduced && !rescaled && !unbound) return {};
    std::string text = mesh + ":";
    const char* separator = " ";
    auto part = [&](size_t n, const char* what) {
        if (!n) return;
        text += separator + std::to_string(n) + (n == 1 ? " vertex " : " vertices ") + what;
        separator = "; ";
    };
    part(reduced, "had more than four joint weights (the four strongest kept)");
    part(rescaled, "had weights that did not add up to 1 (normalised)");
    part(unbound, "had only zero weights (left unbound)");
    return text + ".";
}

void SetInfluences(std::vector<std::pair<int, double>> influences, Vertex& vertex,
                   WeightReport& report) {
    // The same joint twice counts once, with both weights.
    std::sort(influences.begin(), influences.end());
    std::vector<std::pair<int, double>> merged;
    for (const auto& [joint, weight] : influences) {
        if (!(weight > 0)) continue;
        if (!merged.empty() && merged.back().first == joint)
            merged.back().second += weight;
        else
            merged.push_back({joint, weight});
    }
    for (int k = 0; k < 4; ++k) vertex.joint[k] = -1, vertex.weight[k] = 0;
    if (merged.empty()) {
        ++report.unbound;
        return;
    }
    double total = 0;
    for (const auto& m : merged) total += m.second;
    if (merged.size() > 4) {
        ++report.reduced;
        std::stable_sort(merged.begin(), merged.end(),
                         [](const auto& a, const auto& b) { return a.second > b.second; });
        merged.resize(4);
    } else if (std::fabs(total - 1.0) > 1e-3) {
        ++report.rescaled;
    }
    double kept = 0;
    for (const auto& m : merged) kept += m.second;
    for (size_t k = 0; k < merged.size(); ++k) {
        vertex.joint[k] = merged[k].first;
        vertex.weight[k] = static_cast<float>(merged[k].second / kept);
    }
}

}  // namespace kinemo_plugin
