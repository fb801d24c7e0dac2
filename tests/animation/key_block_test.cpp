#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "animation/key_block.h"
#include "tests/scene/scene_fixture.h"

namespace {

// A joint keyed at `frames`; each key's matrix x names the frame it was
// made at, and every key carries spline parameters.
void KeyAt(rgBone& joint, const std::vector<int>& frames) {
    for (int f : frames) {
        matrix44 m;
        m.translate(static_cast<float>(f), 0, 0);
        joint.SetKey(f, m, 0.5f, 0.25f, -0.5f, 0.1f, 0.2f, 0.3f);
    }
}

// "frame<origin" per key, with "t" while it keeps its spline parameters.
std::string Keys(const rgBone& joint) {
    std::string out;
    for (int i = 0; i < joint.GetKeyCount(); ++i) {
        const rgKeyframe& k = *joint.GetKey(i);
        const bool tcb =
            k.trans_tcb == vector3(0.5f, 0.25f, -0.5f) && k.rot_tcb == vector3(0.1f, 0.2f, 0.3f);
        const bool zero = k.trans_tcb == vector3(0, 0, 0) && k.rot_tcb == vector3(0, 0, 0);
        out += (out.empty() ? "" : " ") + std::to_string(k.frame) + "<" +
               std::to_string(static_cast<int>(k.matrix.pos_component().x)) +
               (tcb    ? "t"
                : zero ? ""
                       : "?");
    }
    return out;
}

using KeyBlockTest = SceneTest;

TEST_F(KeyBlockTest, MoveAndCopyOverOneJoint) {
    const std::vector<int> oneToFifteen = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    const struct Case {
        std::vector<int> keys;
        int first, last, shift;
        bool copy;
        const char* after;
    } cases[] = {
        // Frames 1..10 by +5: the former 1..10 at 6..15 (each with its own
        // parameters, overlapping part included), the former 11..15 gone.
        {oneToFifteen, 1, 10, 5, false, "6<1t 7<2t 8<3t 9<4t 10<5t 11<6t 12<7t 13<8t 14<9t 15<10t"},
        // Copy: 1..5 stay, copies of 1..10 (without parameters) at 6..15.
        {oneToFifteen, 1, 10, 5, true,
         "1<1t 2<2t 3<3t 4<4t 5<5t 6<1 7<2 8<3 9<4 10<5 11<6 12<7 13<8 14<9 15<10"},
        // Backwards over keys outside the block, which are overwritten.
        {{2, 4, 6, 8}, 5, 8, -3, false, "3<6t 5<8t"},
        {{2, 4, 6, 8}, 5, 8, -3, true, "3<6 5<8 6<6t 8<8t"},
        // Far away: only the destination frames lose their keys.
        {{1, 2, 20, 30}, 1, 2, 18, false, "19<1t 20<2t 30<30t"},
        {{1, 2, 20, 30}, 1, 2, 18, true, "1<1t 2<2t 19<1 20<2 30<30t"},
        // A block with no keys in it still clears its destination.
        {{1, 9}, 3, 4, 5, false, "1<1t"},
        // Nothing moves by 0 frames, nor a block without frames.
        {{1, 2, 3}, 1, 3, 0, false, "1<1t 2<2t 3<3t"},
        {{1, 2, 3}, 1, 3, 0, true, "1<1t 2<2t 3<3t"},
        {{1, 2, 3}, 3, 2, 4, false, "1<1t 2<2t 3<3t"},
    };
    for (const Case& c : cases) {
        rgBone* joint = AddJoint(nullptr);
        KeyAt(*joint, c.keys);
        const rgKeyBlock block{{joint}, c.first, c.last};
        if (c.copy)
            CopyKeyBlock(block, c.shift);
        else
            MoveKeyBlock(block, c.shift);
        EXPECT_EQ(Keys(*joint), c.after)
            << c.first << ".." << c.last << " by " << c.shift << (c.copy ? " copied" : " moved");
    }
}

TEST_F(KeyBlockTest, BlocksTouchOnlyTheirJointsAndMovedKeysStayTheSameKeys) {
    rgBone* a = AddJoint(nullptr);
    rgBone* b = AddJoint(nullptr);
    rgBone* other = AddJoint(nullptr);
    for (rgBone* j : {a, b, other}) KeyAt(*j, {1, 4, 7});
    const rgKeyframe* held = a->GetKeyAt(4);

    MoveKeyBlock({{a, b}, 4, 7}, 2);
    EXPECT_EQ(Keys(*a), "1<1t 6<4t 9<7t");
    EXPECT_EQ(Keys(*b), "1<1t 6<4t 9<7t");
    EXPECT_EQ(Keys(*other), "1<1t 4<4t 7<7t");
    EXPECT_EQ(a->GetKeyAt(6), held);  // a script's handle follows its key

    CopyKeyBlock({{b}, 1, 6}, -1);  // a copy may land before frame 1
    EXPECT_EQ(Keys(*b), "0<1 5<4 6<4t 9<7t");

    DeleteKeyBlock({{a, other}, 2, 7});
    EXPECT_EQ(Keys(*a), "1<1t 9<7t");
    EXPECT_EQ(Keys(*other), "1<1t");
}

}  // namespace
