// The game's one Windows window: the board, the clock display, menus and messages.
#pragma once

#include "boardview.h"
#include "chance.h"
#include "game.h"
#include "input.h"

#include <windows.h>

#include <array>
#include <initializer_list>

class frmZarquel final : public zarquel::BoardView, public zarquel::window::Controls {
public:
    explicit frmZarquel(HINSTANCE instance);
    ~frmZarquel() override;
    frmZarquel(const frmZarquel&) = delete;
    frmZarquel& operator=(const frmZarquel&) = delete;

    void show(int how);
    // The message loop; returns the exit status.
    int run();
    // Keys the window sees before the control with the focus; true when used up.
    bool preTranslate(MSG& message);

    void SwitchColor(long long Square) { game_.SwitchColor(Square); }
    zarquel::Game& game() { return game_; }

    HWND hwnd() const { return hwnd_; }
    HWND square(zarquel::SquareIndex index) const { return cmdSquare.at(static_cast<std::size_t>(index - 1)); }
    HWND takeFocus() const { return cmdTakeFocus; }
    HWND timeLabel() const { return lblTime; }
    HWND wastedLabel() const { return lblWasted; }
    HWND secondsLabel() const { return lblSeconds; }
    HWND titleImage() const { return imgTitle; }
    UINT dpi() const { return dpi_; }

    // BoardView over the real controls.
    zarquel::SquareColor squareColor(zarquel::SquareIndex square) const override;
    void setSquareColor(zarquel::SquareIndex square, zarquel::SquareColor color) override;
    void enableClock() override;
    void disableClock() override;
    void setTimeText(const std::string& text) override;
    void focusSink() override;
    void showMessage(const std::string& text, const std::string& title) override;

    // What the window's input asks of Windows besides the board.
    bool clockRunning() const override { return clockRunning_; }
    void focusSquare(zarquel::SquareIndex index) override;
    void takeKey() override {} // a key preTranslate takes is never dispatched
    void exitGame() override;

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK squareProc(HWND square, UINT message, WPARAM wParam, LPARAM lParam);
    static WNDPROC buttonProc_;
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void buildBoard();
    void buildMenus();
    // Sizes the window, moves the controls if the density changed and picks fonts and banner for `dpi`.
    void layout(UINT dpi, const RECT* suggested);
    void command(int id, int notification);
    zarquel::SquareIndex squareOf(HWND control) const;
    void drawSquare(const DRAWITEMSTRUCT& item);
    void drawBanner(const DRAWITEMSTRUCT& item);
    void fitLabels(std::initializer_list<HWND> labels, HFONT& font, double points);
    int scaled(int pixels) const { return MulDiv(pixels, static_cast<int>(dpi_), 96); }

    zarquel::StandardRandomSource random_;
    zarquel::SystemTimeOfDay timeOfDay_;
    zarquel::Game game_ {*this, random_, timeOfDay_};
    zarquel::window::Input input_ {game_, *this, *this, zarquel::window::Host::Desktop};

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    HWND cmdTakeFocus = nullptr;
    HWND lblWasted = nullptr;
    HWND lblSeconds = nullptr;
    HWND lblTime = nullptr;
    HWND imgTitle = nullptr;
    std::array<HWND, zarquel::SquareCount> cmdSquare {};
    std::array<zarquel::SquareColor, zarquel::SquareCount> colors_ {};
    // lblWasted and lblSeconds share one font, and cmdTakeFocus too.
    HFONT smallFont_ = nullptr;
    HFONT timeFont_ = nullptr;
    HBITMAP banner_ = nullptr;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    UINT dpi_ = 96;
    bool clockRunning_ = false;
    // Only a square reached from the keyboard wears a focus mark.
    HWND keyboardSquare_ = nullptr;
    HWND savedFocus_ = nullptr;
};
