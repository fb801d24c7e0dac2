#pragma once

#include <cstddef>
#include <string>
#include <vector>

// What the reader helper may use.
struct rgReaderLimits {
    double seconds = 10.0;
    size_t memoryBytes = size_t{2} << 30;
    size_t maxOutput = size_t{1} << 30;  // more output than this stops it
};

struct rgReaderResult {
    bool ok = false;
    // It did not end by itself: it crashed, ran out of time or memory, wrote
    // too much or could not be started. Otherwise a failure is its refusal.
    bool stopped = false;
    std::string output;  // its standard output
    // Why it failed: "timed out after 10 s", "crashed with signal 11", "ran
    // out of memory", or its own message.
    std::string reason;
};

// The reader's failure as a user reads it: a refusal is the reader's own
// message, anything else "the reader stopped (REASON)".
std::string ReaderProblem(const rgReaderResult& result);

// Runs `program` with `arguments` in a process of its own within the
// limits and gathers what it writes. The caller never waits longer than
// the time limit (plus the moment it takes to stop the process).
rgReaderResult RunReader(const std::string& program, const std::vector<std::string>& arguments,
                         const rgReaderLimits& limits);
