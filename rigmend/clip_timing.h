#pragma once

#include "rigmend/clip.h"

namespace rigmend {

// Seconds of a clip: (exported length / largest To) x (To - From), in 32-bit
// float arithmetic. A largest To of 0 would divide by zero; such clips get
// the length 0.
float ClipLength(float exportedLength, int largestTo, const Clip& clip);

// Seconds of the key with index `index` (frame - From) within the clip, in
// 32-bit float arithmetic; 0 when the clip is a single frame.
float KeyTime(float clipLength, const Clip& clip, int index);

}  // namespace rigmend
