#include <gtest/gtest.h>

#include "viewport/window_layout.h"

namespace {

using R = rgWindowRect;

struct ArrangeCase {
    int n;
    int choice;
    std::vector<R> expected;
};

// A 1001 x 601 backdrop: halves and quarters round toward zero.
const ArrangeCase kArrangements[] = {
    {1, 1, {{0, 0, 1001, 601}}},
    {2, 1, {{0, 0, 500, 601}, {500, 0, 500, 601}}},
    {2, 2, {{0, 0, 1001, 300}, {0, 300, 1001, 300}}},
    {3, 1, {{0, 0, 500, 300}, {0, 300, 500, 300}, {500, 0, 500, 601}}},
    {3, 2, {{0, 0, 500, 601}, {500, 0, 500, 300}, {500, 300, 500, 300}}},
    {3, 3, {{0, 0, 1001, 300}, {0, 300, 500, 300}, {500, 300, 500, 300}}},
    {3, 4, {{0, 0, 500, 300}, {500, 0, 500, 300}, {0, 300, 1001, 300}}},
    {4, 1, {{0, 0, 500, 300}, {500, 0, 500, 300}, {0, 300, 500, 300}, {500, 300, 500, 300}}},
    {5,
     1,
     {{0, 0, 200, 601},
      {200, 0, 200, 601},
      {400, 0, 200, 601},
      {600, 0, 200, 601},
      {800, 0, 200, 601}}},
    {5,
     2,
     {{0, 0, 1001, 120},
      {0, 120, 1001, 120},
      {0, 240, 1001, 120},
      {0, 360, 1001, 120},
      {0, 480, 1001, 120}}},
    {6,
     1,
     {{0, 0, 166, 601},
      {166, 0, 166, 601},
      {332, 0, 166, 601},
      {498, 0, 166, 601},
      {664, 0, 166, 601},
      {830, 0, 166, 601}}},
    {6,
     2,
     {{0, 0, 1001, 100},
      {0, 100, 1001, 100},
      {0, 200, 1001, 100},
      {0, 300, 1001, 100},
      {0, 400, 1001, 100},
      {0, 500, 1001, 100}}},
};

TEST(ArrangeWindows, LayoutsForOneToSixWindows) {
    for (const ArrangeCase& c : kArrangements) {
        const std::vector<R> got = ArrangeWindows(c.n, c.choice, 1001, 601);
        ASSERT_EQ(got.size(), c.expected.size()) << c.n << "/" << c.choice;
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_TRUE(got[i] == c.expected[i])
                << c.n << "/" << c.choice << " window " << i + 1 << ": " << got[i].left << ","
                << got[i].top << " " << got[i].width << "x" << got[i].height;
    }
}

TEST(ArrangeWindows, ChoicesOfferedAndRefused) {
    EXPECT_EQ(ArrangeChoiceCount(0), 0);
    EXPECT_EQ(ArrangeChoiceCount(1), 0);
    EXPECT_EQ(ArrangeChoiceCount(2), 2);
    EXPECT_EQ(ArrangeChoiceCount(3), 4);
    EXPECT_EQ(ArrangeChoiceCount(4), 0);  // quarters without asking
    EXPECT_EQ(ArrangeChoiceCount(9), 2);
    EXPECT_TRUE(ArrangeWindows(0, 1, 100, 100).empty());
    EXPECT_TRUE(ArrangeWindows(2, 3, 100, 100).empty());
    EXPECT_TRUE(ArrangeWindows(7, 0, 100, 100).empty());
}

TEST(ViewportTitle, NumbersWindowsOfTheSameProjection) {
    EXPECT_EQ(ViewportTitle(6, {6}), "Perspective:1");
    EXPECT_EQ(ViewportTitle(6, {6, 6}), "Perspective:2");
    EXPECT_EQ(ViewportTitle(0, {0, 6}), "Top:1");
    EXPECT_EQ(ViewportTitle(7, {0, 7, 7, 1}), "Camera:2");
    EXPECT_EQ(ViewportTitle(12, {12}), "1");  // no prefix outside the menu's projections
}

}  // namespace
