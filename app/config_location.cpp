#include "app/config_location.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

bool CanWriteIn(const fs::path& dir, const fs::path& file) {
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) return false;
    if (fs::exists(file, ec)) return ::access(file.c_str(), W_OK) == 0 && ::access(dir.c_str(), W_OK) == 0;
    return ::access(dir.c_str(), W_OK) == 0;
}

}  // namespace

std::string ChooseConfigFile(const std::string& programDir, const std::string& userConfigDir,
                             const std::string& fileName) {
    const fs::path beside = fs::path(programDir) / fileName;
    if (CanWriteIn(programDir, beside)) return beside.string();
    std::error_code ec;
    fs::create_directories(userConfigDir, ec);
    return (fs::path(userConfigDir) / fileName).string();
}

std::string EditorConfigFile(const std::string& fileName) {
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString userDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return ChooseConfigFile(programDir.toStdString(), userDir.toStdString(), fileName);
}
