#pragma once

#include <string>
#include <string_view>

namespace rigmend {

// Reads an integer the way the clip list and the key lines are read: leading
// blanks and one sign allowed, then digits up to the first non-digit. No
// digits give 0; values beyond the int range are clamped to it.
int ParseLeadingInt(std::string_view text);

// Reads a 32-bit float with "." as decimal point from the start of `text`
// (leading blanks and one sign allowed, anything after the number ignored).
// Text that does not start with a finite number gives 0.
float ParseLeadingFloat(std::string_view text);

// The value in fixed notation with exactly 10 digits after the point, as the
// XML files carry times and lengths. Independent of the process locale;
// negative zero (and anything that would print as -0.0000000000) is written
// as 0.0000000000.
std::string FormatFixed10(float value);

}  // namespace rigmend
