#pragma once

// Keeps the loaded OpenGL driver modules (Mesa's *_dri.so and libgallium)
// loaded until the process ends. Mesa unloads its driver when the display
// connection closes during exit; whatever runs afterwards (exit handlers,
// leak reports of the driver's own allocations) would then point into
// unmapped code. Call with a context current; safe to call again.
void KeepGLDriverLoaded();
