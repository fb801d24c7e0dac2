#pragma once

#include <string>
#include <string_view>

#include "rigmend/clip.h"

namespace rigmend {

// Group "Key ID's" of a run's working store for the current clip: the decimal
// text of every frame From..To -> that frame's index within the clip ("0",
// "1", ...). The entries follow from the range, so they are computed on lookup
// instead of stored; a clip spanning millions of frames costs nothing.
class KeyIdMap {
public:
    void Reset(const Clip& clip);
    // The index text, or the empty text for anything that is not exactly the
    // decimal text of a frame in the range (so "07" or " 7" are not found).
    std::string Find(std::string_view frameText) const;

private:
    int from_ = 0;
    int to_ = -1;
};

}  // namespace rigmend
