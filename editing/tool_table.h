#pragma once

#include "editing/tool_ids.h"

// One row of the tool table: what a tool button shows and switches.
struct rgToolSpec {
    rgToolButton button;
    const char* name;        // the control's name
    const char* hint;        // its hint (status bar panel 1)
    int level;               // edit level of its panel; -1 for the menu item
    const char* statusText;  // usage text in panel 2 while the tool is active
    unsigned pages;          // Tool Options pages shown while active
    bool handles;            // axis handles drawn and pickable while active
    bool clearStatus;        // panel 2 is emptied when the tool goes off
};

// The row of a button; null for rgToolButton::None.
const rgToolSpec* ToolSpec(rgToolButton button);

// The usage texts of the tool table.
extern const char* const kSelectStatusText;
extern const char* const kTransformStatusText;
