#include "plugins/native/common/texture_files.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace kinemo_plugin {

namespace fs = std::filesystem;

namespace {

std::string Extension(const std::string& name, const unsigned char* data, size_t size) {
    if (size >= 8 && std::memcmp(data, "\x89PNG", 4) == 0) return ".png";
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return ".jpg";
    const std::string ext = fs::path(name).extension().string();
    return ext.empty() || ext.size() > 6 ? ".img" : ext;
}

uint64_t Fnv1a(const unsigned char* data, size_t size) {
    uint64_t h = 1469598103934665603ull;
    for (size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 1099511628211ull;
    return h;
}

// Letters, digits, '-' and '_' of a name; the rest become '_'.
std::string Plain(const std::string& text) {
    std::string out;
    for (char c : text.substr(0, 48))
        out += (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_') ? c : '_';
    return out.empty() ? "image" : out;
}

}  // namespace

std::string TextureStoreFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const fs::path base = data && *data ? fs::path(data)
                          : home && *home ? fs::path(home) / ".local" / "share"
                                          : fs::temp_directory_path();
    return (base / "Tamrik" / "Kinemo" / "textures").string();
}

std::string StoreImage(const std::string& modelPath, const std::string& name,
                       const unsigned char* data, size_t size) {
    if (!data || size == 0) return {};
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(Fnv1a(data, size)));
    const fs::path folder = TextureStoreFolder();
    const fs::path file =
        folder / (Plain(fs::path(modelPath).stem().string()) + "-" +
                  Plain(fs::path(name).stem().string()) + "-" + hash + Extension(name, data, size));
    std::error_code ec;
    if (fs::exists(file, ec) && fs::file_size(file, ec) == size) return file.string();
    fs::create_directories(folder, ec);
    const fs::path partial = file.string() + ".part";
    {
        std::ofstream out(partial, std::ios::binary);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!out) {
            fs::remove(partial, ec);
            return {};
        }
    }
    fs::rename(partial, file, ec);
    return ec ? std::string() : file.string();
}

std::string FindTexture(const std::string& modelFolder, const std::string& reference) {
    std::string name = reference;
    for (char& c : name)
        if (c == '\\') c = '/';
    const fs::path folder(modelFolder);
    const fs::path given = fs::path(name).is_absolute() ? fs::path(name) : folder / name;
    std::error_code ec;
    if (fs::is_regular_file(given, ec)) return given.lexically_normal().string();
    const fs::path file = fs::path(name).filename();
    for (const fs::path& candidate : {folder / file, folder / "textures" / file})
        if (!file.empty() && fs::is_regular_file(candidate, ec))
            return candidate.lexically_normal().string();
    // Windows drive paths ("C:/work/a.jpg") are not absolute here.
    return given.lexically_normal().string();
}

}  // namespace kinemo_plugin
