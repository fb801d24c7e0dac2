#pragma once

#include <vector>

// Finds the segment of a key spline that covers `time` and the parameter u
// in [0, 1] within it: before the first segment its start (u = 0), after the
// last its end (u = 1), else the first segment ending after `time`.
// Segment needs fields t1, t2 (start and end time) and span (t2 - t1).
template <typename Segment>
const Segment* FindSegment(const std::vector<Segment>& segments, double time, double& u) {
    if (segments.empty()) return nullptr;
    if (time <= segments.front().t1) {
        u = 0.0;
        return &segments.front();
    }
    if (time >= segments.back().t2) {
        u = 1.0;
        return &segments.back();
    }
    for (const Segment& s : segments)
        if (time < s.t2) {
            u = s.span == 0.0 ? 0.0 : (time - s.t1) / s.span;
            return &s;
        }
    u = 1.0;
    return &segments.back();
}
