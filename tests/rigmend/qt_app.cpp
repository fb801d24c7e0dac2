#include "tests/rigmend/qt_app.h"

#include <QApplication>

#include "tests/qt_teardown.h"

void EnsureQtApplication() {
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "rigmend_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives until the last test has run
    RegisterQtTeardown();
}
