#include "scene/user_messages.h"

#include <cstdio>

void rgUserMessages::ShowMessage(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}
