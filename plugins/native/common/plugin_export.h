#pragma once

// Marks the entry point the editor looks up by name.
#define KINEMO_PLUGIN_ENTRY extern "C" __attribute__((visibility("default")))
