// Keys as the window knows them, where the focus is, and what a key does: a command, a move on the board, or nothing.
#pragma once

#include "squares.h"

namespace zarquel::window {

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

// What the menus and keys ask of the game.
enum class Command { None, Pause, NewGame, Exit, Instructions, About };

// A desktop window, or the page in a browser tab, which differs in two keys.
enum class Host { Desktop, Page };

// Where the keyboard focus is: the hidden focus button, where it waits between moves; a square;
// or anywhere else (the menu bar, the page around the game).
struct Focus {
    enum class On { Sink, Square, Elsewhere };
    On on = On::Elsewhere;
    SquareIndex square = 0;

    static constexpr Focus sink() { return {On::Sink, 0}; }
    static constexpr Focus at(SquareIndex square) { return {On::Square, square}; }
    static constexpr Focus elsewhere() { return {}; }
    friend constexpr bool operator==(const Focus&, const Focus&) = default;
};

struct KeyOutcome {
    Command command = Command::None;
    SquareIndex click = 0;   // 1..25: the square the key clicks
    bool moves = false;      // the focus goes to `to`
    Focus to;
    bool consumed = false;   // the game's key: the toolkit must not act on it as well
};

// `lastPlayed` is the square Tab and the arrows bring the focus to from the sink.
KeyOutcome keyOutcome(const KeyPress& press, Focus focus, SquareIndex lastPlayed, Host host = Host::Desktop);

} // namespace zarquel::window
