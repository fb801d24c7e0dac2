#pragma once

#include <deque>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "scripting/console_sink.h"

// The console as plain logic: the output lines, the command history with
// its Up/Down walk, and "console.log", written and flushed per line. The
// console window shows Lines() and forwards its keys here.
class rgConsoleModel : public rgConsoleSink {
public:
    static constexpr size_t kMaxLines = 450;
    // Lines kept while a script runs, before the next Enter trims them to
    // kMaxLines: a script that prints without end fills the log, not memory.
    static constexpr size_t kMaxKeptLines = 5000;

    // Opens (and overwrites) the log and writes the greeting. A log that
    // cannot be created leaves the console working without one.
    rgConsoleModel(const std::string& logPath, const std::string& interpreterVersion);

    // Appends the text as lines (a "\n" inside starts a new one) and writes
    // it with a line break to the log, flushed at once.
    void Write(const std::string& text) override;

    // Enter: echoes the command, runs it, records it in the history, then
    // trims the output to the last 450 lines.
    void Submit(const std::string& command, const std::function<void(const std::string&)>& run);
    // The history entry Up or Down puts into the command field, if any.
    std::optional<std::string> Up();
    std::optional<std::string> Down();

    const std::deque<std::string>& Lines() const { return lines_; }
    const std::vector<std::string>& History() const { return history_; }
    bool HasLog() const { return log_.is_open(); }
    // Called after every new line (the window shows it).
    std::function<void(const std::string&)> onLine;

private:
    std::deque<std::string> lines_;
    std::vector<std::string> history_;
    int historyIndex_ = -1;
    bool fresh_ = false;
    std::ofstream log_;
};
