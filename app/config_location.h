#pragma once

#include <string>

// Where the editor keeps a file such as "default.cfg": beside the program
// when that folder can be written, otherwise in the per-user config folder
// (created on demand), so a read-only install never loses settings.
std::string ChooseConfigFile(const std::string& programDir, const std::string& userConfigDir,
                             const std::string& fileName);

// ChooseConfigFile with the running program's folder and the platform's
// per-user application config folder. Needs a Q(Core)Application.
std::string EditorConfigFile(const std::string& fileName);
