#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "core/quaternion.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

bool Near(const quaternion& a, const quaternion& b, float tol) {
    return std::fabs(a.x - b.x) <= tol && std::fabs(a.y - b.y) <= tol &&
           std::fabs(a.z - b.z) <= tol && std::fabs(a.w - b.w) <= tol;
}

TEST(Quaternion, DefaultIsZeroAndNormalizesToIdentity) {
    quaternion q;
    EXPECT_EQ(q, quaternion(0, 0, 0, 0));
    EXPECT_EQ(q.magnitude(), 0.0f);
    q.normalize();
    EXPECT_EQ(q, quaternion(0, 0, 0, 1));

    quaternion z;
    z.invert();  // a zero quaternion is only conjugated
    EXPECT_EQ(z.norm(), 0.0f);

    quaternion s(0, 0, 0, 2);
    s.invert();
    EXPECT_EQ(s, quaternion(0, 0, 0, 0.5f));
    quaternion r(1, 2, 3, 4);
    quaternion rinv = r;
    rinv.invert();
    r.mult(rinv);
    EXPECT_TRUE(Near(r, quaternion(0, 0, 0, 1), 1e-6f));
    quaternion n(0, 3, 0, 4);
    n.normalize();
    EXPECT_TRUE(Near(n, quaternion(0, 0.6f, 0, 0.8f), 1e-6f));
}

TEST(Quaternion, HamiltonProduct) {
    quaternion i(1, 0, 0, 0), j(0, 1, 0, 0);
    quaternion k = i;
    k.mult(j);
    EXPECT_EQ(k, quaternion(0, 0, 1, 0));
    quaternion minusK = j;
    minusK.mult(i);
    EXPECT_EQ(minusK, quaternion(0, 0, -1, 0));

    quaternion xyz;
    xyz.set_rotate_xyz(0.3f, -0.7f, 1.1f);
    quaternion expect, qy, qz;
    expect.set_rotate_x(0.3f);
    qy.set_rotate_y(-0.7f);
    qz.set_rotate_z(1.1f);
    expect.mult(qy);
    expect.mult(qz);
    EXPECT_TRUE(Near(xyz, expect, 1e-7f));
}

TEST(Quaternion, SlerpCases) {
    quaternion q;
    q.set_rotate_axis_angle(vector3(0, 0.6f, 0.8f), 1.0f);
    quaternion minusQ = q;
    minusQ.scale(-1);
    for (float t : {0.0f, 0.3f, 0.5f, 1.0f}) {
        quaternion r;
        r.slerp(q, q, t);
        EXPECT_TRUE(Near(r, q, 1e-6f)) << "q with q at t=" << t;
    }
    quaternion r;
    r.slerp(q, minusQ, 0.5f);
    EXPECT_TRUE(Near(r, q, 1e-6f)) << "sign flip makes q and -q identical";

    quaternion id, rz, half;
    id.ident();
    rz.set_rotate_z(kPi / 2);
    half.set_rotate_z(kPi / 4);
    r.slerp(id, rz, 0.5f);
    EXPECT_TRUE(Near(r, half, 1e-6f));

    // Not renormalised: a non-unit input keeps its length.
    quaternion big(0, 0, 0, 2);
    r.slerp(big, big, 0.5f);
    EXPECT_EQ(r, big);
}

TEST(Quaternion, AxisAngleRoundTrip) {
    struct Case {
        vector3 axis;
        float angle;
        vector3 axisOut;
        float angleOut;
    } cases[] = {
        {{0, 1, 0}, 1.2f, {0, 1, 0}, 1.2f},
        {{0, 0, 2}, 0.5f, {0, 0, 1}, 0.5f},  // unnormalised axis comes back normalised
        {{1, 0, 0}, 0.0f, {0, 0, 1}, 0.0f},  // no rotation: fixed axis
        {{0, 0, 1}, 0.001f, {0, 0, 1}, 0.0f},
    };
    for (const auto& c : cases) {
        quaternion q;
        q.set_rotate_axis_angle(c.axis, c.angle);
        vector3 axis;
        float angle = -1;
        q.get_rotate_axis_angle(axis, angle);
        EXPECT_TRUE(axis.isequal(c.axisOut, 1e-5f)) << c.angle;
        EXPECT_NEAR(angle, c.angleOut, 1e-5f);
    }
    // A slightly long quaternion must not give a NaN angle.
    quaternion longQ(0.01f, 0, 0, 1.0001f);
    vector3 axis;
    float angle;
    longQ.get_rotate_axis_angle(axis, angle);
    EXPECT_FALSE(std::isnan(angle));
}

}  // namespace
