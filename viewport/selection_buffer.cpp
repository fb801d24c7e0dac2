#include "viewport/selection_buffer.h"

#include <algorithm>
#include <cmath>

namespace {

// Signed distances to the six planes of the view volume (inside >= 0).
constexpr int kPlanes = 6;

// Order of the planes: x <= w, x >= -w, y <= w, y >= -w, z >= -w (near),
// z <= w (far). Clipping runs through them in this order.
template <typename C>
float PlaneDistance(const C& c, int plane) {
    switch (plane) {
        case 0:
            return c.w - c.x;
        case 1:
            return c.w + c.x;
        case 2:
            return c.w - c.y;
        case 3:
            return c.w + c.y;
        case 4:
            return c.w + c.z;
        default:
            return c.w - c.z;
    }
}

// The point at t from `out` towards `in`: new vertices are measured from
// the outside end, so a clipped corner rounds the same way from every edge.
template <typename C>
C Towards(const C& out, const C& in, float t) {
    return {out.x + t * (in.x - out.x), out.y + t * (in.y - out.y), out.z + t * (in.z - out.z),
            out.w + t * (in.w - out.w)};
}

}  // namespace

uint32_t rgSelectionBuffer::DepthToUnsigned(float z) {
    // GL scales in single precision by 2^32; the top of the range would
    // overflow, so it saturates.
    if (!(z > 0.0f)) return 0;
    const float scaled = z * 4294967296.0f;
    if (scaled >= 4294967295.0f) return 0xFFFFFFFFu;
    return static_cast<uint32_t>(scaled);
}

void rgSelectionBuffer::Begin(const rgViewportRect& viewport) {
    viewport_ = viewport;
    records_.clear();
    names_.clear();
    hit_ = false;
    minZ_ = 1.0f;
    maxZ_ = 0.0f;
}

int rgSelectionBuffer::End() {
    if (hit_) WriteRecord();
    names_.clear();
    return static_cast<int>(records_.size());
}

void rgSelectionBuffer::SetModelview(const matrix44& modelview) {
    modelview_ = modelview;
    mvp_ = modelview_ * projection_;
}

void rgSelectionBuffer::SetProjection(const matrix44& projection) {
    projection_ = projection;
    mvp_ = modelview_ * projection_;
}

void rgSelectionBuffer::WriteRecord() {
    rgHitRecord r;
    r.names = names_;
    r.minDepth = DepthToUnsigned(minZ_);
    r.maxDepth = DepthToUnsigned(maxZ_);
    records_.push_back(std::move(r));
    hit_ = false;
    minZ_ = 1.0f;
    maxZ_ = 0.0f;
}

void rgSelectionBuffer::InitNames() {
    if (hit_) WriteRecord();
    names_.clear();
}

void rgSelectionBuffer::PushName(uint32_t name) {
    if (hit_) WriteRecord();
    names_.push_back(name);
}

void rgSelectionBuffer::PopName() {
    if (hit_) WriteRecord();
    if (!names_.empty()) names_.pop_back();
}

void rgSelectionBuffer::LoadName(uint32_t name) {
    if (hit_) WriteRecord();
    if (names_.empty())
        names_.push_back(
            name);  // GL reports an error and ignores it; a growable stack just takes it
    else
        names_.back() = name;
}

rgSelectionBuffer::Clip rgSelectionBuffer::ToClip(const vector3& p) const {
    const float* m = mvp_.m;
    return {p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12],
            p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13],
            p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14],
            p.x * m[3] + p.y * m[7] + p.z * m[11] + m[15]};
}

unsigned rgSelectionBuffer::Outcode(const Clip& c) {
    unsigned code = 0;
    for (int plane = 0; plane < kPlanes; ++plane)
        if (!(PlaneDistance(c, plane) >= 0.0f)) code |= 1u << plane;
    return code;
}

void rgSelectionBuffer::WindowXY(const Clip& c, float& x, float& y) const {
    const float oow = 1.0f / c.w;
    const float hw = static_cast<float>(viewport_.width) * 0.5f;
    const float hh = static_cast<float>(viewport_.height) * 0.5f;
    x = c.x * oow * hw + (static_cast<float>(viewport_.x) + hw);
    y = c.y * oow * hh + (static_cast<float>(viewport_.y) + hh);
}

float rgSelectionBuffer::WindowZ(const Clip& c) const {
    const float oow = 1.0f / c.w;
    return c.z * oow * 0.5f + 0.5f;
}

void rgSelectionBuffer::Widen(float z) {
    hit_ = true;
    minZ_ = std::min(minZ_, z);
    maxZ_ = std::max(maxZ_, z);
}

bool rgSelectionBuffer::BoxOutside(const vector3& lo, const vector3& hi) const {
    Clip corners[8];
    float scale = 0.0f;
    for (int i = 0; i < 8; ++i) {
        corners[i] = ToClip({i & 1 ? hi.x : lo.x, i & 2 ? hi.y : lo.y, i & 4 ? hi.z : lo.z});
        const Clip& c = corners[i];
        scale = std::max({scale, std::fabs(c.x), std::fabs(c.y), std::fabs(c.z), std::fabs(c.w)});
    }
    // Points inside the box are convex combinations of the corners; the
    // margin covers the rounding of their own transformation.
    const float margin = 1e-4f * scale;
    for (int plane = 0; plane < kPlanes; ++plane) {
        bool allOutside = true;
        for (const Clip& c : corners) allOutside = allOutside && PlaneDistance(c, plane) < -margin;
        if (allOutside) return true;
    }
    return false;
}

void rgSelectionBuffer::Point(const vector3& p) {
    Points(&p, 1);
}

void rgSelectionBuffer::Points(const vector3* points, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const Clip c = ToClip(points[i]);
        if (Outcode(c) == 0) Widen(WindowZ(c));
    }
}

void rgSelectionBuffer::Line(const vector3& a, const vector3& b) {
    const vector3 ends[2] = {a, b};
    Lines(ends, 1);
}

void rgSelectionBuffer::Lines(const vector3* ends, size_t lineCount) {
    for (size_t i = 0; i < lineCount; ++i) {
        const Clip a = ToClip(ends[2 * i]), b = ToClip(ends[2 * i + 1]);
        const unsigned ca = Outcode(a), cb = Outcode(b);
        if (ca & cb) continue;
        if ((ca | cb) == 0) {
            Widen(WindowZ(a));
            Widen(WindowZ(b));
            continue;
        }
        // Parametric clipping: t0 is measured from a, t1 from b.
        float t0 = 0.0f, t1 = 0.0f;
        bool visible = true;
        for (int plane = 0; plane < kPlanes && visible; ++plane) {
            if (!((ca | cb) & (1u << plane))) continue;
            const float da = PlaneDistance(a, plane), db = PlaneDistance(b, plane);
            if (db < 0.0f) t1 = std::max(t1, db / (db - da));
            if (da < 0.0f) t0 = std::max(t0, da / (da - db));
            if (t0 + t1 >= 1.0f) visible = false;
        }
        if (!visible) continue;
        Widen(WindowZ(ca ? Towards(a, b, t0) : a));
        Widen(WindowZ(cb ? Towards(b, a, t1) : b));
    }
}

void rgSelectionBuffer::Triangle(const vector3& a, const vector3& b, const vector3& c) {
    const vector3 p[3] = {a, b, c};
    const int32_t corners[3] = {0, 1, 2};
    Triangles(p, 3, corners, 1);
}

void rgSelectionBuffer::SetPolygonOffset(bool enabled, float factor, float units,
                                         float resolvableStep) {
    offset_ = enabled;
    offsetFactor_ = factor;
    offsetUnits_ = units * resolvableStep;
}

void rgSelectionBuffer::Polygon(const Clip* polygon, size_t n) {
    float x[9 + 3], y[9 + 3], z[9 + 3];
    for (size_t i = 0; i < n; ++i) {
        WindowXY(polygon[i], x[i], y[i]);
        z[i] = WindowZ(polygon[i]);
    }
    // Drawn as a fan. GL window coordinates (y up): counter-clockwise is
    // front; a zero-area triangle counts as a back face.
    bool front = false;
    float offset = 0.0f;
    bool offsetFound = false;
    for (size_t i = 1; i + 1 < n; ++i) {
        // Edges from the fan's third corner, as the rasterizer measures them.
        const float ex = x[0] - x[i + 1], ey = y[0] - y[i + 1], ez = z[0] - z[i + 1];
        const float fx = x[i] - x[i + 1], fy = y[i] - y[i + 1], fz = z[i] - z[i + 1];
        const float det = ex * fy - ey * fx;
        if (det > 0.0f) front = true;
        if (offset_ && !offsetFound && det != 0.0f) {
            // Depth slope of the triangle's plane in window pixels.
            const float invDet = 1.0f / det;
            const float dzdx = std::fabs((ey * fz - ez * fy) * invDet);
            const float dzdy = std::fabs((ez * fx - ex * fz) * invDet);
            offset = offsetUnits_ + std::max(dzdx, dzdy) * offsetFactor_;
            offsetFound = true;
        }
    }
    if (cull_ && !front) return;
    for (size_t i = 0; i < n; ++i) Widen(std::clamp(z[i] + offset, 0.0f, 1.0f));
}

void rgSelectionBuffer::TriangleClipped(const Clip& a, const Clip& b, const Clip& c,
                                        unsigned orCodes) {
    // Sutherland-Hodgman in clip space against the planes the triangle crosses.
    Clip polygonA[9 + 3], polygonB[9 + 3];
    Clip* in = polygonA;
    Clip* out = polygonB;
    size_t n = 3;
    in[0] = a, in[1] = b, in[2] = c;
    for (int plane = 0; plane < kPlanes && n > 0; ++plane) {
        if (!(orCodes & (1u << plane))) continue;
        size_t m = 0;
        for (size_t i = 0; i < n; ++i) {
            const Clip& p = in[i];
            const Clip& q = in[(i + 1) % n];
            const float dp = PlaneDistance(p, plane), dq = PlaneDistance(q, plane);
            if (dp >= 0.0f) out[m++] = p;
            if ((dp >= 0.0f) != (dq >= 0.0f)) {
                if (dp >= 0.0f)
                    out[m++] = Towards(q, p, dq / (dq - dp));
                else
                    out[m++] = Towards(p, q, dp / (dp - dq));
            }
        }
        std::swap(in, out);
        n = m;
    }
    if (n >= 3) Polygon(in, n);
}

void rgSelectionBuffer::Triangles(const vector3* positions, size_t count, const int32_t* corners,
                                  size_t triangleCount) {
    scratch_.resize(count);
    codes_.resize(count);
    for (size_t i = 0; i < count; ++i) {
        scratch_[i] = ToClip(positions[i]);
        codes_[i] = Outcode(scratch_[i]);
    }
    for (size_t t = 0; t < triangleCount; ++t) {
        const int32_t ia = corners[3 * t], ib = corners[3 * t + 1], ic = corners[3 * t + 2];
        if (ia < 0 || ib < 0 || ic < 0 || static_cast<size_t>(ia) >= count ||
            static_cast<size_t>(ib) >= count || static_cast<size_t>(ic) >= count)
            continue;
        const unsigned ca = codes_[ia], cb = codes_[ib], cc = codes_[ic];
        if (ca & cb & cc) continue;  // wholly outside one plane
        const Clip &a = scratch_[ia], &b = scratch_[ib], &c = scratch_[ic];
        if ((ca | cb | cc) != 0) {
            TriangleClipped(a, b, c, ca | cb | cc);
            continue;
        }
        const Clip polygon[3] = {a, b, c};
        Polygon(polygon, 3);
    }
}
