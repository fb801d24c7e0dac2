#include "viewport/window_layout.h"

#include "viewport/viewport_state.h"

int ArrangeChoiceCount(int n) {
    if (n == 2 || n >= 5) return 2;
    if (n == 3) return 4;
    return 0;
}

std::vector<rgWindowRect> ArrangeWindows(int n, int choice, int w, int h) {
    const rgWindowRect all{0, 0, w, h};
    const int hw = w / 2, hh = h / 2;
    const rgWindowRect leftHalf{0, 0, hw, h}, rightHalf{hw, 0, hw, h};
    const rgWindowRect topHalf{0, 0, w, hh}, bottomHalf{0, hh, w, hh};
    const rgWindowRect tl{0, 0, hw, hh}, tr{hw, 0, hw, hh}, bl{0, hh, hw, hh}, br{hw, hh, hw, hh};
    switch (n) {
        case 1:
            return {all};
        case 2:
            if (choice == 1) return {leftHalf, rightHalf};
            if (choice == 2) return {topHalf, bottomHalf};
            return {};
        case 3:
            if (choice == 1) return {tl, bl, rightHalf};
            if (choice == 2) return {leftHalf, tr, br};
            if (choice == 3) return {topHalf, bl, br};
            if (choice == 4) return {tl, tr, bottomHalf};
            return {};
        case 4:
            return {tl, tr, bl, br};
        default:
            break;
    }
    if (n < 5 || (choice != 1 && choice != 2)) return {};
    std::vector<rgWindowRect> rects;
    rects.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        if (choice == 1)
            rects.push_back({i * (w / n), 0, w / n, h});
        else
            rects.push_back({0, i * (h / n), w, h / n});
    }
    return rects;
}

std::string ViewportTitle(int projection, const std::vector<int>& listProjections) {
    int same = 0;
    for (int p : listProjections)
        if (p == projection) ++same;
    return std::string(ProjectionTitlePrefix(projection)) + std::to_string(same);
}
