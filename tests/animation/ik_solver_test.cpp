#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <numbers>
#include <random>

#include "animation/ik_solver.h"
#include "tests/scene/scene_fixture.h"

namespace {

constexpr double kRadToDeg = 180.0 / std::numbers::pi;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// The world position as the last update left it.
vector3 WorldPosition(rgSceneNode* node) {
    return node->GetGlobalMatrix().pos_component();
}

bool Finite(const matrix44& m) {
    return std::all_of(std::begin(m.m), std::end(m.m), [](float f) { return std::isfinite(f); });
}

// Degrees between two directions.
float DegreesBetween(vector3 a, vector3 b) {
    a.norm();
    b.norm();
    return static_cast<float>(std::acos(std::clamp(a.DotProduct(b), -1.0f, 1.0f)) * kRadToDeg);
}

// An arm at the Animation level: shoulder (0, 0, 0) -> elbow (0, 2, 0) -> hand (2, 2, 0).
class IKSolverTest : public SceneTest {
protected:
    void SetUp() override {
        Animation();
        shoulder = AddJoint(nullptr, {0, 0, 0});
        elbow = AddJoint(shoulder, {0, 2, 0});
        hand = AddJoint(elbow, {2, 0, 0});
        scene->UpdateScene();
    }
    rgIKSolveJob Job(vector3 goal, int maxSteps = 100) {
        rgIKSolveJob job;
        job.endJoint = hand;
        job.goal = goal;
        job.maxSteps = maxSteps;
        return job;
    }
    // Solves until the goal is reached or `solves` runs have passed, as a
    // drag's moves would; returns the distance left.
    float SolveRepeatedly(vector3 goal, int solves = 50) {
        for (int i = 0; i < solves; ++i) Job(goal).Run();
        return (WorldPosition(hand) - goal).len();
    }

    rgBone* shoulder = nullptr;
    rgBone* elbow = nullptr;
    rgBone* hand = nullptr;
};

TEST_F(IKSolverTest, AGoalInReachIsReachedAndTheEndJointNeverTurns) {
    const vector3 goals[] = {{1, 3, 0}, {-1, 2.5f, 1}, {0, 0.5f, 3}, {3.9f, 0, 0}};
    for (const vector3& goal : goals) {
        SCOPED_TRACE(::testing::Message() << goal.x << ", " << goal.y << ", " << goal.z);
        EXPECT_LE(SolveRepeatedly(goal), 0.0001f);
        EXPECT_EQ(hand->GetOffsetMatrix(), matrix44());
    }
}

TEST_F(IKSolverTest, TheChainEndsAtTheTerminator) {
    elbow->SetIKChainEnd(1);
    const vector3 goal(std::sqrt(2.0f), 2 + std::sqrt(2.0f), 0);  // two units from the elbow
    EXPECT_LE(SolveRepeatedly(goal), 0.0001f);
    EXPECT_EQ(shoulder->GetOffsetMatrix(), matrix44());
    EXPECT_NE(elbow->GetOffsetMatrix(), matrix44());
}

TEST_F(IKSolverTest, TheIKWeightScalesEachTurnUpToOneDegree) {
    struct Case {
        float weight;
        float goalDegrees;  // angle at the elbow between the hand and the goal
        float turned;       // degrees the elbow turns in one step
    } cases[] = {{1, 0.6f, 0.6f}, {1, 5, 1}, {0.5f, 1.2f, 0.6f}, {0.5f, 5, 1}, {0, 5, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "weight " << c.weight << ", " << c.goalDegrees);
        elbow->ResetOffset();
        elbow->SetIKWeight(c.weight);
        scene->UpdateScene();
        const float a = static_cast<float>(c.goalDegrees / kRadToDeg);
        const vector3 goal(2 * std::cos(a), 2 + 2 * std::sin(a), 0);
        const vector3 before = WorldPosition(hand) - WorldPosition(elbow);
        EXPECT_EQ(Job(goal, 1).Run(), 1);
        const vector3 after = WorldPosition(hand) - WorldPosition(elbow);
        EXPECT_NEAR(DegreesBetween(before, after), c.turned, 2e-3f);
        EXPECT_LE(DegreesBetween(after, goal - WorldPosition(elbow)),
                  DegreesBetween(before, goal - WorldPosition(elbow)));
    }
    // With the elbow at weight 0 the shoulder still carries the hand to the goal.
    elbow->ResetOffset();
    EXPECT_LE(SolveRepeatedly({-2, 2, 0}), 0.0001f);
    EXPECT_EQ(elbow->GetOffsetMatrix(), matrix44());
}

TEST_F(IKSolverTest, AGoalAlongTheEndDirectionTurnsNothing) {
    elbow->SetIKChainEnd(1);
    EXPECT_EQ(Job({3, 2, 0}).Run(), 100);  // out of reach: every step is used
    EXPECT_EQ(elbow->GetOffsetMatrix(), matrix44());
    EXPECT_EQ(Job(WorldPosition(hand)).Run(), 0);  // already there
}

TEST_F(IKSolverTest, ALockedAxisStaysUnturnedWithLimitsOn) {
    elbow->SetXConstraints(kLimitLocked, 0, 0);
    elbow->SetZConstraints(kLimitLimited, 30, -10);  // either order
    rgIKSolveJob job = Job({1, 2.5f, 1.5f}, 1);
    job.useLimits = true;
    for (int i = 0; i < 150; ++i) {
        job.Run();
        matrix44 inverseLocal = elbow->GetLocalMatrix();
        inverseLocal.invert();
        const vector3 e =
            (elbow->GetLocalMatrix() * elbow->GetOffsetMatrix() * inverseLocal).get_eulers();
        ASSERT_NEAR(e.x, 0, 1e-4f) << "step " << i;
        ASSERT_LE(e.z, 30 / kRadToDeg + 1e-4) << "step " << i;
        ASSERT_GE(e.z, -10 / kRadToDeg - 1e-4) << "step " << i;
    }
}

TEST_F(IKSolverTest, BadInputChangesNothingAndLeavesNoNaN) {
    rgSceneNode* plain = AddNode(nullptr, "plain");
    rgBone* underPlain = AddJoint(plain, {1, 0, 0});
    rgBone* atRoot = AddJoint(nullptr, {5, 0, 0});
    rgBone* freeJoint = scene->CreateBone();
    rgBone* freeChild = scene->CreateBone();
    freeJoint->AttachChild(freeChild);
    struct Case {
        const char* name;
        rgBone* end;
        vector3 goal;
        int maxSteps;
        float threshold;
    } cases[] = {
        {"NaN goal", hand, {kNaN, 1, 0}, 100, 0.0001f},
        {"infinite goal", hand, {0, -kInf, 0}, 100, 0.0001f},
        {"no end joint", nullptr, {1, 1, 0}, 100, 0.0001f},
        {"end joint at the scene root", atRoot, {1, 1, 0}, 100, 0.0001f},
        {"parent not a joint", underPlain, {1, 1, 0}, 100, 0.0001f},
        {"outside the scene's hierarchy", freeChild, {1, 1, 0}, 100, 0.0001f},
        {"negative steps", hand, {1, 3, 0}, -1, 0.0001f},
        {"NaN threshold", hand, {1, 3, 0}, 100, kNaN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        rgIKSolveJob job;
        job.endJoint = c.end;
        job.goal = c.goal;
        job.maxSteps = c.maxSteps;
        job.threshold = c.threshold;
        EXPECT_FALSE(job.Validate());
        EXPECT_EQ(job.Run(), 0);
        scene->ForEach([](rgSceneNode* node) {
            if (rgBone* joint = ToBone(node)) {
                EXPECT_EQ(joint->GetOffsetMatrix(), matrix44());
            }
        });
    }
    // At the Objects level offsets do not show in world positions: no solve.
    context.state.editLevel = kEditObjects;
    EXPECT_FALSE(Job({1, 3, 0}).Validate());
    EXPECT_EQ(Job({1, 3, 0}).Run(), 0);
    EXPECT_EQ(elbow->GetOffsetMatrix(), matrix44());
    delete freeJoint;
}

TEST_F(IKSolverTest, DegenerateChainsUseTheirStepsWithoutNaN) {
    // Joints on one point, a goal on the end joint's side and one opposite
    // it, weights a script could set, and a stretched joint whose limits
    // have no Euler angles to read.
    rgBone* a = AddJoint(nullptr, {3, 3, 3});
    rgBone* b = AddJoint(a, {0, 0, 0});
    rgBone* c = AddJoint(b, {0, 0, 0});
    rgBone* stretched = AddJoint(nullptr, {-3, 0, 0});
    stretched->GetLocalMatrix().scale(3, 1, 1);
    stretched->SetOffsetMatrix([] {
        matrix44 turned;
        turned.rotate(0, 1, 0, 1.0f);
        return turned;
    }());
    stretched->SetYConstraints(kLimitLimited, -5, 5);
    rgBone* tip = AddJoint(stretched, {1, 1, 0});
    const struct {
        rgBone* end;
        vector3 goal;
        float weight;
    } cases[] = {{c, {4, 3, 3}, 1},       {hand, {-2, 2, 0}, 1}, {hand, {0, 5, 0}, kNaN},
                 {hand, {0, 5, 0}, kInf}, {hand, {0, 5, 0}, -3}, {tip, {-12, 2, 2}, 1}};
    for (const auto& k : cases) {
        ToBone(k.end->GetParent())->SetIKWeight(k.weight);
        rgIKSolveJob job;
        job.endJoint = k.end;
        job.goal = k.goal;
        job.useLimits = true;
        EXPECT_TRUE(job.Validate());
        job.Run();
        scene->ForEach([](rgSceneNode* node) {
            EXPECT_TRUE(Finite(node->GetGlobalMatrix())) << node->GetName();
            if (rgBone* joint = ToBone(node)) {
                EXPECT_TRUE(Finite(joint->GetOffsetMatrix()));
            }
        });
    }
}

TEST_F(IKSolverTest, SolveReadsTheEditorSettings) {
    context.state.ikMaxIterations = 7;
    EXPECT_EQ(Solve(*hand, {-3, 0, 0}), 7);
    context.state.ikMaxIterations = -5;  // a damaged settings file: the default
    EXPECT_EQ(Solve(*hand, {-3, 0, 0}), 100);
    context.state.ikThreshold = 5;  // the goal counts as reached from 5 units
    EXPECT_EQ(Solve(*hand, {0, 0, 0}), 0);
}

// The straightforward solve: every turn followed by an update of the whole
// scene. The solver updates only the turned joint's subtree.
int ReferenceSolve(rgScene& scene, rgBone& end, const vector3& goal, bool useLimits) {
    scene.UpdateScene();
    rgBone* first = ToBone(end.GetParent());
    rgBone* joint = first;
    int step = 0;
    for (;;) {
        if ((goal - WorldPosition(&end)).len() > 0.0001f) {
            const vector3 e = WorldPosition(&end), j = WorldPosition(joint);
            vector3 u = e - j, v = goal - j;
            u.norm();
            v.norm();
            vector3 axis = u.CrossProduct(v);
            const float s = axis.len(), c = u.DotProduct(v);
            if (c <= 0 || s > 1e-7f) {
                axis.norm();
                float angle = std::atan2(s, c) * joint->GetIKWeight();
                if (std::fabs(angle) * kRadToDeg > 1.0f)
                    angle = static_cast<float>(std::numbers::pi / 180.0);
                matrix44 r;
                r.rotate(axis.x, axis.y, axis.z, angle);
                matrix44 f = joint->GetParent()->GetGlobalMatrix();
                f.invert();
                joint->RotateOffset(r.get_eulers(), f, useLimits);
                scene.UpdateScene();
            }
        }
        rgBone* turned = joint;
        joint = ToBone(joint->GetParent());
        if (!joint || turned->IsIKChainEnd()) joint = first;
        if (++step >= 100 || (goal - WorldPosition(&end)).len() <= 0.0001f) return step;
    }
}

TEST(IKSolverFastPath, MatchesTheWholeSceneUpdateBitForBit) {
    std::mt19937 random(12);
    std::uniform_real_distribution<float> unit(-1, 1);
    for (int trial = 0; trial < 40; ++trial) {
        SCOPED_TRACE(::testing::Message() << "trial " << trial);
        rgSceneContext context;
        context.state.editLevel = kEditAnimation;
        std::unique_ptr<rgScene> scenes[2] = {std::make_unique<rgScene>(context),
                                              std::make_unique<rgScene>(context)};
        std::vector<rgBone*> chains[2];
        for (int s = 0; s < 2; ++s) {
            std::mt19937 same(static_cast<unsigned>(trial));  // both scenes alike
            std::uniform_real_distribution<float> u(-1, 1);
            rgSceneNode* parent = scenes[s]->GetRootNode();
            const int length = 3 + trial % 5;
            for (int i = 0; i < length; ++i) {
                rgBone* joint = scenes[s]->CreateBone();
                vector3 axis(u(same), u(same), u(same) + 1.5f);
                axis.norm();
                joint->GetLocalMatrix().rotate(axis.x, axis.y, axis.z, u(same) * 2);
                joint->GetLocalMatrix().translate(u(same) * 2, 1 + u(same), u(same));
                joint->SetIKWeight(0.5f + 0.5f * u(same));
                joint->SetIKChainEnd(i == 1 && trial % 3 == 0);
                joint->SetYConstraints(kLimitLimited, -20 + 10 * u(same), 25);
                parent->AttachChild(joint);
                // A side branch the turns also carry.
                rgBone* side = scenes[s]->CreateBone();
                side->GetLocalMatrix().translate(u(same), 0, 1);
                joint->AttachChild(side);
                chains[s].push_back(joint);
                parent = joint;
            }
        }
        const vector3 goal(unit(random) * 4, unit(random) * 4 + 2, unit(random) * 4);
        const bool limits = trial % 2 == 1;
        rgIKSolveJob job;
        job.endJoint = chains[0].back();
        job.goal = goal;
        job.useLimits = limits;
        const int steps = job.Run();
        EXPECT_EQ(steps, ReferenceSolve(*scenes[1], *chains[1].back(), goal, limits));
        for (size_t i = 0; i < chains[0].size(); ++i) {
            EXPECT_EQ(chains[0][i]->GetOffsetMatrix(), chains[1][i]->GetOffsetMatrix()) << i;
            EXPECT_EQ(chains[0][i]->GetGlobalMatrix(), chains[1][i]->GetGlobalMatrix()) << i;
        }
    }
}

}  // namespace
