#pragma once

#include <QIcon>

#include "editing/tool_ids.h"

// Pictures of the main window's tool buttons, drawn at run time.
QIcon ToolIcon(rgToolButton button);
