#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// One command of the editor: a named engine operation that menus, tool
// buttons, shortcuts and scripts all run the same way.
struct rgCommand {
    std::string id;         // "Edit.DuplicateObjects"
    std::string caption;    // the menu item's text, "Duplicate Objects"
    std::string shortcut;   // "Ctrl+Del"; empty for none
    std::string undoLabel;  // the undo step it records; empty for none
    std::function<void()> run;
    std::function<bool()> enabled;  // null: always enabled
    std::function<bool()> checked;  // null: not a tick item
};

// The commands of the editor by id, in the order they were added.
class rgCommandRegistry {
public:
    // Adds a command; one with the same id is replaced.
    void Add(rgCommand command);
    const rgCommand* Find(std::string_view id) const;
    bool IsEnabled(std::string_view id) const;
    bool IsChecked(std::string_view id) const;
    // Runs the command when it exists and is enabled; false otherwise.
    bool Run(std::string_view id) const;
    const std::vector<rgCommand>& All() const { return commands_; }

private:
    std::vector<rgCommand> commands_;
};
