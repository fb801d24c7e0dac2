#include "viewport/gl_error_report.h"

#include <algorithm>
#include <cstdio>

void rgGLErrorReport::Collect(unsigned code, const char* source, int line) {
    if (code == 0) return;
    Error error{code, source ? source : "", line};
    if (open_.count(error)) return;
    if (std::find_if(pending_.begin(), pending_.end(), [&](const Error& e) {
            return !(e < error) && !(error < e);
        }) != pending_.end())
        return;
    pending_.push_back(std::move(error));
}

std::vector<rgGLErrorReport::Error> rgGLErrorReport::TakePending() {
    std::vector<Error> taken;
    taken.swap(pending_);
    for (const Error& e : taken) open_.insert(e);
    return taken;
}

std::string rgGLErrorReport::Text(const Error& e) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "Error: %u  File: %s Line: %d", e.code, e.source.c_str(),
                  e.line);
    return buffer;
}
