#pragma once

class rgImageDecoder;

// Runs the editor with its windows: returns the process exit status.
// Textures load through `images`.
int RunEditor(int argc, char** argv, rgImageDecoder* images);
