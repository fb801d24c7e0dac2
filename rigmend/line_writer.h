#pragma once

#include <ostream>
#include <string_view>

namespace rigmend {

// Writes text lines, each ended by CR LF whatever the input used.
class LineWriter {
public:
    explicit LineWriter(std::ostream& out) : out_(out) {}
    void Write(std::string_view line) { out_ << line << "\r\n"; }

private:
    std::ostream& out_;
};

}  // namespace rigmend
