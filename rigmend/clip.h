#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rigmend {

// One entry of the clip list: an animation cut from the exported frame range.
struct Clip {
    std::string name;
    int from = 0;  // first frame
    int to = 0;    // last frame, inclusive
};

// Splits "Name,From,To" at its first comma and the next comma after it. Entries
// are not validated: missing parts give an empty name or frame 0, and text
// after a third comma belongs to To (where the integer reading ignores it).
Clip ParseClip(std::string_view entry);

std::vector<Clip> ParseClips(const std::vector<std::string>& entries);

// The largest last frame of all clips (0 for none): the exported range the
// animation length covers.
int LargestTo(const std::vector<Clip>& clips);

}  // namespace rigmend
