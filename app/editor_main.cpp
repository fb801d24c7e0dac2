#include "app/editor_main.h"

#include <QApplication>
#include <cstdio>
#include <string>

#include "app/config_location.h"
#include "app/display_check.h"
#include "app/main_form.h"
#include "app/quit_on_signal.h"
#include "viewport/gl_panel.h"
#include "editing/rg_editor.h"
#include "editing/settings_file.h"

int RunEditor(int argc, char** argv) {
    std::string why;
    if (!DisplayNamed(&why)) {
        std::fprintf(stderr, "kinemo: %s\n", why.c_str());
        return 1;
    }
    QuitOnSignal::Install();
    InstallDisplayFailureHandler();
    TGLPanel::PrepareApplication();  // before the application object: shared contexts
    QApplication app(argc, argv);
    RemoveDisplayFailureHandler();
    QuitOnSignal::Arm();
    QApplication::setApplicationName("Kinemo");
    QApplication::setOrganizationName("Tamrik");

    // The editor (state, scene, undo) exists before any window; its settings
    // are saved after the last window closes.
    const std::string settingsPath = EditorConfigFile("default.cfg");
    rgEditor editor;
    LoadSettings(editor.state(), settingsPath);

    int status = 0;
    {
        TMainForm mainForm(editor);
        mainForm.show();
        status = QApplication::exec();
    }

    std::string error;
    if (!SaveSettings(editor.state(), settingsPath, &error))
        std::fprintf(stderr, "kinemo: settings not saved: %s\n", error.c_str());
    return status;
}
