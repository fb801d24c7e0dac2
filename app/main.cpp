#include "app/editor_main.h"

int main(int argc, char** argv) { return RunEditor(argc, argv); }
