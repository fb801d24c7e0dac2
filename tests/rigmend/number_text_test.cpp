#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <string>

#include "rigmend/number_text.h"

namespace rigmend {
namespace {

TEST(ParseLeadingInt, ReadsBlanksSignAndDigitsUpToTheFirstNonDigit) {
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"12", 12},
        {"  12", 12},
        {"\t-3", -3},
        {"+7", 7},
        {"12abc", 12},
        {"1 2", 1},
        {"12.9", 12},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"--5", 0},
        {"- 5", 0},
        {"2147483647", INT_MAX},
        {"99999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-99999999999", INT_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseLeadingInt(c.text), c.value) << '"' << c.text << '"';
}

TEST(ParseLeadingFloat, ReadsAFiniteNumberAndIgnoresTheRest) {
    const struct {
        const char* text;
        float value;
    } cases[] = {
        {"2.0", 2.0f},    {" 2.5 ", 2.5f}, {"-1.5", -1.5f}, {"+.5", 0.5f},
        {"1e3", 1000.0f}, {"3,5", 3.0f},   {"abc", 0.0f},   {"", 0.0f},
        {"inf", 0.0f},    {"nan", 0.0f},   {"1e99", 0.0f},  {"+-2", 0.0f},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseLeadingFloat(c.text), c.value) << '"' << c.text << '"';
}

TEST(FormatFixed10, WritesTenDecimalsAndNoNegativeZero) {
    const struct {
        float value;
        const char* text;
    } cases[] = {
        {0.5f, "0.5000000000"},
        {0.0f, "0.0000000000"},
        {-0.0f, "0.0000000000"},
        {-1e-12f, "0.0000000000"},
        {-0.5f, "-0.5000000000"},
        {2.0f / 24.0f, "0.0833333358"},  // shows the float, not the decimal it came from
        {1234.5f, "1234.5000000000"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatFixed10(c.value), c.text) << c.value;
}

TEST(FormatFixed10, IgnoresTheProcessLocale) {
    // The window's QApplication adopts the user's locale, which may use a decimal comma.
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "no German locale installed";
    const std::string text = FormatFixed10(0.25f);
    const float parsed = ParseLeadingFloat("0.25");
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(text, "0.2500000000");
    EXPECT_EQ(parsed, 0.25f);
}

}  // namespace
}  // namespace rigmend
