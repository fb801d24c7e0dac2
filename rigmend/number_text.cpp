#include "rigmend/number_text.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>

namespace rigmend {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Skips leading blanks and one sign; returns true for a minus sign.
bool TakeSign(std::string_view& text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    if (text.empty() || (text.front() != '+' && text.front() != '-')) return false;
    const bool negative = text.front() == '-';
    text.remove_prefix(1);
    return negative;
}

}  // namespace

int ParseLeadingInt(std::string_view text) {
    const bool negative = TakeSign(text);
    // Accumulated as a magnitude with an early stop, so long digit runs cannot overflow.
    constexpr int64_t kLimit = int64_t{INT_MAX} + 1;
    int64_t magnitude = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > kLimit) magnitude = kLimit;
    }
    if (negative) return static_cast<int>(-magnitude);
    return static_cast<int>(magnitude > INT_MAX ? INT_MAX : magnitude);
}

float ParseLeadingFloat(std::string_view text) {
    const bool negative = TakeSign(text);
    // from_chars would take a second sign, "inf" and "nan"; none of them is a length.
    if (text.empty() || !((text.front() >= '0' && text.front() <= '9') || text.front() == '.'))
        return 0.0f;
    float value = 0.0f;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || !std::isfinite(value)) return 0.0f;
    return negative ? -value : value;
}

std::string FormatFixed10(float value) {
    static constexpr std::string_view kZero = "0.0000000000";
    if (value == 0.0f) return std::string(kZero);
    char buf[64];  // FLT_MAX has 39 integer digits
    const auto r = std::to_chars(buf, buf + sizeof(buf), static_cast<double>(value),
                                 std::chars_format::fixed, 10);
    std::string_view text(buf, static_cast<size_t>(r.ptr - buf));
    if (text == "-0.0000000000") return std::string(kZero);
    return std::string(text);
}

}  // namespace rigmend
