#pragma once

#include <QObject>
#include <QString>
#include <map>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class rgCommandRegistry;

// One line of a menu layout: a command id, "-" for a separator, ">Caption"
// to open a submenu and "<" to close it.
using TMenuLayout = std::vector<const char*>;

// Menus built from the command registry: each item runs its command; its
// caption, shortcut, enabled state and tick come from the registry and are
// refreshed whenever a menu opens (and on Refresh). An id nobody has
// registered shows disabled.
class TCommandMenus : public QObject {
    Q_OBJECT
public:
    TCommandMenus(QMenuBar& bar, rgCommandRegistry& registry);

    // Adds a menu before `before` (at the end when null).
    QMenu* AddMenu(const QString& title, const TMenuLayout& layout, QAction* before = nullptr);
    // Fills `menu` with the layout's items (appended).
    void Fill(QMenu& menu, const TMenuLayout& layout);
    QAction* Action(const std::string& id) const;
    // A caption set by the owner that refreshing keeps (the Undo item's).
    void SetText(const std::string& id, const QString& text);
    void Refresh();

private:
    QAction* Item(QMenu& menu, const std::string& id);
    void RefreshAction(const std::string& id, QAction& action);

    QMenuBar& bar_;
    rgCommandRegistry& registry_;
    std::map<std::string, QAction*> actions_;
    std::map<std::string, QString> texts_;
};
