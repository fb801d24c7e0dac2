#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kinemo_plugin {

// The whole file; false with the reason (missing, a folder, unreadable).
bool ReadTextFile(const std::string& path, std::string& text, std::string& problem);
// Writes beside the file and renames it over the old one, so a failed
// write never leaves half a file.
bool WriteTextFile(const std::string& path, std::string_view text, std::string& problem);

// Calls f(begin, end, number) for every line (without its CR LF or LF),
// numbered from 1, until f returns false; answers what f last returned.
template <typename F>
bool ForEachLine(std::string_view text, F&& f) {
    size_t start = 0, number = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        const size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos) end = text.size();
        size_t stop = end;
        if (stop > start && text[stop - 1] == '\r') --stop;
        if (!f(text.data() + start, text.data() + stop, ++number)) return false;
        start = next;
    }
    return true;
}

}  // namespace kinemo_plugin
