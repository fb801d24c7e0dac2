#include "app/command_menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "editing/command_registry.h"

TCommandMenus::TCommandMenus(QMenuBar& bar, rgCommandRegistry& registry)
    : QObject(&bar), bar_(bar), registry_(registry) {}

QMenu* TCommandMenus::AddMenu(const QString& title, const TMenuLayout& layout, QAction* before) {
    auto* menu = new QMenu(title, &bar_);
    if (before)
        bar_.insertMenu(before, menu);
    else
        bar_.addMenu(menu);
    Fill(*menu, layout);
    return menu;
}

void TCommandMenus::Fill(QMenu& root, const TMenuLayout& layout) {
    std::vector<QMenu*> open{&root};
    for (const char* line : layout) {
        const std::string entry = line;
        if (entry == "-") {
            open.back()->addSeparator();
        } else if (entry[0] == '>') {
            QMenu* sub = open.back()->addMenu(QString::fromStdString(entry.substr(1)));
            connect(sub, &QMenu::aboutToShow, this, &TCommandMenus::Refresh);
            open.push_back(sub);
        } else if (entry == "<") {
            if (open.size() > 1) open.pop_back();
        } else {
            Item(*open.back(), entry);
        }
    }
    connect(&root, &QMenu::aboutToShow, this, &TCommandMenus::Refresh);
}

QAction* TCommandMenus::Item(QMenu& menu, const std::string& id) {
    auto* action = new QAction(QString::fromStdString(id), &menu);
    action->setObjectName(QString::fromStdString(id));
    menu.addAction(action);
    connect(action, &QAction::triggered, this, [this, id] {
        registry_.Run(id);
        Refresh();
    });
    actions_[id] = action;
    RefreshAction(id, *action);
    return action;
}

QAction* TCommandMenus::Action(const std::string& id) const {
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void TCommandMenus::SetText(const std::string& id, const QString& text) {
    texts_[id] = text;
    if (QAction* action = Action(id)) action->setText(text);
}

void TCommandMenus::RefreshAction(const std::string& id, QAction& action) {
    const rgCommand* command = registry_.Find(id);
    const auto text = texts_.find(id);
    if (text != texts_.end())
        action.setText(text->second);
    else if (command)
        action.setText(QString::fromStdString(command->caption));
    if (command) action.setShortcut(QKeySequence(QString::fromStdString(command->shortcut)));
    action.setEnabled(registry_.IsEnabled(id));
    const bool tick = command && command->checked;
    action.setCheckable(tick);
    if (tick) action.setChecked(registry_.IsChecked(id));
}

void TCommandMenus::Refresh() {
    for (auto& [id, action] : actions_) RefreshAction(id, *action);
}
