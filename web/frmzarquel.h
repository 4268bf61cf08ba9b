// The game's page: the board, the clock display, menus and messages over the browser's DOM.
#pragma once

#include "form.h"
#include "messagebox.h"

class frmZarquel final : public zarquel::window::Form {
public:
    frmZarquel() : Form(zarquel::window::Host::Page) {}

    // Deals the first board and tells the page it is playable.
    void load();

    // Events forwarded by the page. While a message box is open, or after Exit, none of
    // them reaches the game; only the clock does, and only while a box is open.
    void squareClicked(int index);
    void keyDown(const zarquel::window::KeyPress& press, int focus);
    void menuChosen(zarquel::window::Command command);
    void tmrTimeTick();
    // The open box's size, the board's and the label row's places and the visual viewport, in CSS pixels.
    void placeBox(int width, int height, const zarquel::window::Rect& board, int labelsBottom,
                  const zarquel::window::Rect& view);
    bool boxTakesPress() const;

    void setTimeText(const std::string& text) override;
    void focusSink() override;

protected:
    // The window's calls on the page, each answered by page.js (Module.page).
    void paintSquare(zarquel::SquareIndex square, zarquel::SquareColor color) override;
    void runTimer(bool on) override;
    void focusSquare(zarquel::SquareIndex square) override;
    void takeKey() override;
    void exitGame() override;
    void openBox(const std::string& text, const std::string& title) override;

private:
    bool takesInput() const { return !messageOpen_ && !ended_; }

    zarquel::window::PressGuard guard_;
    bool messageOpen_ = false;
    bool ended_ = false;
};
