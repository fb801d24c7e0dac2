#pragma once

// `kinemo --batch FILE.lua [ARGS...]`: runs the start-up script and the
// plug-in scripts without any window, then FILE with the global table `arg`
// (arg[0] = FILE, arg[1..n] = ARGS). Script output goes to standard output,
// errors and messages to standard error. Returns 1 when any script raised
// an error, 2 for a usage error, else 0. Ctrl+C stops the running script
// (exit status 1). Textures load through `images`.
class rgImageDecoder;
int RunBatch(int argc, char** argv, rgImageDecoder* images = nullptr);
