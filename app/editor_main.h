#pragma once

// Runs the editor with its windows: returns the process exit status.
int RunEditor(int argc, char** argv);
