#include "tests/app/qt_test_environment.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <unistd.h>

#include "tests/qt_teardown.h"

#include "viewport/gl_panel.h"

void EnsureQtApplication() {
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "kinemo_tests";
    static char* argv[] = {name, nullptr};
    // Settings the windows keep (places, recent files) go to a folder of this
    // process, never the user's: no test sees what another left behind.
    static const QString settings =
        QDir::temp().filePath(QString("kinemo_test_settings_%1").arg(::getpid()));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings);
    RegisterQtTeardown(settings);
    TGLPanel::PrepareApplication();  // shared contexts, as the editor sets them up
    new QApplication(argc, argv);    // lives until the last test has run
}
