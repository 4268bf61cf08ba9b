// The menu bar: its menus and items, the command each item gives and the keys that give it too.
#pragma once

#include "keys.h"
#include "texts.h"

#include <span>
#include <string>
#include <string_view>

namespace zarquel::window {

// An ampersand in a caption marks its access key. The separator has no caption. The id is what
// the toolkit hands back when the item is chosen (a Win32 command id, the page's data-command).
struct MenuItem {
    std::string_view name;
    std::string_view caption;
    Command command;
    int id = 0;
};

struct Menu {
    std::string_view name;
    std::string_view caption;
    std::span<const MenuItem> items;
};

inline constexpr MenuItem FileItems[] {
    {"mnuPause", texts::MenuPause, Command::Pause, 1001},
    {"mnuNewGame", texts::MenuNewGame, Command::NewGame, 1002},
    {"mnuLine", {}, Command::None, 1003},
    {"mnuExit", texts::MenuExit, Command::Exit, 1004},
};
inline constexpr MenuItem HelpItems[] {
    {"mnuInstructions", texts::MenuInstructions, Command::Instructions, 1011},
    {"mnuAbout", texts::MenuAbout, Command::About, 1012},
};
inline constexpr Menu MenuBar[] {
    {"mnuFile", texts::MenuFile, FileItems},
    {"mnuHelp", texts::MenuHelp, HelpItems},
};

struct Shortcut {
    KeyPress press;
    Command command;
    bool pageOnly = false;
};

// Escape pauses too, whatever else is held (keyOutcome): no item shows it.
inline constexpr Shortcut Shortcuts[] {
    {{'P', true}, Command::Pause},
    {{'N', true}, Command::NewGame},
    // A browser tab may keep Ctrl+N for itself (Chromium does), so the page deals with F2 as well.
    {{key::F2}, Command::NewGame, true},
    {{'X', true}, Command::Exit},
    {{'I', true}, Command::Instructions},
    {{'A', true}, Command::About},
};

// The command of the item with this id; None for an id no item has.
Command commandOf(int id);

// What a menu item shows beside its caption: "Ctrl+P", or "Ctrl+N, F2" on the page; empty for none.
std::string shortcutText(Command command, Host host);

// The access key of a caption, as a capital: 'F' for "&File".
char accessKey(std::string_view caption);

// The keys and what they do, a line each, for --help.
std::string keysHelp();

} // namespace zarquel::window
