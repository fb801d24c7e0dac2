#include "viewport/coordinate_readout.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// snprintf follows the C locale's separator; the program never changes
// LC_NUMERIC, but be safe against a host that did.
std::string WithPoint(std::string text) {
    for (char& c : text)
        if (c == ',') c = '.';
    return text;
}

}  // namespace

std::string FormatCoordinate(float value) {
    if (!std::isfinite(value)) return value != value ? "NAN" : (value > 0 ? "INF" : "-INF");
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6e", static_cast<double>(value));
    const double rounded = std::strtod(buffer, nullptr);  // seven significant digits
    if (std::fabs(rounded) >= 1e7) {
        std::snprintf(buffer, sizeof buffer, "%.6E", rounded);
        return WithPoint(buffer);
    }
    std::snprintf(buffer, sizeof buffer, "%.5f", rounded);
    std::string text = WithPoint(buffer);
    if (text == "-0.00000") text = "0.00000";
    return text;
}
