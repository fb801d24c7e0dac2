#include "scripting/console_model.h"

#include <cstdio>

rgConsoleModel::rgConsoleModel(const std::string& logPath, const std::string& interpreterVersion)
    : log_(logPath, std::ios::out | std::ios::trunc) {
    char greeting[128];
    std::snprintf(greeting, sizeof(greeting), "Welcome to %.80s", interpreterVersion.c_str());
    lines_.push_back(greeting);
    lines_.push_back("");
    if (log_) log_ << greeting << "\n\n" << std::flush;
}

void rgConsoleModel::Write(const std::string& text) {
    if (log_) log_ << text << '\n' << std::flush;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? end : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines_.push_back(std::move(line));
        if (lines_.size() > kMaxKeptLines) lines_.pop_front();
        if (onLine) onLine(lines_.back());
        if (end == std::string::npos) break;
        start = end + 1;
    }
}

void rgConsoleModel::Submit(const std::string& command,
                            const std::function<void(const std::string&)>& run) {
    Write(command);
    if (run) run(command);
    history_.push_back(command);
    historyIndex_ = static_cast<int>(history_.size()) - 1;
    fresh_ = true;
    while (lines_.size() > kMaxLines) lines_.pop_front();
}

std::optional<std::string> rgConsoleModel::Up() {
    if (historyIndex_ < 0) return std::nullopt;
    const int count = static_cast<int>(history_.size());
    if (!fresh_ && historyIndex_ >= count - 1) --historyIndex_;
    fresh_ = false;
    std::optional<std::string> shown;
    if (historyIndex_ >= 0) shown = history_[static_cast<size_t>(historyIndex_--)];
    if (historyIndex_ == -1) historyIndex_ = 0;
    return shown;
}

std::optional<std::string> rgConsoleModel::Down() {
    if (historyIndex_ < 0) return std::nullopt;
    const int count = static_cast<int>(history_.size());
    if (!fresh_ && historyIndex_ == 0) historyIndex_ = 1;
    fresh_ = false;
    std::optional<std::string> shown;
    if (historyIndex_ < count) shown = history_[static_cast<size_t>(historyIndex_++)];
    if (historyIndex_ >= count) historyIndex_ = count - 1;
    return shown;
}
