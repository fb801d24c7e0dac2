#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "animation/key_evaluation.h"
#include "animation/scene_pose.h"
#include "tests/scene/scene_fixture.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

matrix44 Moved(float x) {
    matrix44 m;
    m.translate(x, 0, 0);
    return m;
}

matrix44 TurnedAboutZ(float angle, float x = 0) {
    matrix44 m;
    m.rotate(0, 0, 1, angle);
    m.translate(x, 0, 0);
    return m;
}

class KeyEvaluationTest : public SceneTest {
protected:
    rgBone* joint = nullptr;
    void SetUp() override { joint = AddJoint(nullptr); }
    rgAnimationSettings Settings(int mode, float speed = 1.0f) { return {mode, 24.0f, speed}; }
    float XAt(int frame, int mode) {
        EvaluateAtFrame(*joint, frame, Settings(mode));
        return joint->GetOffsetMatrix().pos_component().x;
    }
};

TEST_F(KeyEvaluationTest, TwoKeysInEveryMode) {
    joint->SetKey(0, Moved(0));
    joint->SetKey(10, Moved(10));
    struct Case {
        int frame;
        float constant, linear, spline;
    } cases[] = {
        // Spline values: the Kochanek-Bartels cubic with the phantom keys one
        // second out, computed independently (zero parameters).
        {0, 0, 0, 0},       {2, 0, 2, 1.3223529f},  {4, 0, 4, NAN},   {5, 10, 5, 5.0f},
        {8, 10, 8, 8.6776471f}, {10, 10, 10, 10}, {20, 10, 10, 10}, {-5, 0, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(XAt(c.frame, kInterpConstant), c.constant) << "frame " << c.frame;
        EXPECT_NEAR(XAt(c.frame, kInterpLinear), c.linear, 1e-5f) << "frame " << c.frame;
        if (!std::isnan(c.spline)) {
            EXPECT_NEAR(XAt(c.frame, kInterpSpline), c.spline, 1e-5f) << "frame " << c.frame;
        }
    }
}

TEST_F(KeyEvaluationTest, OutsideTheKeysTheEndKeysHoldExactly) {
    joint->SetKey(0, TurnedAboutZ(0.3f, 1));
    joint->SetKey(10, TurnedAboutZ(-1.2f, 4));
    for (int mode : {kInterpConstant, kInterpLinear, kInterpSpline}) {
        EvaluateAtFrame(*joint, 20, Settings(mode));
        EXPECT_EQ(joint->GetOffsetMatrix(), *joint->GetKeyMatrix(10)) << "mode " << mode;
        EvaluateAtFrame(*joint, -5, Settings(mode));
        EXPECT_EQ(joint->GetOffsetMatrix(), *joint->GetKeyMatrix(0)) << "mode " << mode;
    }
}

TEST_F(KeyEvaluationTest, ASingleKeyHoldsEverywhere) {
    joint->SetKey(7, TurnedAboutZ(0.7f, 3));
    for (int mode : {kInterpConstant, kInterpLinear, kInterpSpline})
        for (int frame : {-100, 0, 7, 8, 1000}) {
            EvaluateAtFrame(*joint, frame, Settings(mode));
            EXPECT_EQ(joint->GetOffsetMatrix(), *joint->GetKeyMatrix(7));
        }
}

TEST_F(KeyEvaluationTest, AtAKeyFrameEveryModeGivesThatKeysPose) {
    const matrix44 poses[] = {TurnedAboutZ(0.2f, 1), TurnedAboutZ(1.1f, -2), TurnedAboutZ(-0.6f, 5)};
    joint->SetKey(0, poses[0]);
    joint->SetKey(6, poses[1]);
    joint->SetKey(15, poses[2]);
    matrix44 y;
    y.rotate(0, 1, 0, 0.5f);
    joint->SetKey(6, poses[1] * y);  // a key turned about two axes
    const matrix44 middle = *joint->GetKeyMatrix(6);
    for (int mode : {kInterpConstant, kInterpLinear, kInterpSpline}) {
        EvaluateAtFrame(*joint, 6, Settings(mode));
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(joint->GetOffsetMatrix().m[i], middle.m[i], 2e-6f) << "mode " << mode << " element " << i;
    }
}

TEST_F(KeyEvaluationTest, TensionContinuityAndBiasShapeThePositionSpline) {
    struct Case {
        const char* name;
        vector3 middleTcb;  // parameters of the key at frame 10
        float at5, at15;    // computed independently
    } cases[] = {
        {"zero", {0, 0, 0}, 5.3676471f, 5.3676471f},
        {"continuity +0.5", {0, 0.5f, 0}, 5.9926471f, 5.9926471f},
        {"continuity -0.5", {0, -0.5f, 0}, 4.7426471f, 4.7426471f},
        {"bias +0.5", {0, 0, 0.5f}, 4.7426471f, 5.9926471f},
        {"bias -0.5", {0, 0, -0.5f}, 5.9926471f, 4.7426471f},
    };
    for (const auto& c : cases) {
        joint->SetKey(0, Moved(0));
        joint->SetKey(10, Moved(10), c.middleTcb.x, c.middleTcb.y, c.middleTcb.z);
        joint->SetKey(20, Moved(0));
        EXPECT_NEAR(XAt(5, kInterpSpline), c.at5, 1e-5f) << c.name;
        EXPECT_NEAR(XAt(15, kInterpSpline), c.at15, 1e-5f) << c.name;
    }
    // Tension 1 at both ends flattens the tangents: ease in and out.
    joint->DeleteKey(20);
    joint->SetKey(0, Moved(0), 1, 0, 0);
    joint->SetKey(10, Moved(10), 1, 0, 0);
    EXPECT_NEAR(XAt(2, kInterpSpline), 1.04f, 1e-5f);
    EXPECT_NEAR(XAt(5, kInterpSpline), 5.0f, 1e-5f);
}

TEST_F(KeyEvaluationTest, TurnsThroughHalfARevolutionTakeTheShortArc) {
    constexpr float k170 = 170.0f * kPi / 180.0f;
    joint->SetKey(0, TurnedAboutZ(k170));
    joint->SetKey(10, TurnedAboutZ(-k170));
    for (int mode : {kInterpLinear, kInterpSpline}) {
        EvaluateAtFrame(*joint, 5, Settings(mode));
        // Halfway between +170 and -170 degrees through 180: x points to -x.
        EXPECT_TRUE(Near3(joint->GetOffsetMatrix().x_component(), {-1, 0, 0}, 1e-4f)) << "mode " << mode;
        EvaluateAtFrame(*joint, 2, Settings(mode));
        const float angle = std::atan2(-joint->GetOffsetMatrix().M(0, 1), joint->GetOffsetMatrix().M(0, 0));
        EXPECT_GT(std::fabs(angle), k170) << "mode " << mode;  // beyond 170, not back through 0
    }
}

TEST_F(KeyEvaluationTest, TimeAndFrameAgreeAtTheKeyTimes) {
    joint->SetKey(0, TurnedAboutZ(0.1f, 0));
    joint->SetKey(8, TurnedAboutZ(0.9f, 4));
    joint->SetKey(20, TurnedAboutZ(-0.4f, 1));
    for (int mode : {kInterpConstant, kInterpLinear, kInterpSpline})
        for (float speed : {1.0f, 2.0f, 0.25f})
            for (int frame : {3, 8, 13}) {
                EvaluateAtFrame(*joint, frame, Settings(mode, speed));
                const matrix44 byFrame = joint->GetOffsetMatrix();
                EvaluateAtTime(*joint, static_cast<float>(frame) / (24.0f * speed), Settings(mode, speed));
                for (int i = 0; i < 16; ++i)
                    EXPECT_NEAR(joint->GetOffsetMatrix().m[i], byFrame.m[i], 1e-5f)
                        << "mode " << mode << " speed " << speed << " frame " << frame;
            }
}

TEST_F(KeyEvaluationTest, WithoutKeysNothingMovesAndSkinsStayValid) {
    joint->TranslateOffset({3, 0, 0}, matrix44());
    const uint64_t generation = scene->PoseGeneration();
    EvaluateAtFrame(*joint, 5, Settings(kInterpSpline));
    EXPECT_EQ(joint->GetOffsetMatrix().pos_component().x, 3.0f);
    EXPECT_EQ(scene->PoseGeneration(), generation);
    joint->SetKey(1, Moved(1));
    EvaluateAtFrame(*joint, 5, Settings(kInterpSpline));
    EXPECT_NE(scene->PoseGeneration(), generation);
}

TEST_F(KeyEvaluationTest, GoToFramePosesEveryJointWithTheEditorsSettings) {
    Animation();
    rgBone* other = AddJoint(joint, {0, 1, 0});
    rgBone* unkeyed = AddJoint(nullptr);
    unkeyed->TranslateOffset({0, 0, 9}, matrix44());
    joint->SetKey(0, Moved(0));
    joint->SetKey(10, Moved(10));
    other->SetKey(0, Moved(0));
    other->SetKey(10, Moved(-10));
    context.state.interpolation = kInterpLinear;
    GoToFrame(*scene, 3);
    EXPECT_NEAR(joint->GetOffsetMatrix().pos_component().x, 3.0f, 1e-6f);
    EXPECT_NEAR(other->GetOffsetMatrix().pos_component().x, -3.0f, 1e-6f);
    EXPECT_EQ(unkeyed->GetOffsetMatrix().pos_component().z, 9.0f);
    context.state.interpolation = kInterpConstant;  // takes effect at the next evaluation
    EXPECT_NEAR(joint->GetOffsetMatrix().pos_component().x, 3.0f, 1e-6f);
    PoseSceneAtTime(*scene, 6.0f / 24.0f);
    EXPECT_EQ(joint->GetOffsetMatrix().pos_component().x, 10.0f);
}

}  // namespace
