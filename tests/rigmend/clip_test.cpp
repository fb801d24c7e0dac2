#include <gtest/gtest.h>

#include "rigmend/clip.h"
#include "rigmend/key_id_map.h"

namespace rigmend {
namespace {

TEST(ParseClip, SplitsAtTheFirstTwoCommasWithoutValidating) {
    const struct {
        const char* entry;
        const char* name;
        int from;
        int to;
    } cases[] = {
        {"Walk,1,12", "Walk", 1, 12},
        {"Run, 13 ,24", "Run", 13, 24},
        {"Walk", "Walk", 0, 0},
        {"Walk,5", "Walk", 5, 0},
        {",1,2", "", 1, 2},
        {"A,1,2,3", "A", 1, 2},
        {"A,x,-4", "A", 0, -4},
        {"Two words,3,4", "Two words", 3, 4},
        {"", "", 0, 0},
    };
    for (const auto& c : cases) {
        const Clip clip = ParseClip(c.entry);
        EXPECT_EQ(clip.name, c.name) << c.entry;
        EXPECT_EQ(clip.from, c.from) << c.entry;
        EXPECT_EQ(clip.to, c.to) << c.entry;
    }
}

TEST(LargestTo, DoesNotDependOnListOrder) {
    EXPECT_EQ(LargestTo(ParseClips({"Run,13,24", "Walk,1,12"})), 24);
    EXPECT_EQ(LargestTo(ParseClips({"Walk,1,12", "Run,13,24"})), 24);
    EXPECT_EQ(LargestTo(ParseClips({"A,-9,-5", "B,-9,-7"})), -5);
    EXPECT_EQ(LargestTo({}), 0);
}

TEST(KeyIdMap, FindsExactlyTheFrameTextsOfTheClip) {
    KeyIdMap keys;
    keys.Reset(ParseClip("Walk,5,9"));
    const struct {
        const char* frameText;
        const char* index;
    } cases[] = {
        {"5", "0"}, {"7", "2"}, {"9", "4"}, {"4", ""},  {"10", ""},
        {"07", ""}, {" 7", ""}, {"7 ", ""}, {"+7", ""}, {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(keys.Find(c.frameText), c.index) << c.frameText;

    keys.Reset(ParseClip("Back,9,5"));  // To below From: no frames at all
    EXPECT_EQ(keys.Find("7"), "");
    keys.Reset(ParseClip("Neg,-2,0"));
    EXPECT_EQ(keys.Find("-2"), "0");
    EXPECT_EQ(keys.Find("0"), "2");
    EXPECT_EQ(keys.Find("-0"), "");
}

}  // namespace
}  // namespace rigmend
