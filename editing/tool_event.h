#pragma once

class rgToolViewport;

// A mouse event as the tools pass it between their operations: client
// pixels of the viewport (y downward), rgShiftState bits, the viewport.
struct rgToolEvent {
    int x = 0;
    int y = 0;
    int shift = 0;
    rgToolViewport* viewport = nullptr;
};

struct rgPixel {
    int x = 0;
    int y = 0;
    bool operator==(const rgPixel&) const = default;
};
