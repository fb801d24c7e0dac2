#pragma once

#include "app/command_menus.h"

// The menus of the main window, by command id.
extern const TMenuLayout kFileMenu;
extern const TMenuLayout kEditMenu;
extern const TMenuLayout kScriptsMenu;
extern const TMenuLayout kSkeletonMenu;
extern const TMenuLayout kWindowsMenu;
extern const TMenuLayout kHelpMenu;

class rgCommandRegistry;
// Commands the menus show that another part of the program provides: they
// show disabled until that part replaces them (same id) with the real one.
void RegisterMenuPlaceholders(rgCommandRegistry& registry);
