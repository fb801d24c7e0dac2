#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "rigmend/skeleton_rewrite.h"
#include "rigmend/text_lines.h"
#include "tests/rigmend/rigmend_fixture.h"

namespace rigmend {
namespace {

using rigmend_test::Animations;
using rigmend_test::CrlfLines;
using rigmend_test::FrameRange;
using rigmend_test::SkeletonText;
using rigmend_test::WrittenAnimation;

struct Rewritten {
    bool ok = false;
    std::string error;
    std::string text;
    BoneIdMap bones;
};

Rewritten Rewrite(const std::string& skeleton, const std::vector<std::string>& clipEntries) {
    Rewritten r;
    std::ostringstream out;
    LineWriter writer(out);
    r.ok =
        RewriteSkeleton(SplitLines(skeleton), ParseClips(clipEntries), r.bones, writer, &r.error);
    r.text = out.str();
    return r;
}

const WrittenAnimation* Find(const std::vector<WrittenAnimation>& animations,
                             const std::string& name) {
    for (const auto& a : animations)
        if (a.name == name) return &a;
    return nullptr;
}

const std::vector<rigmend_test::FixtureBone> kTwoBones = {{"0", "Root"}, {"1", "Arm"}};

// A whole file, so the copied header, the replaced lines and the dropped tail are all pinned.
TEST(RewriteSkeleton, WritesTheExpectedFileFromLfOrCrlfInput) {
    const std::string input =
        "<skeleton>\n"
        "  <bones>\n"
        "    <bone id='5' name='Root'>\n"
        "    </bone>\n"
        "  </bones>\n"
        "  <animations>\n"
        "    <animation name='Exported' length='1.0'>\n"
        "      <tracks>\n"
        "        <track bone='Root'>\n"
        "          <keyframes>\n"
        "            <keyframe time='1'>\n"
        "              <translate x='1'/>\n"
        "              <rotate angle='0'>\n"
        "                <axis x='1'/>\n"
        "              </rotate>\n"
        "            </keyframe>\n"
        "            <keyframe time='2'>\n"
        "              <translate x='2'/>\n"
        "              <rotate angle='0'>\n"
        "                <axis x='1'/>\n"
        "              </rotate>\n"
        "            </keyframe>\n"
        "            <keyframe time='3'>\n"
        "              <translate x='3'/>\n"
        "              <rotate angle='0'>\n"
        "                <axis x='1'/>\n"
        "              </rotate>\n"
        "            </keyframe>\n"
        "          </keyframes>\n"
        "        </track>\n"
        "      </tracks>\n"
        "    </animation>\n"
        "  </animations>\n"
        "</skeleton>\n"
        "<!-- after the end -->\n";
    const std::string expected =
        "<skeleton>\r\n"
        "  <bones>\r\n"
        "    <bone id='0' name='Root'>\r\n"
        "    </bone>\r\n"
        "  </bones>\r\n"
        "  <animations>\r\n"
        "    <animation name='Idle' length='0.3333333433'>\r\n"
        "      <tracks>\r\n"
        "        <track bone='Root'>\r\n"
        "          <keyframes>\r\n"
        "            <keyframe time='0.0000000000'>\r\n"
        "              <translate x='1'/>\r\n"
        "              <rotate angle='0'>\r\n"
        "                <axis x='1'/>\r\n"
        "              </rotate>\r\n"
        "            </keyframe>\r\n"
        "            <keyframe time='0.3333333433'>\r\n"
        "              <translate x='2'/>\r\n"
        "              <rotate angle='0'>\r\n"
        "                <axis x='1'/>\r\n"
        "              </rotate>\r\n"
        "            </keyframe>\r\n"
        "          </keyframes>\r\n"
        "        </track>\r\n"
        "      </tracks>\r\n"
        "    </animation>\r\n"
        "    <animation name='Hit' length='0.0000000000'>\r\n"
        "      <tracks>\r\n"
        "        <track bone='Root'>\r\n"
        "          <keyframes>\r\n"
        "            <keyframe time='0.0000000000'>\r\n"
        "              <translate x='3'/>\r\n"
        "              <rotate angle='0'>\r\n"
        "                <axis x='1'/>\r\n"
        "              </rotate>\r\n"
        "            </keyframe>\r\n"
        "          </keyframes>\r\n"
        "        </track>\r\n"
        "      </tracks>\r\n"
        "    </animation>\r\n"
        "  </animations>\r\n"
        "</skeleton>\r\n";
    std::string crlfInput;
    for (char c : input) crlfInput += c == '\n' ? std::string("\r\n") : std::string(1, c);

    for (const std::string& in : {input, crlfInput}) {
        const Rewritten r = Rewrite(in, {"Idle,1,2", "Hit,3,3"});
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.text, expected);
    }
}

TEST(RewriteSkeleton, RenumbersBonesInFileOrderAndKeepsTheirNames) {
    const Rewritten r = Rewrite(
        SkeletonText({{"3", "Root"}, {"7", "Bone7"}, {"9", "Hand"}}, "1.0", FrameRange(1, 2)),
        {"Walk,1,2"});
    ASSERT_TRUE(r.ok) << r.error;
    const std::string text = r.text;
    EXPECT_NE(text.find("    <bone id='0' name='Root'>\r\n"), std::string::npos);
    EXPECT_NE(text.find("    <bone id='1' name='Bone7'>\r\n"), std::string::npos);
    EXPECT_NE(text.find("    <bone id='2' name='Hand'>\r\n"), std::string::npos);
    EXPECT_EQ(text.find("<bone id='3'"), std::string::npos);
    EXPECT_EQ(r.bones.Find("3"), "0");
    EXPECT_EQ(r.bones.Find("7"), "1");
    EXPECT_EQ(r.bones.Find("9"), "2");
    EXPECT_EQ(r.bones.Size(), 3u);
    // Every track of the three bones is kept.
    EXPECT_EQ(Animations(CrlfLines(text)).at(0).tracks.size(), 3u);
}

// Exported length 2.0 over frames 1..24: M = 24 whatever the list order.
TEST(RewriteSkeleton, CutsClipsWithTimesInSecondsFromZero) {
    const std::string skeleton = SkeletonText(kTwoBones, "2.0", FrameRange(1, 24));
    for (const auto& order : std::vector<std::vector<std::string>>{{"Walk,1,12", "Run,13,24"},
                                                                   {"Run,13,24", "Walk,1,12"}}) {
        SCOPED_TRACE(order.front());
        const Rewritten r = Rewrite(skeleton, order);
        ASSERT_TRUE(r.ok) << r.error;
        const auto animations = Animations(CrlfLines(r.text));
        ASSERT_EQ(animations.size(), 2u);
        EXPECT_EQ(animations[0].name, order[0].substr(0, order[0].find(',')));

        for (const char* name : {"Walk", "Run"}) {
            const WrittenAnimation* a = Find(animations, name);
            ASSERT_NE(a, nullptr) << name;
            EXPECT_EQ(a->length, "0.9166666865") << name;
            ASSERT_EQ(a->tracks.size(), 2u) << name;
            for (const auto& keys : a->tracks) ASSERT_EQ(keys.size(), 12u) << name;
        }
        const auto& walk = Find(animations, "Walk")->tracks[1];
        EXPECT_EQ(walk[0].frame, "1");
        EXPECT_EQ(walk[0].time, "0.0000000000");
        EXPECT_EQ(walk[1].frame, "2");
        EXPECT_EQ(walk[1].time, "0.0833333358");
        EXPECT_EQ(walk[11].frame, "12");
        EXPECT_EQ(walk[11].time, "0.9166666865");
        const auto& run = Find(animations, "Run")->tracks[0];
        EXPECT_EQ(run[0].frame, "13");
        EXPECT_EQ(run[0].time, "0.0000000000");
        EXPECT_EQ(run[11].frame, "24");
    }
}

TEST(RewriteSkeleton, EveryOfTenClipsGetsCompleteTracks) {
    std::vector<std::string> clips;
    for (int i = 0; i < 10; ++i)
        clips.push_back("C" + std::to_string(i) + "," + std::to_string(2 * i + 1) + "," +
                        std::to_string(2 * i + 2));
    const Rewritten r = Rewrite(
        SkeletonText({{"0", "A"}, {"1", "B"}, {"2", "C"}}, "20.0", FrameRange(1, 20)), clips);
    ASSERT_TRUE(r.ok) << r.error;
    const auto animations = Animations(CrlfLines(r.text));
    ASSERT_EQ(animations.size(), 10u);
    for (int i = 0; i < 10; ++i) {
        const auto& a = animations[i];
        EXPECT_EQ(a.name, "C" + std::to_string(i));
        EXPECT_EQ(a.length, "1.0000000000") << a.name;
        ASSERT_EQ(a.tracks.size(), 3u) << a.name;
        for (const auto& keys : a.tracks) {
            ASSERT_EQ(keys.size(), 2u) << a.name;
            EXPECT_EQ(keys[0].frame, std::to_string(2 * i + 1)) << a.name;
            EXPECT_EQ(keys[1].time, "1.0000000000") << a.name;
        }
    }
    // The exported closing lines end the file once, after the last clip.
    EXPECT_TRUE(r.text.ends_with(
        "        </track>\r\n      </tracks>\r\n    </animation>\r\n  </animations>\r\n"
        "</skeleton>\r\n"));
    EXPECT_EQ(r.text.find("  </animations>"), r.text.rfind("  </animations>"));
}

TEST(RewriteSkeleton, EdgeClips) {
    const struct {
        const char* why;
        std::vector<std::string> clips;
        const char* clip;
        const char* length;
        std::vector<std::string> times;
    } cases[] = {
        {"single frame", {"Pose,5,5", "Walk,1,12"}, "Pose", "0.0000000000", {"0.0000000000"}},
        {"To below From", {"Back,9,5", "Walk,1,12"}, "Back", "-0.6666666865", {}},
        {"largest To 0",
         {"Zero,-2,0"},
         "Zero",
         "0.0000000000",
         {"0.0000000000", "0.0000000000", "0.0000000000"}},
        {"no commas", {"Broken", "Walk,1,12"}, "Broken", "0.0000000000", {"0.0000000000"}},
        {"beyond the keys", {"Late,30,40", "Walk,1,12"}, "Late", "0.5000000000", {}},
    };
    const std::string skeleton = SkeletonText({{"0", "Root"}}, "2.0", FrameRange(-2, 12));
    for (const auto& c : cases) {
        const Rewritten r = Rewrite(skeleton, c.clips);
        ASSERT_TRUE(r.ok) << c.why << ": " << r.error;
        const auto animations = Animations(CrlfLines(r.text));
        const WrittenAnimation* a = Find(animations, c.clip);
        ASSERT_NE(a, nullptr) << c.why;
        EXPECT_EQ(a->length, c.length) << c.why;
        ASSERT_EQ(a->tracks.size(), 1u) << c.why;
        std::vector<std::string> times;
        for (const auto& key : a->tracks[0]) times.push_back(key.time);
        EXPECT_EQ(times, c.times) << c.why;
    }
}

TEST(RewriteSkeleton, StopsOnTextWithoutTheExpectedLayout) {
    const std::string good = SkeletonText(kTwoBones, "2.0", FrameRange(1, 3));
    const size_t lineCount = SplitLines(good).size();
    const size_t animationsLine = 20;  // "  <animations>" in this fixture
    ASSERT_EQ(SplitLines(good)[animationsLine - 1], "  <animations>");

    const struct {
        const char* why;
        std::string text;
        const char* error;
    } cases[] = {
        {"no animations line", rigmend_test::FirstLines(good, animationsLine - 1),
         "has no line '  <animations>'"},
        {"animations line indented differently",
         [&] {
             std::string t = good;
             t.replace(t.find("  <animations>"), 14, "   <animations>");
             return t;
         }(),
         "has no line '  <animations>'"},
        {"ends after the animations line", rigmend_test::FirstLines(good, animationsLine),
         "ends early"},
        {"ends after the animation line", rigmend_test::FirstLines(good, animationsLine + 1),
         "ends early"},
        {"ends inside a key", rigmend_test::FirstLines(good, animationsLine + 7), "ends early"},
        {"ends inside the second track", rigmend_test::FirstLines(good, lineCount - 8),
         "ends early"},
        {"lacks the last closing line", rigmend_test::FirstLines(good, lineCount - 1),
         "ends early"},
        {"empty", "", "has no line '  <animations>'"},
    };
    for (const auto& c : cases) {
        const Rewritten r = Rewrite(c.text, {"Walk,1,2", "Run,3,3"});
        EXPECT_FALSE(r.ok) << c.why;
        EXPECT_NE(r.error.find(c.error), std::string::npos) << c.why << ": " << r.error;
    }
    EXPECT_FALSE(Rewrite(good, {}).ok);
}

}  // namespace
}  // namespace rigmend
