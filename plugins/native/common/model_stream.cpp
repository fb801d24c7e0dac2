#include "plugins/native/common/model_stream.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace kinemo_plugin {

namespace {

constexpr char kMagic[4] = {'K', 'R', 'M', '2'};
constexpr uint32_t kMaxText = 1 << 16;  // a name or a texture path

// Fixed sizes of the records, for checking counts against what is left.
constexpr size_t kMatrixBytes = 16 * 8;
constexpr size_t kKeyBytes = 4 + kMatrixBytes + 6 * 4;
constexpr size_t kVertexBytes = 8 * 4 + 4 * 4 + 4 * 4;
constexpr size_t kFaceBytes = 3 * 4;

class Writer {
public:
    void Bytes(const void* data, size_t size) { out.append(static_cast<const char*>(data), size); }
    void U8(uint8_t v) { Bytes(&v, 1); }
    void U32(uint32_t v) { Bytes(&v, 4); }
    void I32(int32_t v) { Bytes(&v, 4); }
    void F32(float v) { Bytes(&v, 4); }
    void F64(double v) { Bytes(&v, 8); }
    void Text(const std::string& s) {
        const uint32_t n = static_cast<uint32_t>(std::min<size_t>(s.size(), kMaxText));
        U32(n);
        Bytes(s.data(), n);
    }
    void Matrix(const Mat4& m) {
        for (double v : m.m) F64(v);
    }
    std::string out;
};

class Reader {
public:
    explicit Reader(const std::string& bytes) : data_(bytes.data()), left_(bytes.size()) {}

    bool Bytes(void* to, size_t size) {
        if (size > left_) return Fail("it ends too soon");
        std::memcpy(to, data_, size);
        data_ += size;
        left_ -= size;
        return true;
    }
    bool U8(uint8_t& v) { return Bytes(&v, 1); }
    bool U32(uint32_t& v) { return Bytes(&v, 4); }
    bool I32(int32_t& v) { return Bytes(&v, 4); }
    bool F32(float& v) {
        return Bytes(&v, 4) && (std::isfinite(v) || Fail("it holds a number that is not finite"));
    }
    bool F64(double& v) {
        return Bytes(&v, 8) && (std::isfinite(v) || Fail("it holds a number that is not finite"));
    }
    bool Text(std::string& s) {
        uint32_t n = 0;
        if (!U32(n)) return false;
        if (n > kMaxText) return Fail("a name is too long");
        s.resize(n);
        return Bytes(s.data(), n);
    }
    bool Matrix(Mat4& m) {
        for (double& v : m.m)
            if (!F64(v)) return false;
        return true;
    }
    // A count of records of `size` bytes each that the rest can hold.
    bool Count(uint32_t& n, size_t size, const char* what) {
        if (!U32(n)) return false;
        if (static_cast<size_t>(n) > left_ / size) return Fail(std::string("its ") + what + " count is more than it holds");
        return true;
    }
    bool Fail(const std::string& why) {
        if (why_.empty()) why_ = why;
        return false;
    }
    size_t Left() const { return left_; }
    const std::string& Why() const { return why_; }

private:
    const char* data_;
    size_t left_;
    std::string why_;
};

bool ReadNode(Reader& in, Model& model, int index) {
    Node& node = model.nodes[static_cast<size_t>(index)];
    uint8_t kind = 0, normals = 0;
    int32_t parent = 0, id = 0;
    if (!in.U8(kind) || !in.Text(node.name) || !in.I32(parent) || !in.Matrix(node.matrix) ||
        !in.I32(id) || !in.Matrix(node.offset) || !in.Matrix(node.relaxed))
        return false;
    uint8_t hasBind = 0;
    if (!in.U8(hasBind) || !in.Matrix(node.bind)) return false;
    node.hasBind = hasBind != 0;
    if (kind > static_cast<uint8_t>(NodeKind::kJoint)) return in.Fail("a node is of no known kind");
    if (parent < -1 || parent >= index) return in.Fail("a node's parent does not come before it");
    node.kind = static_cast<NodeKind>(kind);
    node.parent = parent;
    node.id = id;

    uint32_t keys = 0;
    if (!in.Count(keys, kKeyBytes, "key")) return false;
    node.keys.resize(keys);
    for (Key& k : node.keys) {
        int32_t frame = 0;
        if (!in.I32(frame) || !in.Matrix(k.offset)) return false;
        for (float& v : k.tcb)
            if (!in.F32(v)) return false;
        if (frame < -1000000 || frame > 1000000) return in.Fail("a key is beyond a million frames");
        k.frame = frame;
    }

    uint32_t vertices = 0;
    if (!in.Count(vertices, kVertexBytes, "vertex")) return false;
    node.vertices.resize(vertices);
    const int nodes = static_cast<int>(model.nodes.size());
    for (Vertex& v : node.vertices) {
        for (float* f : {v.position, v.normal})
            for (int i = 0; i < 3; ++i)
                if (!in.F32(f[i])) return false;
        if (!in.F32(v.texcoords[0]) || !in.F32(v.texcoords[1])) return false;
        for (int& j : v.joint) {
            int32_t joint = 0;
            if (!in.I32(joint)) return false;
            if (joint < -1 || joint >= nodes) return in.Fail("a vertex names a node that is not there");
            j = joint;
        }
        for (float& w : v.weight)
            if (!in.F32(w)) return false;
    }

    uint32_t faces = 0;
    if (!in.Count(faces, kFaceBytes, "face")) return false;
    node.faces.resize(faces);
    for (auto& face : node.faces)
        for (int& corner : face) {
            int32_t c = 0;
            if (!in.I32(c)) return false;
            if (c < 0 || static_cast<uint32_t>(c) >= vertices)
                return in.Fail("a face names a vertex that is not there");
            corner = c;
        }
    if (!in.Text(node.texture) || !in.U8(normals)) return false;
    node.hasNormals = normals != 0;
    return true;
}

bool ReadAnimation(Reader& in, Model& model, Animation& a) {
    uint32_t channels = 0;
    if (!in.Text(a.name) || !in.F64(a.duration) ||
        !in.Count(channels, 4 + 1 + 1 + 4, "channel"))
        return false;
    if (!(a.duration >= 0 && a.duration < 1e6))
        return in.Fail("an animation lasts longer than a million seconds");
    a.channels.resize(channels);
    for (Channel& c : a.channels) {
        int32_t node = 0;
        uint8_t path = 0, interpolation = 0;
        uint32_t keys = 0;
        if (!in.I32(node) || !in.U8(path) || !in.U8(interpolation)) return false;
        if (node < 0 || static_cast<size_t>(node) >= model.nodes.size())
            return in.Fail("a channel names a node that is not there");
        if (path > 2 || interpolation > 2) return in.Fail("a channel is of no known kind");
        c.node = node;
        c.path = static_cast<ChannelPath>(path);
        c.track.interpolation = static_cast<Interpolation>(interpolation);
        const size_t values = static_cast<size_t>(c.track.Width(c.path)) *
                              (c.track.interpolation == Interpolation::kCubic ? 3 : 1);
        if (!in.Count(keys, 8 * (1 + values), "key")) return false;
        if (keys == 0) return in.Fail("a channel has no keys");
        c.track.times.resize(keys);
        for (double& t : c.track.times)
            if (!in.F64(t)) return false;
        for (size_t k = 1; k < keys; ++k)
            if (c.track.times[k] < c.track.times[k - 1])
                return in.Fail("a channel's key times are not rising");
        if (!(std::fabs(c.track.times.back()) < 1e6) || !(std::fabs(c.track.times.front()) < 1e6))
            return in.Fail("a channel runs beyond a million seconds");
        c.track.values.resize(keys * values);
        for (double& v : c.track.values)
            if (!in.F64(v)) return false;
    }
    return true;
}

}  // namespace

std::string ModelStream(const Model& model) {
    Writer out;
    out.Bytes(kMagic, 4);
    out.F64(model.frameRate);
    for (int v : {model.totalFrames, model.frame, model.interpolation, model.firstFrame, model.lastFrame})
        out.I32(v);
    out.U32(static_cast<uint32_t>(model.nodes.size()));
    for (const Node& node : model.nodes) {
        out.U8(static_cast<uint8_t>(node.kind));
        out.Text(node.name);
        out.I32(node.parent);
        out.Matrix(node.matrix);
        out.I32(node.id);
        out.Matrix(node.offset);
        out.Matrix(node.relaxed);
        out.U8(node.hasBind ? 1 : 0);
        out.Matrix(node.bind);
        out.U32(static_cast<uint32_t>(node.keys.size()));
        for (const Key& k : node.keys) {
            out.I32(k.frame);
            out.Matrix(k.offset);
            for (float v : k.tcb) out.F32(v);
        }
        out.U32(static_cast<uint32_t>(node.vertices.size()));
        for (const Vertex& v : node.vertices) {
            for (const float* f : {v.position, v.normal})
                for (int i = 0; i < 3; ++i) out.F32(f[i]);
            out.F32(v.texcoords[0]);
            out.F32(v.texcoords[1]);
            for (int j : v.joint) out.I32(j);
            for (float w : v.weight) out.F32(w);
        }
        out.U32(static_cast<uint32_t>(node.faces.size()));
        for (const auto& face : node.faces)
            for (int c : face) out.I32(c);
        out.Text(node.texture);
        out.U8(node.hasNormals ? 1 : 0);
    }
    out.U32(static_cast<uint32_t>(model.animations.size()));
    for (const Animation& a : model.animations) {
        out.Text(a.name);
        out.F64(a.duration);
        out.U32(static_cast<uint32_t>(a.channels.size()));
        for (const Channel& c : a.channels) {
            out.I32(c.node);
            out.U8(static_cast<uint8_t>(c.path));
            out.U8(static_cast<uint8_t>(c.track.interpolation));
            out.U32(static_cast<uint32_t>(c.track.times.size()));
            for (double t : c.track.times) out.F64(t);
            for (double v : c.track.values) out.F64(v);
        }
    }
    out.U32(static_cast<uint32_t>(model.notes.size()));
    for (const std::string& note : model.notes) out.Text(note);
    return out.out;
}

bool ParseModelStream(const std::string& bytes, Model& model, std::string& why) {
    Reader in(bytes);
    char magic[4] = {};
    int32_t settings[5] = {};
    uint32_t nodes = 0;
    // The smallest node: kind, empty name, parent, three matrices, id, four counts and a flag.
    constexpr size_t kSmallestNode = 1 + 4 + 4 + 4 * kMatrixBytes + 1 + 4 + 3 * 4 + 4 + 1;
    bool ok = in.Bytes(magic, 4) &&
              (std::memcmp(magic, kMagic, 4) == 0 || in.Fail("it is not a model stream")) &&
              in.F64(model.frameRate);
    for (int32_t& v : settings) ok = ok && in.I32(v);
    ok = ok && in.Count(nodes, kSmallestNode, "node");
    if (ok) {
        model.totalFrames = settings[0];
        model.frame = settings[1];
        model.interpolation = settings[2];
        model.firstFrame = settings[3];
        model.lastFrame = settings[4];
        model.nodes.assign(nodes, Node());
        for (uint32_t i = 0; ok && i < nodes; ++i) ok = ReadNode(in, model, static_cast<int>(i));
    }
    uint32_t animations = 0, notes = 0;
    ok = ok && in.Count(animations, 4 + 8 + 4, "animation");
    if (ok) model.animations.assign(animations, Animation());
    for (uint32_t i = 0; ok && i < animations; ++i) ok = ReadAnimation(in, model, model.animations[i]);
    ok = ok && in.Count(notes, 4, "note");
    if (ok) model.notes.assign(notes, std::string());
    for (uint32_t i = 0; ok && i < notes; ++i) ok = in.Text(model.notes[i]);
    if (ok && in.Left() != 0) ok = in.Fail("it goes on after its end");
    // Weights go to joints only (the nodes are all known by now).
    for (const Node& node : model.nodes)
        for (const Vertex& v : node.vertices)
            for (int j : v.joint)
                if (ok && j >= 0 && model.nodes[static_cast<size_t>(j)].kind != NodeKind::kJoint)
                    ok = in.Fail("a vertex is weighted to a node that is no joint");
    if (!ok) why = "the reader's answer is damaged (" + in.Why() + ")";
    return ok;
}

}  // namespace kinemo_plugin
