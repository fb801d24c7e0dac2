#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "app/command_menus.h"

class QMenu;
class QMenuBar;
class TAnimationMenu;
class rgEditor;
struct rgPluginCommand;

// The menu bar of the main window: every menu built from the command
// registry ("&File" with its Reopen list, "&Edit", "&Scripts", "&Mesh",
// "S&keleton", "&Animation", "&Windows", "&Help"), the commands plug-ins
// registered, and which menus each edit level shows.
class TMainMenus : public QObject {
    Q_OBJECT
public:
    TMainMenus(QMenuBar& bar, rgEditor& editor);

    TCommandMenus& commands() { return commands_; }
    // Where File > Reopen takes its entries from (newest first).
    std::function<std::vector<std::string>()> recentFiles;
    // Plug-in commands: each goes into its menu ("Mesh", "Skeleton",
    // "Animation", any case) and runs its chunk through `run`.
    void ShowPluginCommands(const std::vector<rgPluginCommand>& commands,
                            const std::function<void(const std::string& chunk)>& run);
    // Mesh and Skeleton at the Objects level, Animation at the Animation level.
    void ShowLevel(int level);
    void Refresh() { commands_.Refresh(); }

    QMenu* FileMenu = nullptr;
    QMenu* Reopen1 = nullptr;
    QMenu* EditMenu = nullptr;
    QMenu* ScriptsMenu = nullptr;
    QMenu* MeshMenu = nullptr;
    QMenu* SkeletonMenu = nullptr;
    TAnimationMenu* Animation = nullptr;
    QMenu* WindowsMenu = nullptr;
    QMenu* HelpMenu = nullptr;

private:
    void FillReopen();

    TCommandMenus commands_;
    rgEditor& editor_;
    std::vector<QAction*> pluginItems_;
};
