// The game's page: the board, the clock display, menus and messages over the browser's DOM.
#pragma once

#include "boardview.h"
#include "chance.h"
#include "game.h"
#include "keyboard.h"

#include <array>

class frmZarquel final : public zarquel::BoardView {
public:
    frmZarquel();

    // Deals the first board and tells the page it is playable.
    void load();

    // Events forwarded by the page. While a message box is open, or after Exit, none of
    // them reaches the game; only the clock does, and only while a box is open.
    void squareClicked(int index);
    // Tells the page (jsConsumeKey) when the browser must not act on the key itself.
    void keyDown(const zarquel::web::KeyPress& press, int focus);
    void menuChosen(zarquel::web::Command command);
    void tmrTimeTick();

    void SwitchColor(long long Square) { game_.SwitchColor(Square); }
    bool clockRunning() const { return clockRunning_; }

    // BoardView over the page.
    zarquel::SquareColor squareColor(zarquel::SquareIndex square) const override;
    void setSquareColor(zarquel::SquareIndex square, zarquel::SquareColor color) override;
    void enableClock() override;
    void disableClock() override;
    void setTimeText(const std::string& text) override;
    void focusSink() override;
    void showMessage(const std::string& text, const std::string& title) override;

private:
    bool takesInput() const { return !messageOpen_ && !ended_; }
    void run(zarquel::web::Command command);

    zarquel::StandardRandomSource random_;
    zarquel::SystemTimeOfDay timeOfDay_;
    zarquel::Game game_ {*this, random_, timeOfDay_};

    // What each square's button shows: the page paints it, the game reads it from here.
    std::array<zarquel::SquareColor, zarquel::SquareCount> cmdSquare_ {};
    bool clockRunning_ = false;
    bool messageOpen_ = false;
    bool ended_ = false;
    zarquel::SquareIndex lastClicked_ = 1; // where Tab brings a keyboard player back to
};
