#include "tests/app/qt_test_environment.h"

#include <QApplication>

void EnsureQtApplication() {
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "kinemo_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives for the whole test process
}
