#include "tests/scene/scene_fixture.h"

namespace {

using BoneKeysTest = SceneTest;

matrix44 Moved(float x) {
    matrix44 m;
    m.translate(x, 0, 0);
    return m;
}

std::vector<int> Frames(const rgBone& joint) {
    std::vector<int> frames;
    for (int i = 0; i < joint.GetKeyCount(); ++i) frames.push_back(joint.GetKey(i)->frame);
    return frames;
}

TEST_F(BoneKeysTest, SetKeyReplacesAtTheSameFrameAndKeepsOrder) {
    rgBone* joint = AddJoint(nullptr);
    joint->SetKey(10, Moved(10));
    joint->SetKey(0, Moved(0));
    joint->SetKey(3, Moved(1), 0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f);
    joint->SetKey(3, Moved(2), 1, 2, 3, 4, 5, 6);
    EXPECT_EQ(Frames(*joint), (std::vector<int>{0, 3, 10}));
    const rgKeyframe* key = joint->GetKeyAt(3);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->matrix.pos_component().x, 2.0f);
    EXPECT_EQ(key->trans_tcb, vector3(1, 2, 3));
    EXPECT_EQ(key->rot_tcb, vector3(4, 5, 6));
    EXPECT_EQ(joint->GetKeyMatrix(10)->pos_component().x, 10.0f);
    EXPECT_EQ(joint->GetKeyMatrix(11), nullptr);
    EXPECT_EQ(joint->GetKey(3), nullptr);
    EXPECT_EQ(joint->GetKey(-1), nullptr);
}

TEST_F(BoneKeysTest, SetKeyFromOffsetTakesThePoseAndResetsParameters) {
    rgBone* joint = AddJoint(nullptr);
    joint->SetKey(5, Moved(1), 1, 1, 1, 1, 1, 1);
    joint->SetKey(9, Moved(1));
    const rgKeyframe* held = joint->GetKeyAt(5);
    joint->TranslateOffset({7, 0, 0}, matrix44());
    joint->SetKeyFromOffset(5);
    joint->SetKeyFromOffset(2);
    EXPECT_EQ(Frames(*joint), (std::vector<int>{2, 5, 9}));
    EXPECT_EQ(joint->GetKeyAt(5), held);  // replaced in place
    EXPECT_EQ(held->matrix.pos_component().x, 7.0f);
    EXPECT_EQ(held->trans_tcb, vector3(0, 0, 0));
    EXPECT_EQ(held->rot_tcb, vector3(0, 0, 0));
}

TEST_F(BoneKeysTest, DeletingKeys) {
    rgBone* joint = AddJoint(nullptr);
    for (int f : {1, 2, 3}) joint->SetKey(f, Moved(float(f)));
    // A script may give two keys one frame; DeleteKey takes the last of them.
    joint->GetKey(0)->frame = 2;
    joint->SortKeys();
    EXPECT_EQ(Frames(*joint), (std::vector<int>{2, 2, 3}));
    joint->DeleteKey(2);
    EXPECT_EQ(Frames(*joint), (std::vector<int>{2, 3}));
    EXPECT_EQ(joint->GetKey(0)->matrix.pos_component().x, 1.0f);
    joint->DeleteKey(42);
    joint->DeleteKeyIndex(2);
    joint->DeleteKeyIndex(-1);
    EXPECT_EQ(joint->GetKeyCount(), 2);
    joint->DeleteKeyIndex(0);
    EXPECT_EQ(Frames(*joint), (std::vector<int>{3}));
    EXPECT_TRUE(joint->HasKey(3));
    EXPECT_FALSE(joint->HasKey(2));
}

TEST_F(BoneKeysTest, SortIsStableForEqualFrames) {
    rgBone* joint = AddJoint(nullptr);
    for (int f : {5, 6, 7, 8}) joint->SetKey(f, Moved(float(f)));
    joint->GetKey(3)->frame = 1;
    joint->GetKey(1)->frame = 1;
    joint->SortKeys();
    EXPECT_EQ(Frames(*joint), (std::vector<int>{1, 1, 5, 7}));
    EXPECT_EQ(joint->GetKey(0)->matrix.pos_component().x, 6.0f);  // earlier in the list stays first
    EXPECT_EQ(joint->GetKey(1)->matrix.pos_component().x, 8.0f);
}

TEST_F(BoneKeysTest, NextAndPreviousKeyFrames) {
    rgBone* joint = AddJoint(nullptr);
    EXPECT_EQ(joint->NextKeyFrame(0), rgBone::kNoNextKey);
    EXPECT_EQ(joint->PrevKeyFrame(5), 0);
    for (int f : {0, 4, 10}) joint->SetKey(f, matrix44());
    struct Case {
        int frame, next, prev;
    } cases[] = {
        {-5, 0, 0}, {0, 4, 0}, {2, 4, 0},  // frame 0 never counts as a previous key
        {4, 10, 0}, {7, 10, 4}, {10, rgBone::kNoNextKey, 4}, {50, rgBone::kNoNextKey, 10},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(joint->NextKeyFrame(c.frame), c.next) << c.frame;
        EXPECT_EQ(joint->PrevKeyFrame(c.frame), c.prev) << c.frame;
    }
}

TEST_F(BoneKeysTest, BulkEditsSetAndDeleteManyKeysAtOnce) {
    struct Watcher : rgObjectWatcher {
        void ObjectDestroyed(const void* object) override { destroyed.push_back(object); }
        std::vector<const void*> destroyed;
    } watcher;
    context.SetObjectWatcher(&watcher);
    rgBone* joint = AddJoint(nullptr);
    for (int f : {2, 4, 6, 8}) joint->SetKey(f, Moved(float(f)), 1, 1, 1, 1, 1, 1);
    rgKeyframe* four = joint->GetKeyAt(4);
    joint->GetKey(3)->frame = 1;  // a script moved the key at 8 to 1: unsorted

    rgKeyframe k;
    k.matrix = Moved(40);
    k.frame = 4;
    std::vector<rgKeyframe> keys = {k};
    k.frame = 9;
    keys.push_back(k);
    k.frame = 3;
    keys.push_back(k);
    k.matrix = Moved(90);
    k.frame = 9;  // the later one of two at a frame wins
    keys.push_back(k);
    joint->SetKeys(keys);
    EXPECT_EQ(Frames(*joint), (std::vector<int>{1, 2, 3, 4, 6, 9}));
    EXPECT_EQ(joint->GetKeyAt(4), four);  // overwritten in place, parameters too
    EXPECT_EQ(four->matrix.pos_component().x, 40.0f);
    EXPECT_EQ(four->trans_tcb, vector3(0, 0, 0));
    EXPECT_EQ(joint->GetKeyMatrix(9)->pos_component().x, 90.0f);

    const rgKeyframe* two = joint->GetKeyAt(2);
    const rgKeyframe* three = joint->GetKeyAt(3);
    EXPECT_EQ(joint->DeleteKeysInRange(2, 3), 2);
    EXPECT_EQ(joint->DeleteKeysInRange(7, 8), 0);
    EXPECT_EQ(Frames(*joint), (std::vector<int>{1, 4, 6, 9}));
    EXPECT_EQ(watcher.destroyed, (std::vector<const void*>{two, three}));
    context.SetObjectWatcher(nullptr);
}

}  // namespace
