#include <gtest/gtest.h>

#include <ostream>

#include "core/vector2.h"
#include "core/vector3.h"
#include "core/vector4.h"

namespace {

struct Norm3Case {
    vector3 in;
    vector3 out;
};

std::ostream& operator<<(std::ostream& os, const Norm3Case& c) {
    return os << "(" << c.in.x << ", " << c.in.y << ", " << c.in.z << ")";
}

class Vector3Norm : public ::testing::TestWithParam<Norm3Case> {};

TEST_P(Vector3Norm, NormalisesOrFallsBackToYAxis) {
    vector3 v = GetParam().in;
    v.norm();
    EXPECT_TRUE(v.isequal(GetParam().out, 1e-6f)) << v.x << " " << v.y << " " << v.z;
}

INSTANTIATE_TEST_SUITE_P(Cases, Vector3Norm,
                         ::testing::Values(Norm3Case{{0, 0, 0}, {0, 1, 0}},
                                           Norm3Case{{1e-8f, 0, 0}, {0, 1, 0}},
                                           Norm3Case{{0, 0, -1e-8f}, {0, 1, 0}},
                                           Norm3Case{{3, 0, 4}, {0.6f, 0, 0.8f}},
                                           Norm3Case{{0, -2, 0}, {0, -1, 0}},
                                           Norm3Case{{1e-6f, 0, 0}, {1, 0, 0}}));

TEST(VectorNorm, Vector2FallsBackToYAndVector4StaysZero) {
    vector2 a(0, 0);
    a.norm();
    EXPECT_EQ(a, vector2(0, 1));
    vector2 b(0, -4);
    b.norm();
    EXPECT_EQ(b, vector2(0, -1));

    vector4 zero;
    zero.norm();
    EXPECT_EQ(zero, vector4(0, 0, 0, 0));
    vector4 c(0, 0, 3, 4);
    c.norm();
    EXPECT_TRUE(c.isequal(vector4(0, 0, 0.6f, 0.8f), 1e-6f));
}

TEST(Vector2, IsEqualToIsStrictWhileIsequalIsInclusive) {
    const vector2 ref(1.0f, 1.0f);
    struct Case {
        vector2 v;
        float tol;
        bool strict;
        bool inclusive;
    } cases[] = {
        {{1.5f, 1.0f}, 0.5f, false, true},  // exactly tol apart
        {{1.25f, 0.75f}, 0.5f, true, true},
        {{1.0f, 1.75f}, 0.5f, false, false},
        {{1.0f, 1.0f}, 0.0f, false, true},  // zero tolerance: strict never matches
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.v.IsEqualTo(ref, c.tol), c.strict) << c.v.x << "," << c.v.y;
        EXPECT_EQ(c.v.isequal(ref, c.tol), c.inclusive) << c.v.x << "," << c.v.y;
    }
}

TEST(Vector3, ArithmeticAndProducts) {
    const vector3 x(1, 0, 0), y(0, 1, 0), z(0, 0, 1);
    EXPECT_EQ(x.CrossProduct(y), z);
    EXPECT_EQ(y.CrossProduct(z), x);
    EXPECT_EQ(z.CrossProduct(x), y);
    EXPECT_EQ(y.CrossProduct(x), -z);
    EXPECT_FLOAT_EQ(vector3(1, 2, 3).DotProduct(vector3(4, -5, 6)), 12.0f);

    vector3 v(1, 2, 3);
    v.MulS(2);
    v.AddVector({1, 1, 1});
    v.SubVector({0, 0, 7});
    EXPECT_EQ(v, vector3(3, 5, 0));
    EXPECT_EQ(vector3(2, 4, 8) / 2.0f, vector3(1, 2, 4));
    EXPECT_FLOAT_EQ(vector3(2, 3, 6).len(), 7.0f);
    EXPECT_FLOAT_EQ(vector3(2, 3, 6).len_squared(), 49.0f);

    const nVector3D n{1, 2, 3};
    EXPECT_EQ(vector3(n), vector3(1, 2, 3));
    const float raw[3] = {4, 5, 6};
    EXPECT_EQ(vector3(raw), vector3(4, 5, 6));
}

}  // namespace
