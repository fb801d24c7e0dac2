#include "app/main_menus.h"

#include <QAction>
#include <QFontMetrics>
#include <QMenu>
#include <QMenuBar>
#include <strings.h>

#include "app/animation_menu.h"
#include "app/menu_layout.h"
#include "editing/rg_editor.h"
#include "scripting/script_context.h"

TMainMenus::TMainMenus(QMenuBar& bar, rgEditor& editor)
    : QObject(&bar), commands_(bar, editor.commands), editor_(editor) {
    RegisterMenuPlaceholders(editor.commands);
    FileMenu = commands_.AddMenu("&File", kFileMenu);
    // The Reopen list sits right above Merge while there are recent files.
    Reopen1 = new QMenu("Reopen", FileMenu);
    FileMenu->insertMenu(commands_.Action("File.Merge"), Reopen1);
    connect(FileMenu, &QMenu::aboutToShow, this, &TMainMenus::FillReopen);
    EditMenu = commands_.AddMenu("&Edit", kEditMenu);
    ScriptsMenu = commands_.AddMenu("&Scripts", kScriptsMenu);
    MeshMenu = commands_.AddMenu("&Mesh", {});
    SkeletonMenu = commands_.AddMenu("S&keleton", kSkeletonMenu);
    Animation = new TAnimationMenu(bar, nullptr, editor);
    WindowsMenu = commands_.AddMenu("&Windows", kWindowsMenu);
    WindowsMenu->addSeparator();
    HelpMenu = commands_.AddMenu("&Help", kHelpMenu);
    FillReopen();
}

void TMainMenus::FillReopen() {
    Reopen1->clear();
    const std::vector<std::string> items = recentFiles ? recentFiles() : std::vector<std::string>();
    Reopen1->menuAction()->setVisible(!items.empty());
    const QFontMetrics metrics(Reopen1->font());
    for (size_t i = 0; i < items.size(); ++i) {
        const QString path =
            metrics.elidedText(QString::fromStdString(items[i]), Qt::ElideMiddle, 200);
        const std::string id = "File.Reopen." + std::to_string(i + 1);
        QAction* item = Reopen1->addAction(QString("&%1 %2").arg(i + 1).arg(path));
        item->setObjectName(QString::fromStdString(id));
        connect(item, &QAction::triggered, this, [this, id] { editor_.commands.Run(id); });
    }
}

void TMainMenus::ShowPluginCommands(const std::vector<rgPluginCommand>& commands,
                                    const std::function<void(const std::string&)>& run) {
    for (QAction* item : pluginItems_) delete item;
    pluginItems_.clear();
    for (const rgPluginCommand& c : commands) {
        QMenu* menu = strcasecmp(c.menu.c_str(), "Mesh") == 0        ? MeshMenu
                      : strcasecmp(c.menu.c_str(), "Skeleton") == 0  ? SkeletonMenu
                      : strcasecmp(c.menu.c_str(), "Animation") == 0 ? Animation->AnimationMenu
                                                                     : nullptr;
        if (!menu) continue;  // no such menu: the command shows nowhere
        const std::string chunk = c.chunk;
        QAction* item = menu->addAction(QString::fromStdString(c.caption));
        connect(item, &QAction::triggered, this, [run, chunk] { run(chunk); });
        pluginItems_.push_back(item);
    }
}

void TMainMenus::ShowLevel(int level) {
    MeshMenu->menuAction()->setVisible(level != 1);
    SkeletonMenu->menuAction()->setVisible(level != 1);
    Animation->ShowLevel(level);
}
