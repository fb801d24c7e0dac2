#pragma once

#include <string>
#include <vector>

// Placement of viewport windows on the backdrop, in backdrop pixels.
struct rgWindowRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const rgWindowRect& o) const {
        return left == o.left && top == o.top && width == o.width && height == o.height;
    }
};

// How many layouts "Arrange Viewports" offers for n windows: 0 means the
// layout is applied without asking (n = 1 and n = 4, and no windows at all).
int ArrangeChoiceCount(int windowCount);

// The rectangles of windows 1..n (list order) for layout `choice` (1-based;
// ignored when there is nothing to choose) on a backdrop of width x height.
// Empty for n = 0 or a choice that does not exist.
std::vector<rgWindowRect> ArrangeWindows(int windowCount, int choice, int backdropWidth,
                                         int backdropHeight);

// The title of a viewport window: its projection's prefix followed by the
// number of windows in the list sharing that projection, itself included.
std::string ViewportTitle(int projection, const std::vector<int>& listProjections);
