#pragma once

#include <string>

// Where script output goes: the console window (and its log) in the editor,
// standard output in batch runs.
class rgConsoleSink {
public:
    virtual ~rgConsoleSink() = default;
    // One line of output (no line break).
    virtual void Write(const std::string& line) = 0;
    // One line of an error report; the console shows it like any line.
    virtual void WriteError(const std::string& line) { Write(line); }
};
