// The game's one Windows window: the board, the clock display, menus and messages.
#pragma once

#include "form.h"

#include <windows.h>

#include <array>
#include <initializer_list>

class frmZarquel final : public zarquel::window::Form {
public:
    explicit frmZarquel(HINSTANCE instance);
    ~frmZarquel() override;

    void show(int how);
    // The message loop; returns the exit status.
    int run();
    // Keys the window sees before the control with the focus; true when used up.
    bool preTranslate(MSG& message);

    HWND hwnd() const { return hwnd_; }
    HWND square(zarquel::SquareIndex index) const { return cmdSquare.at(static_cast<std::size_t>(index - 1)); }
    HWND takeFocus() const { return cmdTakeFocus; }
    HWND timeLabel() const { return lblTime; }
    HWND wastedLabel() const { return lblWasted; }
    HWND secondsLabel() const { return lblSeconds; }
    HWND titleImage() const { return imgTitle; }
    UINT dpi() const { return dpi_; }

    void setTimeText(const std::string& text) override;
    void focusSink() override;

protected:
    // The window's calls on Windows; Exit is the window's end, and the message loop's with it.
    void exitGame() override { DestroyWindow(hwnd_); }
    void paintSquare(zarquel::SquareIndex index, zarquel::SquareColor color) override;
    void runTimer(bool on) override;
    void focusSquare(zarquel::SquareIndex index) override;
    void openBox(const std::string& text, const std::string& title) override;

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

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    HWND cmdTakeFocus = nullptr;
    HWND lblWasted = nullptr;
    HWND lblSeconds = nullptr;
    HWND lblTime = nullptr;
    HWND imgTitle = nullptr;
    std::array<HWND, zarquel::SquareCount> cmdSquare {};
    // lblWasted and lblSeconds share one font, and cmdTakeFocus too.
    HFONT smallFont_ = nullptr;
    HFONT timeFont_ = nullptr;
    HBITMAP banner_ = nullptr;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    UINT dpi_ = 96;
    // Only a square reached from the keyboard wears a focus mark.
    HWND keyboardSquare_ = nullptr;
    HWND savedFocus_ = nullptr;
};
