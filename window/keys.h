// What a key does in the window: a menu command, a step of keyboard play on the board, or nothing of the game's.
#pragma once

#include "menus.h"
#include "squares.h"

namespace zarquel::window {

// Where the keyboard focus is when the key comes: the hidden focus button, where it waits
// between moves; a square, 1..25; or anywhere else (the menu bar, the page around the game).
inline constexpr int FocusOnSink = 0;
inline constexpr int FocusElsewhere = -1;

struct KeyOutcome {
    Command command = Command::None;
    SquareIndex click = 0;       // 1..25: the square the key clicks
    SquareIndex focusSquare = 0; // 1..25: the square that takes the focus
    bool focusSink = false;      // the focus goes back to the hidden focus button
    bool consumed = false;       // the game's key: the toolkit must not act on it as well
};

// `lastPlayed` is the square Tab and the arrows bring the focus to from the sink.
KeyOutcome keyOutcome(const KeyPress& press, int focus, int lastPlayed, Host host = Host::Desktop);

} // namespace zarquel::window
