// The menu bar: its menus and items, the command each item gives and the keys that give it too.
#pragma once

#include "texts.h"

#include <span>
#include <string>
#include <string_view>

namespace zarquel::window {

// Numbered as the page's menu items send them.
enum class Command { None, Pause, NewGame, Exit, Instructions, About };

// A desktop window, or the page in a browser tab, which differs in two keys (Shortcuts, keyOutcome).
enum class Host { Desktop, Page };

// Key codes: the Windows virtual keys, which browsers report too (KeyboardEvent.keyCode);
// a letter is its capital.
namespace key {
inline constexpr int Tab = 9, Enter = 13, Escape = 27, Space = 32;
inline constexpr int Left = 37, Up = 38, Right = 39, Down = 40;
inline constexpr int F1 = 112, F2 = 113, F10 = 121;
} // namespace key

// A key as pressed, whatever toolkit reported it.
struct KeyPress {
    int code = 0;
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
};

// An ampersand in a caption marks its access key. The separator has no caption.
struct MenuItem {
    std::string_view name;
    std::string_view caption;
    Command command;
};

struct Menu {
    std::string_view name;
    std::string_view caption;
    std::span<const MenuItem> items;
};

inline constexpr MenuItem FileItems[] {
    {"mnuPause", texts::MenuPause, Command::Pause},
    {"mnuNewGame", texts::MenuNewGame, Command::NewGame},
    {"mnuLine", {}, Command::None},
    {"mnuExit", texts::MenuExit, Command::Exit},
};
inline constexpr MenuItem HelpItems[] {
    {"mnuInstructions", texts::MenuInstructions, Command::Instructions},
    {"mnuAbout", texts::MenuAbout, Command::About},
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

// What a menu item shows beside its caption: "Ctrl+P", or "Ctrl+N, F2" on the page; empty for none.
std::string shortcutText(Command command, Host host);

// The access key of a caption, as a capital: 'F' for "&File".
char accessKey(std::string_view caption);

// The keys and what they do, a line each, for --help.
std::string keysHelp();

} // namespace zarquel::window
