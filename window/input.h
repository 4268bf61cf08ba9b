// What the player's clicks, keys and menu choices do to the game, the same in every window.
#pragma once

#include "boardview.h"
#include "game.h"
#include "keys.h"

namespace zarquel::window {

// What the window's input needs of a toolkit besides the board itself (BoardView).
class Controls {
public:
    virtual ~Controls() = default;

    virtual bool clockRunning() const = 0;
    // The keyboard focus on a square, with its mark.
    virtual void focusSquare(SquareIndex square) = 0;
    // The key being handled is the game's: the toolkit must not act on it, not even while a box
    // it opens waits (the page's handler returns before the box closes).
    virtual void takeKey() = 0;
    // Exit: the end of the program, or of the game where a page cannot end.
    virtual void exitGame() = 0;
};

class Input {
public:
    Input(Game& game, BoardView& view, Controls& controls, Host host);

    // A square clicked, with the mouse or a key.
    void click(SquareIndex index);
    // A key pressed anywhere in the window, with the focus where `focus` says; true when it was the game's.
    bool key(const KeyPress& press, int focus);
    // A menu item chosen, or its shortcut pressed.
    void choose(Command command);

    SquareIndex lastPlayed() const { return lastPlayed_; }

private:
    Game& game_;
    BoardView& view_;
    Controls& controls_;
    Host host_;
    SquareIndex lastPlayed_ = 1;
};

} // namespace zarquel::window
