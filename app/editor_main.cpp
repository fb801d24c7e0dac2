#include "app/editor_main.h"

#include <QApplication>
#include <QFile>
#include <QSettings>
#include <cstdio>
#include <string>

#include <lua.hpp>

#include <filesystem>

#include "app/autosave_timer.h"
#include "app/command_dialogs_qt.h"
#include "app/config_location.h"
#include "app/main_menus.h"
#include "app/recent_files_store.h"
#include "app/script_ui_qt.h"
#include "app/tool_windows.h"
#include "app/editor_windows.h"
#include "app/help_pages.h"
#include "scripting/console_model.h"
#include "app/display_check.h"
#include "app/main_form.h"
#include "app/quit_on_signal.h"
#include "viewport/gl_panel.h"
#include "editing/rg_editor.h"
#include "state/settings_file.h"
#include <QDesktopServices>
#include <QUrl>

#include <QStandardPaths>
#include <unistd.h>

#include "scripting/autosave.h"
#include "scripting/document_session.h"
#include "scripting/file_commands.h"
#include "scripting/script_environment.h"
#include "scripting/script_server.h"

namespace {

// A scene named on the command line: a relative path that names a file in
// the working directory is taken from there (what a shell user means);
// anything else follows the program-folder rule of script paths.
std::string CommandLineScene(const char* argument) {
    const std::filesystem::path path(argument);
    std::error_code ec;
    if (path.is_relative() && std::filesystem::exists(path, ec))
        return std::filesystem::absolute(path, ec).string();
    return argument;
}

}  // namespace

int RunEditor(int argc, char** argv, rgImageDecoder* images) {
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
    editor.context.textures.SetDecoder(images);
    {
        bool ok = false;
        const double seconds =
            QSettings("Tamrik", "Kinemo").value("Reader Seconds", 10.0).toDouble(&ok);
        editor.context.SetReaderTimeLimit(ok ? seconds : 10.0);
        editor.state().autosaveMinutes = TAutosaveTimer::StoredMinutes();
        editor.state().handlesFollowPointer =
            QSettings("Tamrik", "Kinemo").value("Handles Follow Pointer", false).toBool();
    }
    LoadSettings(editor.state(), settingsPath);

    const std::string programFolder = QCoreApplication::applicationDirPath().toStdString() + "/";
    int status = 0;
    {
        TMainForm mainForm(editor);
        TCommandDialogs dialogs(mainForm, editor.state());
        editor.SetDialogs(&dialogs);
        rgConsoleModel console(EditorConfigFile("console.log"), LUA_VERSION);
        TScriptUi scriptUi;
        rgScriptEnvironment scripting(editor, mainForm, console, scriptUi, programFolder);
        rgScriptContext& context = scripting.context();
        TEditorWindows windows(mainForm, editor, scripting.server(), console);
        scriptUi.SetWindows(&windows);
        TRecentFilesStore recentStore;
        rgRecentFiles recent(&recentStore);
        rgDocumentSession session(context, recent);
        RegisterFileCommands(context, session);
        editor.commands.Add(
            {"Help.HelpPages", "&Help Pages", "F1", "",
             [&] {
                 const QString page = QString::fromStdString(programFolder) + "doc/index.html";
                 OpenHelpPage(&mainForm, page, [&](const QString& problem) {
                     scripting.server().ConsoleWriteError("Error opening the file! " +
                                                          problem.toStdString());
                     editor.context.messages().ShowMessage(problem.toStdString());
                 });
             },
             nullptr, nullptr});
        mainForm.Menus().recentFiles = [&recent] { return recent.Items(); };
        scriptUi.onPluginsChanged = [&] {
            mainForm.Menus().ShowPluginCommands(context.plugins, [&](const std::string& chunk) {
                scripting.server().RunString(chunk);
            });
        };
        scriptUi.onFramesChanged = [&] { mainForm.ToolWindows().FramesChanged(); };
        scriptUi.onRepaintKeys = [&] { mainForm.ToolWindows().RepaintKeys(); };
        mainForm.canClose = [&session] { return session.CanClose(); };
        mainForm.Menus().Refresh();
        const std::string autosaveFolder =
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString() +
            "/autosave";
        rgAutosave autosave(context, autosaveFolder, static_cast<int>(::getpid()));
        TAutosaveTimer autosaveTimer(autosave, editor.state());
        windows.onPreferencesStored = [&] {
            const rgState& state = editor.state();
            autosaveTimer.SetMinutes(state.autosaveMinutes);
            TAutosaveTimer::StoreMinutes(state.autosaveMinutes);
            editor.context.SetReaderTimeLimit(state.readerSeconds);
            QSettings("Tamrik", "Kinemo").setValue("Reader Seconds", state.readerSeconds);
            QSettings("Tamrik", "Kinemo").setValue("Handles Follow Pointer", state.handlesFollowPointer);
        };
        mainForm.show();
        scripting.RunStartupScripts(true);
        if (argc == 2) session.Load(CommandLineScene(argv[1]));
        TAutosaveTimer::OfferRestore(&mainForm, autosave);
        if (!QuitOnSignal::Requested()) status = QApplication::exec();
        // A signal (logout, kill) is no choice to drop unsaved changes: keep a copy.
        if (QuitOnSignal::Requested() && editor.state().modified)
            autosave.Save();
        else
            autosave.RemoveOwn();
        scriptUi.SetWindows(nullptr);
        editor.SetDialogs(nullptr);
    }

    std::string error;
    if (!SaveSettings(editor.state(), settingsPath, &error))
        std::fprintf(stderr, "kinemo: settings not saved: %s\n", error.c_str());
    return status;
}
