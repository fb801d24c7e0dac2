#pragma once

#include <string>
#include <vector>

namespace rigmend {

// Reads through a file's lines one at a time; the skeleton rewrite goes back
// to the start of the tracks for every clip.
class LineCursor {
public:
    explicit LineCursor(const std::vector<std::string>& lines) : lines_(lines) {}

    // The next line, or nullptr once the text has ended.
    const std::string* Next() { return pos_ < lines_.size() ? &lines_[pos_++] : nullptr; }
    size_t Position() const { return pos_; }
    void Seek(size_t pos) { pos_ = pos; }
    size_t LineCount() const { return lines_.size(); }

private:
    const std::vector<std::string>& lines_;
    size_t pos_ = 0;
};

}  // namespace rigmend
