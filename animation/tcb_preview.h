#pragma once

#include <array>
#include <vector>

// The curve previews of the Key Info window: the shape a key's tension,
// continuity and bias give a position spline, drawn from the spline the
// evaluation uses. Five keys at times -20, -10, 0, 10, 20 lie at x = -60,
// -30, 0, 30, 60 on the horizontal axis, except the middle one, which peaks
// at y = 20 and carries the parameters shown.
namespace tcbpreview {

struct Point {
    int x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

// The spline at every integer time -20 .. 20 in preview pixels: (w/2 + x,
// h/2 - y), y growing downward, each truncated toward zero. Outside -10 .. 10
// the spline holds its end positions.
std::vector<Point> Curve(double tension, double continuity, double bias, int width, int height);

// The five keys in preview pixels (the outer two lie outside a narrow preview).
std::array<Point, 5> Keys(int width, int height);

}  // namespace tcbpreview
