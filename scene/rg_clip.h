#pragma once

#include <string>

// A named range of frames on the scene's one timeline, the way engines cut
// one take into clips. Keys stay on the joints; a clip only names frames.
struct rgClip {
    std::string name;
    int first = 1;
    int last = 1;
    bool loop = false;
};
