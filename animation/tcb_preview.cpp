#include "animation/tcb_preview.h"

#include "animation/tcb_position_spline.h"

namespace tcbpreview {

namespace {

struct PreviewKey {
    double time, x, y;
};
constexpr PreviewKey kKeys[5] = {
    {-20, -60, 0}, {-10, -30, 0}, {0, 0, 20}, {10, 30, 0}, {20, 60, 0}};

Point ToPixels(double x, double y, int width, int height) {
    return {static_cast<int>(width / 2 + x), static_cast<int>(height / 2 - y)};
}

}  // namespace

std::vector<Point> Curve(double tension, double continuity, double bias, int width, int height) {
    std::vector<TcbPositionSpline::Key> keys;
    for (int i = 0; i < 5; ++i) {
        const bool shown = i == 2;
        keys.push_back({kKeys[i].time,
                        {kKeys[i].x, kKeys[i].y, 0},
                        shown ? tension : 0,
                        shown ? continuity : 0,
                        shown ? bias : 0});
    }
    const TcbPositionSpline spline(keys);
    std::vector<Point> points;
    for (int t = -20; t <= 20; ++t) {
        const TcbPositionSpline::Vec p = spline.Evaluate(t);
        points.push_back(ToPixels(p.x, p.y, width, height));
    }
    return points;
}

std::array<Point, 5> Keys(int width, int height) {
    std::array<Point, 5> points;
    for (int i = 0; i < 5; ++i) points[i] = ToPixels(kKeys[i].x, kKeys[i].y, width, height);
    return points;
}

}  // namespace tcbpreview
