#pragma once

#include <set>
#include <string>
#include <tuple>
#include <vector>

// Graphics errors met while a frame is drawn. A modal box inside a paint
// would recurse into painting, so errors are collected during the frame and
// shown after it: each distinct (code, source, line) once while its box is
// open; after the box is closed the same error may be shown again.
class rgGLErrorReport {
public:
    struct Error {
        unsigned code;
        std::string source;
        int line;
        bool operator<(const Error& o) const {
            return std::tie(code, source, line) < std::tie(o.code, o.source, o.line);
        }
    };

    // Records an error (code 0 is no error and is ignored).
    void Collect(unsigned code, const char* source, int line);
    bool HasPending() const { return !pending_.empty(); }
    // The errors to show now, oldest first; each is then open until Closed.
    std::vector<Error> TakePending();
    // The box of `error` was closed.
    void Closed(const Error& error) { open_.erase(error); }

    // "Error: %d  File: %s Line: %d"
    static std::string Text(const Error& error);

private:
    std::vector<Error> pending_;
    std::set<Error> open_;
};
