// The text a menu item shows for its keys, access keys, and the keys' help, all from the one table.
#include "menus.h"

#include <algorithm>
#include <cctype>

namespace zarquel::window {

namespace {

std::string keyText(const KeyPress& press)
{
    std::string text = press.ctrl ? "Ctrl+" : "";
    const bool function = press.code >= key::F1 && press.code < key::F1 + 12;
    text += function ? 'F' : char(press.code);
    if (function)
        text += std::to_string(press.code - key::F1 + 1);
    return text;
}

} // namespace

Command commandOf(int id)
{
    for (const Menu& menu : MenuBar)
        for (const MenuItem& item : menu.items)
            if (item.id == id)
                return item.command;
    return Command::None;
}

std::string shortcutText(Command command, Host host)
{
    std::string text;
    for (const Shortcut& shortcut : Shortcuts) {
        if (shortcut.command == command && (host == Host::Page || !shortcut.pageOnly))
            text += (text.empty() ? "" : ", ") + keyText(shortcut.press);
    }
    return text;
}

char accessKey(std::string_view caption)
{
    const auto at = caption.find('&');
    return at + 1 < caption.size() ? char(std::toupper(static_cast<unsigned char>(caption[at + 1]))) : '\0';
}

std::string keysHelp()
{
    const struct {
        Command command;
        std::string_view does;
    } commands[] {
        {Command::Pause, "pause the clock"}, {Command::NewGame, "new game"},  {Command::Exit, "quit"},
        {Command::Instructions, "instructions"}, {Command::About, "about"},
    };
    const auto line = [](std::string keys, std::string_view does) {
        keys.resize(std::max<std::size_t>(keys.size() + 1, 19), ' ');
        return "  " + keys + std::string(does) + "\n";
    };
    std::string help = line("Tab, Shift+Tab", "reach the board, at the square played last") +
                       line("arrow keys", "move between squares") +
                       line("Space, Enter", "click the square that has the focus");
    for (const auto& [command, does] : commands)
        help += line(shortcutText(command, Host::Desktop) + (command == Command::Pause ? ", Escape" : ""), does);
    return help;
}

} // namespace zarquel::window
