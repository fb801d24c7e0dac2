#include "rigmend/clip.h"

#include <algorithm>

#include "rigmend/number_text.h"

namespace rigmend {

Clip ParseClip(std::string_view entry) {
    Clip clip;
    const size_t first = entry.find(',');
    clip.name = std::string(entry.substr(0, first));
    if (first == std::string_view::npos) return clip;
    const std::string_view rest = entry.substr(first + 1);
    const size_t second = rest.find(',');
    clip.from = ParseLeadingInt(rest.substr(0, second));
    if (second != std::string_view::npos) clip.to = ParseLeadingInt(rest.substr(second + 1));
    return clip;
}

std::vector<Clip> ParseClips(const std::vector<std::string>& entries) {
    std::vector<Clip> clips;
    clips.reserve(entries.size());
    for (const std::string& entry : entries) clips.push_back(ParseClip(entry));
    return clips;
}

int LargestTo(const std::vector<Clip>& clips) {
    if (clips.empty()) return 0;
    return std::max_element(clips.begin(), clips.end(),
                            [](const Clip& a, const Clip& b) { return a.to < b.to; })
        ->to;
}

}  // namespace rigmend
