#include "viewport/grid_lines.h"

#include <cmath>

namespace {

// Beyond this many lines in one direction a grid is a grey wash: it is
// counted (so the adaptive spacing still settles) but not built.
constexpr long kMaxBuiltLines = 4096;

// Number of values start, start + s, ... that stay <= end.
long LineCount(double start, double end, double s) {
    if (!(s > 0) || !std::isfinite(start) || !std::isfinite(end) || end < start) return 0;
    const double n = std::floor((end - start) / s + 1e-9) + 1;
    return n > 1e9 ? 1000000000L : static_cast<long>(n);
}

// A point on the plane of an orthographic projection from its screen-axis
// coordinates (h horizontal, v vertical).
vector3 OnPlane(int projection, float h, float v) {
    switch (projection) {
        case kProjTop:
        case kProjBottom:
            return {h, 0, v};
        case kProjLeft:
        case kProjRight:
            return {0, v, h};
        default:
            return {h, v, 0};
    }
}

}  // namespace

rgGrid PerspectiveGrid(const rgViewportState& state) {
    rgGrid grid;
    const float s = state.gridSpacing;
    const float half = state.gridExtent / 2.0f;
    const long n = LineCount(-half, half, s);
    if (n == 0 || n > kMaxBuiltLines) return grid;
    grid.horizontalCount = grid.verticalCount = static_cast<int>(n);
    grid.lines.reserve(static_cast<size_t>(2 * n));
    for (long k = 0; k < n; ++k) {
        const float x = -half + static_cast<float>(k) * s;
        grid.lines.push_back({{x, 0, -half}, {x, 0, half}, false});
    }
    for (long k = 0; k < n; ++k) {
        const float z = -half + static_cast<float>(k) * s;
        grid.lines.push_back({{-half, 0, z}, {half, 0, z}, false});
    }
    return grid;
}

rgGrid OrthoGrid(const rgViewportState& state, float aspect, bool adaptive) {
    rgGrid grid;
    const float s = adaptive ? state.adaptiveSpacing : state.gridSpacing;
    const float zoom = state.orthoView.z;
    if (!(s > 0) || !(zoom > 0)) return grid;
    const bool sideView = state.projection == kProjLeft || state.projection == kProjRight;
    const float ph = sideView ? state.orthoView.y : state.orthoView.x;
    const float pv = sideView ? state.orthoView.x : state.orthoView.y;

    // First lines one spacing before the visible edge, snapped to the spacing;
    // a line's index is its position in spacings, so major lines meet at the origin.
    const double rawA = -aspect / zoom - ph;
    const double rawB = -1.0 / zoom - pv;
    const long i0 = static_cast<long>(std::trunc(rawA / s)) - 1;
    const long j0 = static_cast<long>(std::trunc(rawB / s)) - 1;
    const double a = static_cast<double>(i0) * s;
    const double b = static_cast<double>(j0) * s;
    const double aEnd = a + 2.0 * aspect / zoom + 2.0 * s;
    const double bEnd = b + 2.0 / zoom + 2.0 * s;
    const long nh = LineCount(a, aEnd, s);
    const long nv = LineCount(b, bEnd, s);
    grid.horizontalCount = static_cast<int>(nh);
    grid.verticalCount = static_cast<int>(nv);
    if (nh > kMaxBuiltLines || nv > kMaxBuiltLines) return grid;

    const int every = state.majorLinesEvery;
    auto isMajor = [&](long index) { return adaptive && every > 0 && index % every == 0; };
    const float fa = static_cast<float>(a), fb = static_cast<float>(b);
    const float faEnd = static_cast<float>(aEnd), fbEnd = static_cast<float>(bEnd);
    grid.lines.reserve(static_cast<size_t>(nh + nv));
    for (long k = 0; k < nh; ++k) {
        const float h = static_cast<float>(a + static_cast<double>(k) * s);
        grid.lines.push_back({OnPlane(state.projection, h, fb), OnPlane(state.projection, h, fbEnd),
                              isMajor(i0 + k)});
    }
    for (long k = 0; k < nv; ++k) {
        const float v = static_cast<float>(b + static_cast<double>(k) * s);
        grid.lines.push_back({OnPlane(state.projection, fa, v), OnPlane(state.projection, faEnd, v),
                              isMajor(j0 + k)});
    }
    return grid;
}

void AdaptGridSpacing(rgViewportState& state, const rgGrid& drawn) {
    int count =
        drawn.horizontalCount > drawn.verticalCount ? drawn.horizontalCount : drawn.verticalCount;
    if (count <= 0 || !(state.adaptiveSpacing > 0)) return;  // nothing to settle on
    while (count >= 101) {
        state.adaptiveSpacing *= 2.0f;
        count /= 2;
    }
    while (count < 50) {
        state.adaptiveSpacing /= 2.0f;
        count *= 2;
    }
}

float GridLineVisibility(float spacing, float focalPixels, float depth) {
    if (!(depth > 0)) return 1.0f;  // at or behind the eye: clipped anyway
    const float apart = spacing * focalPixels / depth;
    const float v = (apart - 2.0f) / 4.0f;
    return v < 0 ? 0.0f : v > 1 ? 1.0f : v;
}

void FadedGridLines(const rgGrid& grid, const matrix44& view, float focalPixels, float spacing,
                    const vector3& minor, const vector3& major, const vector3& background,
                    std::vector<float>& points, std::vector<float>& colours) {
    constexpr int kPieces = 16;
    const float* m = view.m;
    auto visibility = [&](const vector3& p) {
        const float depth = -(p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14]);
        return GridLineVisibility(spacing, focalPixels, depth);
    };
    auto put = [&](const vector3& p, float v, const vector3& c) {
        points.insert(points.end(), {p.x, p.y, p.z});
        colours.insert(colours.end(), {background.x + (c.x - background.x) * v,
                                       background.y + (c.y - background.y) * v,
                                       background.z + (c.z - background.z) * v});
    };
    for (const rgGridLine& line : grid.lines) {
        const vector3& c = line.major ? major : minor;
        const vector3 step = (line.to - line.from) * (1.0f / kPieces);
        vector3 a = line.from;
        float va = visibility(a);
        for (int k = 0; k < kPieces; ++k) {
            const vector3 b = k + 1 == kPieces ? line.to : line.from + step * static_cast<float>(k + 1);
            const float vb = visibility(b);
            // A piece faded away at both ends would only draw the background.
            if (va > 0 || vb > 0) {
                put(a, va, c);
                put(b, vb, c);
            }
            a = b;
            va = vb;
        }
    }
}
