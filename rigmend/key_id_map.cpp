#include "rigmend/key_id_map.h"

#include <charconv>
#include <cstdint>

namespace rigmend {

void KeyIdMap::Reset(const Clip& clip) {
    from_ = clip.from;
    to_ = clip.to;
}

std::string KeyIdMap::Find(std::string_view frameText) const {
    int64_t frame = 0;
    const char* end = frameText.data() + frameText.size();
    const auto [ptr, ec] = std::from_chars(frameText.data(), end, frame);
    if (ec != std::errc() || ptr != end || frame < from_ || frame > to_) return {};
    // Only the canonical text of the number was a key (from_chars accepts "007" and "-0").
    if (std::to_string(frame) != frameText) return {};
    return std::to_string(frame - from_);
}

}  // namespace rigmend
