#pragma once

#include <cstdio>
#include <string>

#include "scripting/console_model.h"

// The console model of the editor. Until the console window exists, error
// reports are echoed to standard error so they are not lost from sight.
class TEditorConsole : public rgConsoleModel {
public:
    using rgConsoleModel::rgConsoleModel;
    void WriteError(const std::string& line) override {
        rgConsoleModel::WriteError(line);
        std::fprintf(stderr, "%s\n", line.c_str());
    }
};
