// What the game logic needs from the window that shows the board.
#pragma once

#include "squares.h"

#include <string>

namespace zarquel {

// The view's square colours are the board: the logic never keeps a copy.
class BoardView {
public:
    virtual ~BoardView() = default;

    virtual SquareColor squareColor(SquareIndex square) const = 0;
    virtual void setSquareColor(SquareIndex square, SquareColor color) = 0;
    // Enabling a running clock must leave its current second alone, or a
    // player clicking faster than once a second would freeze the count.
    virtual void enableClock() = 0;
    virtual void disableClock() = 0;
    virtual void setTimeText(const std::string& text) = 0;
    virtual void focusSink() = 0;
    // Modal: returns once dismissed. An empty title means the game's own name.
    virtual void showMessage(const std::string& text, const std::string& title) = 0;
};

} // namespace zarquel
