// The game's one Windows window: the controls from the window's table, and Windows' messages handed to the session.
#pragma once

#include "session.h"

#include <windows.h>

#include <array>
#include <vector>

class Win32Window final {
public:
    explicit Win32Window(HINSTANCE instance);
    ~Win32Window();
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    void show(int how);
    // The message loop; returns the exit status.
    int run();
    // Keys and presses the window sees before the control they are for; true when used up.
    bool preTranslate(MSG& message);
    // Shows what the session answered: squares, time, clock, focus, then a box, which waits for OK.
    void apply(const zarquel::window::Reply& reply);

    zarquel::window::Session& session() { return session_; }
    HWND hwnd() const { return hwnd_; }
    HWND square(zarquel::SquareIndex index) const { return squares_.at(static_cast<std::size_t>(index - 1)); }
    HWND takeFocus() const { return sink_; }
    HWND timeLabel() const { return time_; }
    HWND titleImage() const { return banner_; }
    UINT dpi() const { return dpi_; }
    zarquel::SquareColor squareColor(zarquel::SquareIndex index) const { return session_.color(index); }
    bool clockRunning() const { return session_.clockRunning(); }

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK controlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void buildControls();
    void buildMenus();
    // Sizes the window, moves the controls if the density changed and picks fonts and banner for `dpi`.
    void layout(UINT dpi, const RECT* suggested);
    void command(int id, int notification);
    zarquel::SquareIndex squareOf(HWND control) const;
    void drawSquare(const DRAWITEMSTRUCT& item);
    void drawBanner(const DRAWITEMSTRUCT& item);
    void fitLabels(const std::vector<HWND>& labels, HFONT& font, double points);
    void focus(HWND control);
    void openBox(const zarquel::window::Box& box);
    int scaled(int pixels) const { return MulDiv(pixels, static_cast<int>(dpi_), 96); }

    zarquel::window::Session session_;
    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    HWND sink_ = nullptr;
    HWND time_ = nullptr;
    HWND banner_ = nullptr;
    std::vector<HWND> labels_; // the small ones, sharing one font with the focus button
    std::array<HWND, zarquel::SquareCount> squares_ {};
    HFONT smallFont_ = nullptr;
    HFONT timeFont_ = nullptr;
    HBITMAP bannerBitmap_ = nullptr;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    UINT dpi_ = 96;
    // Only a square reached from the keyboard wears a focus mark.
    HWND keyboardSquare_ = nullptr;
    HWND savedFocus_ = nullptr;
    // The last pointer press on a square, for the click it ends.
    HWND pressedSquare_ = nullptr;
    zarquel::window::PressTime pressedAt_ = 0;
};
