#include <cstring>

#include "app/editor_main.h"
#include "scripting/batch_runner.h"

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--batch") == 0) return RunBatch(argc, argv);
    return RunEditor(argc, argv);
}
