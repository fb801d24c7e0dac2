#include "plugins/native/common/text_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace kinemo_plugin {

namespace fs = std::filesystem;

bool ReadTextFile(const std::string& path, std::string& text, std::string& problem) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        problem = "it is a folder, not a file";
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        problem = std::strerror(errno);
        return false;
    }
    text.clear();
    char buffer[1 << 16];
    size_t n;
    try {
        while ((n = std::fread(buffer, 1, sizeof(buffer), file)) > 0) text.append(buffer, n);
    } catch (...) {
        std::fclose(file);
        throw;
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) problem = "it cannot be read";
    return !failed;
}

bool WriteTextFile(const std::string& path, std::string_view text, std::string& problem) {
    const std::string part = path + ".part";
    std::FILE* file = std::fopen(part.c_str(), "wb");
    if (!file) {
        problem = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const bool closed = std::fclose(file) == 0;
    std::error_code ec;
    if (!written || !closed) {
        problem = "cannot write " + path + ": " + std::strerror(errno);
        fs::remove(part, ec);
        return false;
    }
    fs::rename(part, path, ec);
    if (ec) {
        problem = "cannot write " + path + ": " + ec.message();
        fs::remove(part, ec);
        return false;
    }
    return true;
}

}  // namespace kinemo_plugin
