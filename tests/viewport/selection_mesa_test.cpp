// The selection emulator against Mesa's own GL selection mode (OSMesa, no
// display needed): the same primitives under the same matrices give the
// same hit records.
#include <GL/osmesa.h>
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "viewport/camera.h"
#include "viewport/selection_buffer.h"

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 150;

enum class Kind { Points, Lines, Triangles };

struct Primitives {
    Kind kind;
    std::vector<vector3> vertices;
    std::vector<uint32_t> nameBefore;  // per primitive: name loaded before it (0: keep)
};

struct Case {
    const char* name;
    bool perspective;
    float pickX, pickY, pickW, pickH;  // window coordinates, y up; 0 width: no pick matrix
    bool cull;
    Primitives prims;
    bool offset = false;  // polygon offset (1, 1) for filled triangles, as viewports set it
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class MesaContext {
public:
    MesaContext() : pixels_(kWidth * kHeight * 4) {
        context_ = OSMesaCreateContextExt(OSMESA_RGBA, 24, 0, 0, nullptr);
        if (context_)
            made_ = OSMesaMakeCurrent(context_, pixels_.data(), GL_UNSIGNED_BYTE, kWidth, kHeight);
    }
    ~MesaContext() {
        if (context_) OSMesaDestroyContext(context_);
    }
    bool Ready() const { return context_ && made_; }

private:
    OSMesaContext context_ = nullptr;
    bool made_ = false;
    std::vector<unsigned char> pixels_;
};

size_t PerPrimitive(Kind k) {
    return k == Kind::Points ? 1 : k == Kind::Lines ? 2 : 3;
}

void Matrices(const Case& c, matrix44& modelview, matrix44& projection, rgViewportRect& viewport) {
    viewport = {0, 0, kWidth, kHeight};
    const float aspect = static_cast<float>(kWidth) / kHeight;
    rgViewportState state;
    if (c.perspective) {
        state.projection = kProjPerspective;
        state.perspAngles.set(0.3f, 0.5f, 0);
        state.perspOffset.set(0, -1, -10);
    } else {
        state.projection = kProjFront;
        state.orthoView.set(0.5f, -0.25f, 0.2f);
    }
    modelview = ViewMatrix(state);
    projection = ProjectionMatrix(state.projection, aspect);
    if (c.pickW > 0)
        projection = projection * PickMatrix(c.pickX, c.pickY, c.pickW, c.pickH, viewport);
}

std::vector<rgHitRecord> MesaSelect(const Case& c) {
    matrix44 modelview, projection;
    rgViewportRect vp;
    Matrices(c, modelview, projection, vp);
    glViewport(vp.x, vp.y, vp.width, vp.height);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projection.data());
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(modelview.data());
    if (c.offset)
        glEnable(GL_POLYGON_OFFSET_FILL);
    else
        glDisable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1.0f, 1.0f);
    if (c.cull)
        glEnable(GL_CULL_FACE);
    else
        glDisable(GL_CULL_FACE);
    std::vector<GLuint> buffer(4096);
    glSelectBuffer(static_cast<GLsizei>(buffer.size()), buffer.data());
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(1);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, c.prims.vertices.data());
    const size_t per = PerPrimitive(c.prims.kind);
    const GLenum mode = c.prims.kind == Kind::Points  ? GL_POINTS
                        : c.prims.kind == Kind::Lines ? GL_LINES
                                                      : GL_TRIANGLES;
    for (size_t i = 0; i * per < c.prims.vertices.size(); ++i) {
        if (i < c.prims.nameBefore.size() && c.prims.nameBefore[i] != 0)
            glLoadName(c.prims.nameBefore[i]);
        glDrawArrays(mode, static_cast<GLint>(i * per), static_cast<GLsizei>(per));
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    const GLint count = glRenderMode(GL_RENDER);
    std::vector<rgHitRecord> records;
    size_t at = 0;
    for (GLint r = 0; r < count; ++r) {
        rgHitRecord rec;
        const GLuint names = buffer[at++];
        rec.minDepth = buffer[at++];
        rec.maxDepth = buffer[at++];
        for (GLuint k = 0; k < names; ++k) rec.names.push_back(buffer[at++]);
        records.push_back(rec);
    }
    return records;
}

std::vector<rgHitRecord> EmulatorSelect(const Case& c) {
    matrix44 modelview, projection;
    rgViewportRect vp;
    Matrices(c, modelview, projection, vp);
    rgSelectionBuffer buffer;
    buffer.SetProjection(projection);
    buffer.SetModelview(modelview);
    buffer.SetCulling(c.cull);
    buffer.SetPolygonOffset(c.offset, 1.0f, 1.0f, 0.0f);
    buffer.Begin(vp);
    buffer.InitNames();
    buffer.PushName(1);
    const std::vector<vector3>& v = c.prims.vertices;
    const size_t per = PerPrimitive(c.prims.kind);
    for (size_t i = 0; i * per < v.size(); ++i) {
        if (i < c.prims.nameBefore.size() && c.prims.nameBefore[i] != 0)
            buffer.LoadName(c.prims.nameBefore[i]);
        if (c.prims.kind == Kind::Points)
            buffer.Point(v[i]);
        else if (c.prims.kind == Kind::Lines)
            buffer.Line(v[2 * i], v[2 * i + 1]);
        else
            buffer.Triangle(v[3 * i], v[3 * i + 1], v[3 * i + 2]);
    }
    buffer.End();
    return buffer.Records();
}

// Depths agree bit for bit, except for triangles cut by several planes,
// whose new corners may round differently by a unit or two in the last
// place of a single-precision depth (2^-24 of the range is 256 units).
constexpr int64_t kDepthTolerance = 512;

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        // Points: inside, outside, behind the eye, on both sides of a pick region.
        {"points_full_view_ortho",
         false,
         0,
         0,
         0,
         0,
         false,
         {Kind::Points, {{0, 0, 0}, {1, 1, 5}, {-2, 1, -30}}, {}}},
        {"points_outside_ortho",
         false,
         0,
         0,
         0,
         0,
         false,
         {Kind::Points, {{40, 0, 0}, {0, 0, 300}}, {}}},
        {"points_perspective",
         true,
         0,
         0,
         0,
         0,
         false,
         {Kind::Points, {{0, 0, 0}, {1, 2, 3}, {0, 0, -600}, {0, 0, 40}}, {}}},
        {"point_in_pick_region",
         false,
         100,
         75,
         5,
         5,
         false,
         {Kind::Points, {{-0.5f, 0.25f, 0.7f}}, {}}},
        {"point_beside_pick_region",
         false,
         100,
         75,
         5,
         5,
         false,
         {Kind::Points, {{0.5f, 0.25f, 0}}, {}}},
        // Lines: inside, crossing the near/far planes, crossing a side of the pick region.
        {"line_inside_perspective",
         true,
         0,
         0,
         0,
         0,
         false,
         {Kind::Lines, {{-1, 0, 0}, {1, 1, 1}}, {}}},
        {"line_through_near_plane",
         true,
         0,
         0,
         0,
         0,
         false,
         {Kind::Lines, {{0, 1, 0}, {0, 1, 30}}, {}}},
        {"line_through_far_plane_ortho",
         false,
         0,
         0,
         0,
         0,
         false,
         {Kind::Lines, {{0, 0, -400}, {0.5f, 0.5f, 400}}, {}}},
        {"line_across_pick_region",
         false,
         100,
         75,
         5,
         5,
         false,
         {Kind::Lines, {{-5, 0.25f, -1}, {5, 0.25f, 2}}, {}}},
        {"line_missing_pick_region",
         false,
         100,
         75,
         5,
         5,
         false,
         {Kind::Lines, {{-5, 3, -1}, {5, 3, 2}}, {}}},
        {"line_across_pick_region_perspective",
         true,
         90,
         80,
         4,
         4,
         false,
         {Kind::Lines, {{-20, 0, 0}, {20, 2, -3}, {-3, -20, 1}, {2, 20, -1}}, {}}},
        // Triangles: inside, clipped, covering the pick region with every corner outside.
        {"triangle_inside_ortho",
         false,
         0,
         0,
         0,
         0,
         false,
         {Kind::Triangles, {{-1, -1, 0}, {1, -1, 1}, {0, 1, -1}}, {}}},
        {"triangle_covering_pick_region",
         false,
         100,
         75,
         5,
         5,
         false,
         {Kind::Triangles, {{-20, -20, -3}, {20, -20, 0}, {0, 30, 6}}, {}}},
        {"triangle_beside_pick_region",
         false,
         100,
         75,
         5,
         5,
         false,
         {Kind::Triangles, {{2, 2, 0}, {4, 2, 0}, {3, 4, 0}}, {}}},
        {"triangle_through_near_plane",
         true,
         0,
         0,
         0,
         0,
         false,
         {Kind::Triangles, {{-2, 0, -2}, {2, 0, -2}, {0, 1, 40}}, {}}},
        {"triangle_covering_pick_perspective",
         true,
         100,
         70,
         5,
         5,
         false,
         {Kind::Triangles, {{-50, -1, -50}, {50, -1, -50}, {0, -1, 50}}, {}}},
        // Culling: the same triangle front and back.
        {"front_face_culled_view",
         false,
         0,
         0,
         0,
         0,
         true,
         {Kind::Triangles, {{-1, -1, 0}, {1, -1, 0}, {0, 1, 0}}, {}}},
        {"back_face_culled",
         false,
         0,
         0,
         0,
         0,
         true,
         {Kind::Triangles, {{-1, -1, 0}, {0, 1, 0}, {1, -1, 0}}, {}}},
        {"back_face_not_culled",
         false,
         0,
         0,
         0,
         0,
         false,
         {Kind::Triangles, {{-1, -1, 0}, {0, 1, 0}, {1, -1, 0}}, {}}},
        {"clipped_back_face_culled",
         true,
         100,
         70,
         5,
         5,
         true,
         {Kind::Triangles, {{-50, -1, -50}, {0, -1, 50}, {50, -1, -50}}, {}}},
        // Polygon offset: sloped, facing the screen, clipped.
        {"offset_sloped_triangle",
         false,
         0,
         0,
         0,
         0,
         false,
         {Kind::Triangles, {{-1, -1, 0}, {1, -1, 1}, {0, 1, -1}}, {}},
         true},
        {"offset_triangle_facing_screen",
         false,
         0,
         0,
         0,
         0,
         false,
         {Kind::Triangles, {{-1, -1, 2}, {1, -1, 2}, {0, 1, 2}}, {}},
         true},
        {"offset_clipped_perspective",
         true,
         100,
         70,
         5,
         5,
         false,
         {Kind::Triangles, {{-50, -1, -50}, {50, -1, -50}, {0, -1, 50}}, {}},
         true},
        {"offset_leaves_lines_alone",
         false,
         0,
         0,
         0,
         0,
         false,
         {Kind::Lines, {{-1, 0, 0}, {1, 1, 1}}, {}},
         true},
        // Several names: a record per run of hits under one name.
        {"records_per_name",
         false,
         0,
         0,
         0,
         0,
         false,
         {Kind::Points, {{0, 0, 0}, {0.1f, 0, 1}, {40, 0, 0}, {0.2f, 0.1f, -2}}, {0, 7, 8, 9}}},
    };
    return cases;
}

class SelectionAgainstMesa : public ::testing::TestWithParam<Case> {};

TEST_P(SelectionAgainstMesa, SameHitRecords) {
    MesaContext mesa;
    if (!mesa.Ready()) GTEST_SKIP() << "OSMesa context not available";
    const Case& c = GetParam();
    std::vector<rgHitRecord> expected = MesaSelect(c);
    // Mesa scales depths by 2^32 in single precision and converts without a
    // bound, so a hit on the far plane (depth exactly 1) comes back as 0. The
    // emulator gives 0xFFFFFFFF, OpenGL's own 2^32 - 1 scaling.
    for (rgHitRecord& r : expected)
        if (r.maxDepth < r.minDepth) r.maxDepth = 0xFFFFFFFFu;
    const std::vector<rgHitRecord> actual = EmulatorSelect(c);
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].names, expected[i].names) << "record " << i;
        EXPECT_NEAR(static_cast<double>(actual[i].minDepth),
                    static_cast<double>(expected[i].minDepth), kDepthTolerance)
            << "record " << i << " min depth";
        EXPECT_NEAR(static_cast<double>(actual[i].maxDepth),
                    static_cast<double>(expected[i].maxDepth), kDepthTolerance)
            << "record " << i << " max depth";
    }
}

INSTANTIATE_TEST_SUITE_P(Primitives, SelectionAgainstMesa, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
