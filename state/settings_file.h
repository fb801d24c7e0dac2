#pragma once

#include <string>

#include "state/rg_state.h"

// "default.cfg": an INI file whose section "default" holds the persisted
// subset of rgState. Numbers always use "." as decimal separator, whatever
// the process locale.

struct SettingsLoadResult {
    bool fileFound = false;
    int keysRead = 0;       // keys present and parsed
    int keysDefaulted = 0;  // keys missing or unparsable: the default was kept
};

// Reads every persisted key; a missing file, missing key or value that does
// not parse as the key's type keeps that key's default.
SettingsLoadResult LoadSettings(rgState& state, const std::string& path);

// Writes every persisted key into section "default", keeping any other
// sections and keys of an existing file. The file is replaced atomically.
// Returns false with a message in `error` when the file cannot be written.
bool SaveSettings(const rgState& state, const std::string& path, std::string* error = nullptr);

// Names of the persisted keys, in file order.
const char* const* PersistedSettingKeys(int* count);
