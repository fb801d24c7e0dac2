#include <QApplication>
#include <cstdio>
#include <string>

#include "app/config_location.h"
#include "app/display_check.h"
#include "app/main_form.h"
#include "app/quit_on_signal.h"
#include "editing/rg_state.h"
#include "editing/settings_file.h"

int main(int argc, char** argv) {
    std::string why;
    if (!DisplayNamed(&why)) {
        std::fprintf(stderr, "kinemo: %s\n", why.c_str());
        return 1;
    }
    QuitOnSignal::Install();
    InstallDisplayFailureHandler();
    QApplication app(argc, argv);
    RemoveDisplayFailureHandler();
    QuitOnSignal::Arm();
    QApplication::setApplicationName("Kinemo");
    QApplication::setOrganizationName("Tamrik");

    // The editor state exists before any window and is saved after the last one closes.
    const std::string settingsPath = EditorConfigFile("default.cfg");
    rgState state;
    LoadSettings(state, settingsPath);

    int status = 0;
    {
        TMainForm mainForm(state);
        mainForm.show();
        status = QApplication::exec();
    }

    std::string error;
    if (!SaveSettings(state, settingsPath, &error))
        std::fprintf(stderr, "kinemo: settings not saved: %s\n", error.c_str());
    return status;
}
