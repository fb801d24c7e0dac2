#pragma once

#include <lua.hpp>

// Numbers from scripts become ints pinned to +-(2^30 - 1): an index or count
// beyond any range stays out of range, the sum of two stays an int, and no
// value (inf, 1e300, NaN) reaches an undefined conversion. NaN counts as the
// lowest value.
constexpr int kScriptIntLimit = (1 << 30) - 1;

inline int kinemo_to_int(lua_Number n) {
    if (n >= kScriptIntLimit) return kScriptIntLimit;
    if (n > -kScriptIntLimit) return static_cast<int>(n);
    return -kScriptIntLimit;
}
