#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "core/matrix44.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

matrix44 FromEulers(float a, float b, float c) {
    matrix44 m;
    m.rotate_x(a);
    m.rotate_y(b);
    m.rotate_z(c);
    return m;
}

void ExpectMatrixNear(const matrix44& a, const matrix44& b, float tol, const std::string& what) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(a.m[i], b.m[i], tol) << what << " element " << i;
}

void ExpectUpper3x3Near(const matrix44& a, const matrix44& b, float tol, const std::string& what) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(a.M(i, j), b.M(i, j), tol) << what << " (" << i << "," << j << ")";
}

TEST(Matrix44, LayoutIsRowByRow) {
    matrix44 m;
    m.set(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    EXPECT_EQ(m.M(1, 2), 6.0f);
    EXPECT_EQ(m.M(3, 0), 12.0f);
    m.S(2, 1, 42.0f);
    EXPECT_EQ(m.m[9], 42.0f);
    EXPECT_EQ(m.pos_component(), vector3(12, 13, 14));
    EXPECT_EQ(m.y_component(), vector3(4, 5, 6));
    m.transpose();
    EXPECT_EQ(m.M(2, 1), 6.0f);
    EXPECT_EQ(m.M(1, 2), 42.0f);
    EXPECT_EQ(matrix44(), matrix44().clone());
}

TEST(Matrix44, FixedAxisAndAxisAngleRotationSigns) {
    matrix44 rz;
    rz.rotate_z(kPi / 2);
    EXPECT_TRUE(rz.x_component().isequal({0, 1, 0}, 1e-6f));
    EXPECT_TRUE(rz.y_component().isequal({-1, 0, 0}, 1e-6f));

    matrix44 aa;
    aa.rotate(0, 0, 1, kPi / 2);
    EXPECT_TRUE(aa.x_component().isequal({0, -1, 0}, 1e-6f));
    EXPECT_TRUE(aa.y_component().isequal({1, 0, 0}, 1e-6f));

    // The fixed-axis rotations act on the translation row too.
    matrix44 t;
    t.translate(1, 0, 0);
    t.rotate_y(kPi / 2);
    EXPECT_TRUE(t.pos_component().isequal({0, 0, -1}, 1e-6f));
    t.ident();
    t.translate(0, 1, 0);
    t.rotate_x(kPi / 2);
    EXPECT_TRUE(t.pos_component().isequal({0, 0, 1}, 1e-6f));
}

TEST(Matrix44, TransformScaleAndTranslate) {
    matrix44 m;
    m.translate(1, 2, 3);
    m.scale(2, 3, 4);
    EXPECT_EQ(m.pos_component(), vector3(2, 6, 12));  // translation scales too
    EXPECT_EQ(m.Transform({1, 1, 1}), vector3(4, 9, 16));
    m.clear_translation();
    EXPECT_EQ(m.Transform({1, 1, 1}), vector3(2, 3, 4));
    EXPECT_FLOAT_EQ(m.det(), 24.0f);
}

struct EulerCase {
    std::string name;
    vector3 angles;
    vector3 expected;
    float tol;
};

std::ostream& operator<<(std::ostream& os, const EulerCase& c) { return os << c.name; }

class GetEulers : public ::testing::TestWithParam<EulerCase> {};

TEST_P(GetEulers, ExtractsTheRotationSequence) {
    const auto& c = GetParam();
    const matrix44 m = FromEulers(c.angles.x, c.angles.y, c.angles.z);
    const vector3 e = m.get_eulers();
    EXPECT_NEAR(e.x, c.expected.x, c.tol) << c.name;
    EXPECT_NEAR(e.y, c.expected.y, c.tol) << c.name;
    EXPECT_NEAR(e.z, c.expected.z, c.tol) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GetEulers,
    ::testing::Values(
        EulerCase{"general", {0.3f, -0.7f, 1.1f}, {0.3f, -0.7f, 1.1f}, 1e-5f},
        EulerCase{"identity", {0, 0, 0}, {0, 0, 0}, 1e-7f},
        EulerCase{"negative", {-1.2f, 0.4f, -2.5f}, {-1.2f, 0.4f, -2.5f}, 1e-5f},
        // Gimbal: a is folded into c, the second pass fixes the sign of c.
        EulerCase{"gimbal", {0.3f, kPi / 2, 0.4f}, {0.0f, kPi / 2, 0.1f}, 1e-3f},
        // sin(1.45) > 0.98 is clamped, so c comes back a little smaller.
        EulerCase{"clamp", {0.2f, 0.1f, 1.45f}, {0.2f, 0.1f, 1.4484f}, 1e-4f}),
    [](const auto& info) { return info.param.name; });

TEST(GetEulers, GimbalResultReproducesTheMatrix) {
    const matrix44 m = FromEulers(0.3f, kPi / 2, 0.4f);
    const vector3 e = m.get_eulers();
    ExpectUpper3x3Near(FromEulers(e.x, e.y, e.z), m, 1e-3f, "gimbal rebuild");
}

TEST(Matrix44, InvertSingularAndRigid) {
    matrix44 zeroRow;
    zeroRow.set(1, 2, 3, 0, 0, 0, 0, 0, 7, 8, 9, 0, 1, 1, 1, 1);
    matrix44 before = zeroRow;
    zeroRow.invert();
    EXPECT_EQ(zeroRow, before);

    matrix44 zero;
    zero.set(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    before = zero;
    zero.invert();
    EXPECT_EQ(zero, before);

    struct {
        vector3 eulers;
        vector3 translation;
    } rigid[] = {{{0.3f, -0.7f, 1.1f}, {1, 2, 3}}, {{kPi, 0, 0}, {-5, 0, 0.5f}}, {{0, 0, 0}, {0, 0, 0}}};
    for (const auto& r : rigid) {
        matrix44 m = FromEulers(r.eulers.x, r.eulers.y, r.eulers.z);
        m.translate(r.translation.x, r.translation.y, r.translation.z);
        matrix44 inv = m;
        inv.invert();
        ExpectMatrixNear(inv * m, matrix44(), 1e-5f, "inverse * input");
        EXPECT_NEAR(m.det(), 1.0f, 1e-5f);
    }
}

TEST(Matrix44, MultSimpleForcesColumnThreeMultFullKeepsIt) {
    matrix44 a;
    a.rotate_z(0.5f);
    a.translate(1, 2, 3);
    a.S(0, 3, 0.5f);
    a.S(3, 3, 2.0f);
    matrix44 n;
    n.rotate_x(0.25f);
    n.translate(-1, 0, 4);
    n.S(2, 3, 0.25f);

    matrix44 simple = a;
    simple.mult_simple(n);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(simple.M(i, 3), 0.0f);
    EXPECT_EQ(simple.M(3, 3), 1.0f);

    matrix44 full = a;
    full.mult_full(n);
    EXPECT_NE(full.M(0, 3), 0.0f);
    EXPECT_NE(full.M(3, 3), 1.0f);
    EXPECT_EQ(full, a * n);

    // On affine inputs both products agree.
    a.S(0, 3, 0.0f);
    a.S(3, 3, 1.0f);
    n.S(2, 3, 0.0f);
    simple = a;
    simple.mult_simple(n);
    full = a;
    full.mult_full(n);
    ExpectMatrixNear(simple, full, 1e-6f, "affine");
    // Row vectors: A * B applies A first.
    EXPECT_TRUE((a * n).Transform({1, 2, 3}).isequal(n.Transform(a.Transform({1, 2, 3})), 1e-5f));
}

TEST(Matrix44, QuaternionRelationIsTransposed) {
    const vector3 rotations[] = {
        {0.3f, -0.7f, 1.1f}, {0.0f, 0.0f, 0.0f},  {kPi, 0, 0}, {0, kPi, 0},
        {0, 0, kPi},         {2.5f, 0.2f, -2.9f}, {-3.0f, 1.2f, 0.1f}};
    for (const auto& r : rotations) {
        const matrix44 m = FromEulers(r.x, r.y, r.z);
        quaternion q = m.get_quaternion();
        matrix44 same;
        quaternion conj = q;
        conj.conjugate();
        same.set_quaternion(conj);
        ExpectUpper3x3Near(same, m, 1e-5f, "conjugate reproduces");

        matrix44 transposed;
        transposed.set_quaternion(q);
        matrix44 mt = m;
        mt.transpose();
        ExpectUpper3x3Near(transposed, mt, 1e-5f, "plain gives the transpose");
    }

    quaternion qz;
    qz.set_rotate_z(0.8f);
    matrix44 fromQ;
    fromQ.set_quaternion(qz);
    matrix44 rz;
    rz.rotate_z(-0.8f);
    ExpectMatrixNear(fromQ, rz, 1e-6f, "set_rotate_z(a) vs rotate_z(-a)");

    quaternion qa;
    qa.set_rotate_axis_angle(vector3(0.6f, 0.0f, 0.8f), 1.3f);
    fromQ.set_quaternion(qa);
    matrix44 aa;
    aa.rotate(0.6f, 0.0f, 0.8f, 1.3f);
    ExpectMatrixNear(fromQ, aa, 1e-6f, "axis-angle families agree");
}

TEST(Matrix44, LookAtPointsZFromTargetToEye) {
    struct Case {
        vector3 eye, at, up, x, y, z;
    } cases[] = {
        {{0, 0, 5}, {0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {{5, 0, 0}, {0, 0, 0}, {0, 1, 0}, {0, 0, -1}, {0, 1, 0}, {1, 0, 0}},
        {{1, 1, 1}, {1, 1, 1}, {0, 1, 0}, {0, 0, 0}, {0, 0, 0}, {0, 1, 0}},  // eye == at
    };
    for (const auto& c : cases) {
        matrix44 m;
        m.translate(c.eye.x, c.eye.y, c.eye.z);
        m.lookat(c.at, c.up);
        EXPECT_EQ(m.pos_component(), c.eye);
        EXPECT_TRUE(m.z_component().isequal(c.z, 1e-6f));
        if (c.eye == c.at) {
            // up parallel to the fallback z: x is degenerate and falls back too.
            EXPECT_TRUE(m.x_component().isequal({0, 1, 0}, 1e-6f));
            continue;
        }
        EXPECT_TRUE(m.x_component().isequal(c.x, 1e-6f));
        EXPECT_TRUE(m.y_component().isequal(c.y, 1e-6f));
    }
}

}  // namespace
