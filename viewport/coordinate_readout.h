#pragma once

#include <string>

// A coordinate as the viewport window's X/Y/Z read-out shows it: rounded to
// seven significant digits, then fixed with five decimals, "." as the
// decimal separator whatever the locale. Magnitudes of 1e7 and more, which
// seven digits cannot hold in fixed notation, use scientific notation.
std::string FormatCoordinate(float value);
