#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace rigmend {

// Splits text at LF; a CR before the LF is dropped, so CRLF and LF files read
// alike. A final line without a line end is kept; a final line end does not
// start another (empty) line.
std::vector<std::string> SplitLines(const std::string& text);

// Reads a whole file as lines. Returns false with a message in `error` when
// the file cannot be read.
bool ReadLines(const std::filesystem::path& path, std::vector<std::string>* lines,
               std::string* error);

}  // namespace rigmend
