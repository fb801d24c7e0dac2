#include "tests/app/qt_test_environment.h"

#include <QApplication>

#include "viewport/gl_panel.h"

void EnsureQtApplication() {
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "kinemo_tests";
    static char* argv[] = {name, nullptr};
    TGLPanel::PrepareApplication();  // shared contexts, as the editor sets them up
    new QApplication(argc, argv);    // lives for the whole test process
}
