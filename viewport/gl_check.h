#pragma once

#include <cfenv>

#include "viewport/gl_error_report.h"

// Reads every pending GL error flag into `report` (when given), naming the
// source module and line of the check. Floating-point flags are cleared too,
// so a driver's floating-point faults never leak into the editor.
void CheckGLErrors(rgGLErrorReport* report, const char* source, int line);

#define KINEMO_GL_CHECK(report, source) CheckGLErrors((report), (source), __LINE__)
