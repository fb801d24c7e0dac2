#include "editing/command_registry.h"

void rgCommandRegistry::Add(rgCommand command) {
    for (rgCommand& c : commands_)
        if (c.id == command.id) {
            c = std::move(command);
            return;
        }
    commands_.push_back(std::move(command));
}

const rgCommand* rgCommandRegistry::Find(std::string_view id) const {
    for (const rgCommand& c : commands_)
        if (c.id == id) return &c;
    return nullptr;
}

bool rgCommandRegistry::IsEnabled(std::string_view id) const {
    const rgCommand* c = Find(id);
    return c && c->run && (!c->enabled || c->enabled());
}

bool rgCommandRegistry::IsChecked(std::string_view id) const {
    const rgCommand* c = Find(id);
    return c && c->checked && c->checked();
}

bool rgCommandRegistry::Run(std::string_view id) const {
    if (!IsEnabled(id)) return false;
    // A copy: the command may replace itself or add others while it runs.
    const std::function<void()> run = Find(id)->run;
    run();
    return true;
}
