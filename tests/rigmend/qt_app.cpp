#include "tests/rigmend/qt_app.h"

#include <QApplication>

void EnsureQtApplication() {
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "rigmend_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives for the whole test process
}
