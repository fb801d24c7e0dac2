#include "rigmend/clip_timing.h"

#include <cstdint>

namespace rigmend {

namespace {

// To - From without int overflow for extreme entries.
float FrameSpan(const Clip& clip) {
    return static_cast<float>(int64_t{clip.to} - int64_t{clip.from});
}

}  // namespace

float ClipLength(float exportedLength, int largestTo, const Clip& clip) {
    if (largestTo == 0) return 0.0f;
    const float secondsPerFrame = exportedLength / static_cast<float>(largestTo);
    return secondsPerFrame * FrameSpan(clip);
}

float KeyTime(float clipLength, const Clip& clip, int index) {
    if (clip.to == clip.from) return 0.0f;
    const float secondsPerFrame = clipLength / FrameSpan(clip);
    return secondsPerFrame * static_cast<float>(index);
}

}  // namespace rigmend
