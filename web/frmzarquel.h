// The game's page: the board, the clock display, menus and messages over the browser's DOM.
#pragma once

#include "boardview.h"
#include "chance.h"
#include "game.h"
#include "input.h"
#include "messagebox.h"

#include <array>

class frmZarquel final : public zarquel::BoardView, public zarquel::window::Controls {
public:
    frmZarquel();

    // Deals the first board and tells the page it is playable.
    void load();

    // Events forwarded by the page. While a message box is open, or after Exit, none of
    // them reaches the game; only the clock does, and only while a box is open.
    void squareClicked(int index);
    void keyDown(const zarquel::window::KeyPress& press, int focus);
    void menuChosen(zarquel::window::Command command);
    void tmrTimeTick();
    // The open box's size, the board's and the label row's places and the viewport's size, in CSS pixels.
    void placeBox(int width, int height, const zarquel::window::Rect& board, int labelsBottom, int viewWidth,
                  int viewHeight);
    bool boxTakesPress() const;

    void SwitchColor(long long Square) { game_.SwitchColor(Square); }

    // BoardView over the page.
    zarquel::SquareColor squareColor(zarquel::SquareIndex square) const override;
    void setSquareColor(zarquel::SquareIndex square, zarquel::SquareColor color) override;
    void enableClock() override;
    void disableClock() override;
    void setTimeText(const std::string& text) override;
    void focusSink() override;
    void showMessage(const std::string& text, const std::string& title) override;

    // What the window's input asks of the page besides the board.
    bool clockRunning() const override { return clockRunning_; }
    void focusSquare(zarquel::SquareIndex square) override;
    void takeKey() override;
    void exitGame() override;

private:
    bool takesInput() const { return !messageOpen_ && !ended_; }

    zarquel::StandardRandomSource random_;
    zarquel::SystemTimeOfDay timeOfDay_;
    zarquel::Game game_ {*this, random_, timeOfDay_};
    zarquel::window::Input input_ {game_, *this, *this, zarquel::window::Host::Page};

    // What each square's button shows: the page paints it, the game reads it from here.
    std::array<zarquel::SquareColor, zarquel::SquareCount> colors_ {};
    zarquel::window::PressGuard guard_;
    bool clockRunning_ = false;
    bool messageOpen_ = false;
    bool ended_ = false;
};
