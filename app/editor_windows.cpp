#include "app/editor_windows.h"

#include <QScreen>
#include <QToolButton>
#include <algorithm>
#include <chrono>

#include "app/about_form.h"
#include "app/console_form.h"
#include "app/main_form.h"
#include "app/material_form.h"
#include "app/progress_form.h"
#include "app/tool_window_keeper.h"
#include "app/script_pump.h"
#include "editing/rg_editor.h"
#include "scripting/script_server.h"
#include "viewport/viewport_host.h"

namespace {

// How often a running script lets the windows repaint and take a Stop.
constexpr std::chrono::milliseconds kBusyInterval{100};
// How often a script moving the progress gauge lets them.
constexpr std::chrono::milliseconds kProgressInterval{30};
// The adaptive grid of every viewport starts again from this spacing.
constexpr float kAdaptiveStart = 0.25f;

// A floating window's first place: over the main window, inside its
// corner `corner` (0 top right, 1 bottom left), not over its menus. Later the
// user's place is kept.
void PlaceFirstTime(QWidget& window, const QWidget& main, int corner) {
    if (window.property("kinemoPlaced").toBool()) return;
    window.setProperty("kinemoPlaced", true);
    const QRect area = main.frameGeometry();
    constexpr int kMargin = 24;
    QPoint at = corner == 0
                    ? QPoint(area.right() - window.width() - kMargin, area.top() + 110)
                    : QPoint(area.left() + kMargin, area.bottom() - window.height() - kMargin - 30);
    if (const QScreen* screen = main.screen()) {
        const QRect room = screen->availableGeometry();
        at.setX(
            std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - window.width())));
        at.setY(
            std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - window.height())));
    }
    window.move(at);
}

void ToggleVisible(QWidget& window, const QWidget& main, int corner) {
    if (window.isVisible()) {
        window.hide();
    } else {
        PlaceFirstTime(window, main, corner);
        window.show();
        window.raise();
    }
}

}  // namespace

TEditorWindows::TEditorWindows(TMainForm& main, rgEditor& editor, rgScriptServer& server,
                               rgConsoleModel& console)
    : main_(main), editor_(editor), server_(server) {
    OptionsForm = new TOptionsForm(editor_.state(), &main_);
    ProgressForm = new TProgressForm(&main_);
    AboutForm = new TAboutForm(&main_);

    MaterialForm = new TMaterialForm(editor_, &main_);
    ConsoleForm = new TConsoleForm(console, &main_);
    for (QDockWidget* dock :
         {static_cast<QDockWidget*>(MaterialForm), static_cast<QDockWidget*>(ConsoleForm)}) {
        main_.addDockWidget(Qt::RightDockWidgetArea, dock);
        dock->setFloating(true);
        dock->hide();
    }
    MaterialForm->resize(204, 215);
    ConsoleForm->resize(560, 320);
    main_.WindowKeeper().Keep(*MaterialForm, "Material Editor");
    main_.WindowKeeper().Keep(*ConsoleForm, "Console");

    ConsoleForm->run = [this](const std::string& chunk) { server_.RunString(chunk); };
    ConsoleForm->stop = [this] { server_.RequestStop(); };
    ConsoleForm->scriptRunning = [this] { return server_.guard().Running(); };

    pump_ = new TScriptPump(&main_);
    pump_->Allow(ConsoleForm->StopBtn);
    pump_->onPump = [this] { ConsoleForm->ScriptBusy(); };
    server_.guard().SetBusyCallback([this] { pump_->Pump(); }, kBusyInterval);
    RegisterCommands();
}

TEditorWindows::~TEditorWindows() {
    server_.guard().SetBusyCallback(nullptr, kBusyInterval);
    // The commands stay in the menus, disabled, as before the windows came.
    for (const char* id : {"Edit.Preferences", "Viewport.Advanced", "Scripts.Console",
                           "Windows.ScriptConsole", "Windows.MaterialEditor", "Help.About"}) {
        if (const rgCommand* command = editor_.commands.Find(id))
            editor_.commands.Add({id, command->caption, command->shortcut, "", nullptr,
                                  [] { return false; }, nullptr});
    }
    delete pump_;
    delete ConsoleForm;
    delete MaterialForm;
    delete AboutForm;
    delete ProgressForm;
    delete OptionsForm;
}

void TEditorWindows::RegisterCommands() {
    rgCommandRegistry& c = editor_.commands;
    c.Add({"Edit.Preferences", "&Preferences ...", "", "", [this] { Preferences1Click(); }, nullptr,
           nullptr});
    c.Add({"Viewport.Advanced", "Advanced ...", "", "", [this] { Configure_AdvancedClick(); },
           nullptr, nullptr});
    const auto consoleShown = [this] { return ConsoleForm->isVisible(); };
    c.Add({"Scripts.Console", "Script &Console", "", "", [this] { ScriptConsole1Click(); }, nullptr,
           consoleShown});
    c.Add({"Windows.ScriptConsole", "&Script Console Window", "", "",
           [this] { ScriptConsole1Click(); }, nullptr, consoleShown});
    c.Add({"Windows.MaterialEditor", "&Material Editor", "", "", [this] { MaterialEditor1Click(); },
           nullptr, [this] { return MaterialForm->isVisible(); }});
    c.Add({"Help.About", "&About ...", "", "", [this] { About1Click(); }, nullptr, nullptr});
}

void TEditorWindows::OpenPreferences(TOptionsForm::Page page) {
    const bool confirmed = OptionsForm->Execute(page);
    if (confirmed && onPreferencesStored) onPreferencesStored();
    // Whether confirmed or not, every viewport shows the state's grid.
    rgViewportHost& viewports = main_;
    for (int i = 0; i < viewports.Count(); ++i) {
        if (rgViewportState* v = viewports.Find(viewports.IdAt(i))) {
            v->TakeGridSettings(editor_.state());
            if (confirmed) v->adaptiveSpacing = kAdaptiveStart;
        }
    }
    viewports.RedrawAll();
}

void TEditorWindows::ScriptConsole1Click() {
    ToggleVisible(*ConsoleForm, main_, 1);
}

void TEditorWindows::MaterialEditor1Click() {
    ToggleVisible(*MaterialForm, main_, 0);
}

void TEditorWindows::About1Click() {
    AboutForm->Execute();
}

void TEditorWindows::ShowConsole() {
    PlaceFirstTime(*ConsoleForm, main_, 1);
    ConsoleForm->ShowConsole();
}

void TEditorWindows::ShowProgress() {
    ProgressForm->ProgressShow();
    pump_->Pump();  // mapped and painted before the script goes on
}

void TEditorWindows::HideProgress() {
    ProgressForm->ProgressHide();
}

void TEditorWindows::SetProgressRange(int min, int max) {
    ProgressForm->SetRange(min, max);
}

void TEditorWindows::SetProgressPosition(int pos) {
    if (ProgressForm->SetPosition(pos) && ProgressForm->isVisible())
        pump_->PumpAtMost(kProgressInterval);
}
