#include "rigmend/text_lines.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace rigmend {

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        const size_t next = end == std::string::npos ? text.size() : end + 1;
        if (end == std::string::npos) end = text.size();
        if (end > start && text[end - 1] == '\r') --end;
        lines.emplace_back(text, start, end - start);
        start = next;
    }
    return lines;
}

bool ReadLines(const std::filesystem::path& path, std::vector<std::string>* lines,
               std::string* error) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        if (error) *error = "Cannot read '" + path.string() + "': it is a folder.";
        return false;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (in) text << in.rdbuf();
    if (!in || in.bad()) {
        if (error) {
            *error = "Cannot read '" + path.string() + "'";
            if (errno != 0) *error += std::string(": ") + std::strerror(errno);
            *error += ".";
        }
        return false;
    }
    *lines = SplitLines(text.str());
    return true;
}

}  // namespace rigmend
