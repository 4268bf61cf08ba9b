// The window's behaviour over any toolkit: the board as shown, the clock's state, and what clicks, keys and menus do.
#pragma once

#include "boardview.h"
#include "chance.h"
#include "game.h"
#include "keys.h"

#include <array>

namespace zarquel::window {

// A front end derives from it, makes the controls, and implements the toolkit's part below.
class Form : public BoardView {
public:
    explicit Form(Host host);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // The player's events, as the toolkit reports them.
    void click(SquareIndex index);
    // A key anywhere in the window, with the focus where `focus` says; true when it was the game's.
    bool key(const KeyPress& press, int focus);
    void choose(Command command);
    // tmrTime's interval: a tick counts only while the clock runs.
    void tick();

    void SwitchColor(long long Square) { game_.SwitchColor(Square); }
    Game& game() { return game_; }
    bool clockRunning() const { return running_; }
    SquareIndex lastPlayed() const { return lastPlayed_; }

    // The colours shown are the board.
    SquareColor squareColor(SquareIndex square) const final;
    void setSquareColor(SquareIndex square, SquareColor color) final;
    // Enabling a running clock leaves its current second alone, or fast clicks would freeze the count.
    void enableClock() final;
    void disableClock() final;
    // An empty title is the game's own name.
    void showMessage(const std::string& text, const std::string& title) final;

protected:
    // The toolkit's part; setTimeText and focusSink (BoardView) are the toolkit's too.
    virtual void paintSquare(SquareIndex square, SquareColor color) = 0;
    // tmrTime on or off: while on, tick() once a second.
    virtual void runTimer(bool on) = 0;
    // The keyboard focus on a square, with its mark.
    virtual void focusSquare(SquareIndex square) = 0;
    // The key being handled must not reach the toolkit, not even while a box it opens waits.
    virtual void takeKey() {}
    virtual void exitGame() = 0;
    // Modal, OK only, over the board (placeMessageBox).
    virtual void openBox(const std::string& text, const std::string& title) = 0;

private:
    Host host_;
    StandardRandomSource random_;
    SystemTimeOfDay timeOfDay_;
    Game game_ {*this, random_, timeOfDay_};
    // The design-time board is all red; the first deal repaints every square.
    std::array<SquareColor, SquareCount> colors_ {filled(Red)};
    bool running_ = false;
    SquareIndex lastPlayed_ = 1;

    static std::array<SquareColor, SquareCount> filled(SquareColor color);
};

} // namespace zarquel::window
