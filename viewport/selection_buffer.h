#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/matrix44.h"
#include "core/vector3.h"
#include "viewport/camera.h"

// One record of selection mode: the name stack at the time of the hit and
// the window depth range of what was hit, as unsigned 32-bit values
// (depth x 0xFFFFFFFF), exactly as OpenGL selection mode reports them.
struct rgHitRecord {
    std::vector<uint32_t> names;
    uint32_t minDepth = 0;
    uint32_t maxDepth = 0;
};

// OpenGL selection mode on the CPU. Points, lines and triangles go through
// the modelview and projection matrices (row-vector convention: clip =
// p x modelview x projection); a primitive is a hit when any part of it
// survives clipping to the view volume, and the clipped primitive's window
// depths widen the pending hit. A hit record is written when the name stack
// changes or the pass ends, as in GL. Point size and line width play no part,
// as in GL; with culling on, triangles that face away (clockwise in window
// coordinates, zero area included) are not hits. Records grow as needed.
class rgSelectionBuffer {
public:
    // Starts a pass (glRenderMode(GL_SELECT)): no records, empty name stack.
    void Begin(const rgViewportRect& viewport);
    // Ends it (glRenderMode(GL_RENDER)): writes the pending hit and returns
    // the number of records.
    int End();
    const std::vector<rgHitRecord>& Records() const { return records_; }

    void SetModelview(const matrix44& modelview);
    void SetProjection(const matrix44& projection);
    // Back faces are culled (front faces counter-clockwise).
    void SetCulling(bool cullBackFaces) { cull_ = cullBackFaces; }
    // Polygon offset of filled triangles (glPolygonOffset with
    // GL_POLYGON_OFFSET_FILL): depth += factor x the triangle's depth slope
    // per window pixel + units x resolvableStep. Mesa's selection mode
    // resolves no step there (0), whatever its depth buffer.
    void SetPolygonOffset(bool enabled, float factor = 0, float units = 0,
                          float resolvableStep = 0);

    void InitNames();
    void PushName(uint32_t name);
    void PopName();
    void LoadName(uint32_t name);

    void Point(const vector3& p);
    void Line(const vector3& a, const vector3& b);
    void Triangle(const vector3& a, const vector3& b, const vector3& c);
    // Many primitives at once; same results as one call per primitive.
    // Triangles naming a vertex outside 0..count-1 are skipped.
    void Points(const vector3* points, size_t count);
    void Lines(const vector3* ends, size_t lineCount);  // ends[2i], ends[2i+1]
    void Triangles(const vector3* positions, size_t count, const int32_t* corners,
                   size_t triangleCount);

    // Whether every point of the axis-aligned box lies beyond one plane of
    // the view volume, by a margin that rounding cannot cross: then no
    // primitive inside it can hit, and the caller may skip it.
    bool BoxOutside(const vector3& lo, const vector3& hi) const;

    // Whether anything hit since the last record was written.
    bool PendingHit() const { return hit_; }

    // Window depth scaled to the unsigned range as GL selection mode does.
    static uint32_t DepthToUnsigned(float z);

private:
    struct Clip {
        float x, y, z, w;
    };
    Clip ToClip(const vector3& p) const;
    static unsigned Outcode(const Clip& c);
    void WindowXY(const Clip& c, float& x, float& y) const;
    float WindowZ(const Clip& c) const;
    void Widen(float z);
    void TriangleClipped(const Clip& a, const Clip& b, const Clip& c, unsigned orCodes);
    // A triangle, or a clipped triangle as a fan, that survived clipping.
    void Polygon(const Clip* polygon, size_t n);
    void WriteRecord();

    rgViewportRect viewport_;
    matrix44 modelview_;
    matrix44 projection_;
    matrix44 mvp_;
    bool cull_ = false;
    bool offset_ = false;
    float offsetFactor_ = 0;
    float offsetUnits_ = 0;  // already scaled by the smallest depth step
    std::vector<uint32_t> names_;
    std::vector<rgHitRecord> records_;
    bool hit_ = false;
    float minZ_ = 1.0f;
    float maxZ_ = 0.0f;
    std::vector<Clip> scratch_;
    std::vector<unsigned> codes_;
};
