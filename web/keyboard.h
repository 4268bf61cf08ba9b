// What a key pressed on the page does: the game's shortcuts and keyboard play on the board.
#pragma once

#include <string_view>

namespace zarquel::web {

// The game's commands, numbered as the page's menu items send them.
enum class Command { None, Pause, NewGame, Exit, Instructions, About, OpenFileMenu, OpenHelpMenu, FocusMenuBar };

// Key codes as the browser reports them in KeyboardEvent.keyCode (the Windows virtual keys).
namespace key {
inline constexpr int Tab = 9, Enter = 13, Escape = 27, Space = 32;
inline constexpr int Left = 37, Up = 38, Right = 39, Down = 40;
inline constexpr int F2 = 113, F10 = 121;
} // namespace key

struct KeyPress {
    int code = 0;
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
};

// Where the keyboard focus is when the key comes.
inline constexpr int FocusOnSink = 0;     // the hidden focus button, the usual place
inline constexpr int FocusElsewhere = -1; // the menu bar or the page itself; 1..25 is a square

struct KeyOutcome {
    Command command = Command::None;
    int focusSquare = 0;    // 1..25: the square that takes the focus; 0: the focus stays
    bool focusSink = false; // the focus goes back to the hidden focus button
    bool consumed = false;  // the browser must not act on the key itself
};

// `lastPlayed` is the square Tab brings a keyboard player back to.
KeyOutcome keyOutcome(const KeyPress& press, int focus, int lastPlayed);

// The shortcut a menu item shows; empty for none. New Game shows F2 too, since a
// browser tab keeps Ctrl+N for itself.
std::string_view shortcutText(Command command);

} // namespace zarquel::web
