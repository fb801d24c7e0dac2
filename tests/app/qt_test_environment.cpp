#include "tests/app/qt_test_environment.h"

#include <QApplication>

#include "tests/qt_teardown.h"

#include "viewport/gl_panel.h"

void EnsureQtApplication() {
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "kinemo_tests";
    static char* argv[] = {name, nullptr};
    TGLPanel::PrepareApplication();  // shared contexts, as the editor sets them up
    new QApplication(argc, argv);    // lives until the last test has run
    RegisterQtTeardown();
}
