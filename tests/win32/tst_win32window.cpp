// The Windows window under Wine: layout, pixels, keyboard play, shortcuts, the clock and message boxes.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include "controls.h"
#include "win32window.h"
#include "neighbourhood.h"
#include "texts.h"

#include <oleacc.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cwchar>
#include <functional>
#include <set>
#include <string>
#include <vector>

#define CHECK_WHAT(condition, what) CHECK_MESSAGE((condition), (what))

using namespace zarquel;

namespace {

std::wstring textOf(HWND hwnd)
{
    wchar_t text[1024] {};
    GetWindowTextW(hwnd, text, 1024);
    return text;
}

std::wstring wide(std::string_view text)
{
    return std::wstring(text.begin(), text.end()); // the game's texts are ASCII
}

// Sets up a position: one square's colour, through the session so the board shown follows.
void paintSquare(Win32Window& window, SquareIndex square, SquareColor color)
{
    std::array<SquareColor, SquareCount> colors {};
    for (SquareIndex k = 1; k <= SquareCount; ++k)
        colors[static_cast<std::size_t>(k - 1)] = k == square ? color : window.session().color(k);
    window.apply(window.session().arrange(colors));
}

void showFocusOnSink(Win32Window& window)
{
    window::Reply reply;
    reply.focus = window::Focus::sink();
    window.apply(reply);
}

// The exit status the window asked for, once it has.
int quitStatus = -1;

// Runs pending messages, paints included.
void settle()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            quitStatus = static_cast<int>(message.wParam);
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

RECT clientRectOf(HWND parent, HWND control)
{
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

COLORREF pixel(HWND control, int x, int y)
{
    HDC dc = GetDC(control);
    const COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(control, dc);
    return color;
}

// A key as the message loop would see it, with Shift, Ctrl and Alt held as asked.
bool press(Win32Window& window, UINT key, bool shift = false, bool control = false, bool alt = false)
{
    BYTE state[256] {};
    state[VK_SHIFT] = shift ? 0x80 : 0;
    state[VK_CONTROL] = control ? 0x80 : 0;
    state[VK_MENU] = alt ? 0x80 : 0;
    SetKeyboardState(state);
    MSG message {};
    message.hwnd = GetFocus();
    message.message = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
    message.wParam = key;
    message.lParam = alt ? (1 << 29) : 0;
    const bool used = window.preTranslate(message);
    BYTE none[256] {};
    SetKeyboardState(none);
    settle();
    return used;
}

void clickSquare(Win32Window& window, SquareIndex index)
{
    SendMessageW(window.square(index), BM_CLICK, 0, 0);
    settle();
}

std::set<int> greenSquares(Win32Window& window)
{
    std::set<int> green;
    for (int k = 1; k <= SquareCount; ++k)
        if (window.squareColor(static_cast<SquareIndex>(k)) == Green)
            green.insert(k);
    return green;
}

// What a message box showed, read while it was open, and the window's state behind it.
struct SeenBox {
    std::wstring title, text;
    HWND owner = nullptr;
    int buttons = 0;
    bool icon = false;
    bool clockRunning = false;
    bool guarded = false; // against the rest of the double click that opened it
    bool visible = false;
    RECT frame {};
    std::wstring time;
};
std::vector<SeenBox> seenBoxes;
Win32Window* watched = nullptr;
constexpr DWORD WinningPress = 123456;

// Run by the box's own message loop once it is on screen: where it stands and the time beside it.
void CALLBACK readOpenBox(HWND box, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(box, timer);
    SeenBox& seen = seenBoxes.back();
    seen.visible = IsWindowVisible(box);
    GetWindowRect(box, &seen.frame);
    seen.time = textOf(watched->timeLabel());
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

LRESULT CALLBACK watchBoxes(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        wchar_t kind[32] {};
        GetClassNameW(box, kind, 32);
        if (lstrcmpW(kind, L"#32770") != 0)
            return CallNextHookEx(nullptr, code, wParam, lParam);
        SeenBox seen;
        seen.title = textOf(box);
        seen.text = textOf(GetDlgItem(box, 0xFFFF));
        seen.owner = GetWindow(box, GW_OWNER);
        seen.clockRunning = watched->clockRunning();
        seen.guarded = !watched->session().boxTakesPress(WinningPress + 1);
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            GetClassNameW(child, kind, 32);
            // Not shown yet, but each visible-to-be control has the style.
            if (!(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE))
                continue;
            if (lstrcmpiW(kind, L"Button") == 0)
                ++seen.buttons;
            if (lstrcmpiW(kind, L"Static") == 0 && SendMessageW(child, STM_GETICON, 0, 0))
                seen.icon = true;
        }
        seenBoxes.push_back(seen);
        SetTimer(box, 1, 0, readOpenBox);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The window the cases share, shown in front.
Win32Window& shown()
{
    static Win32Window window(GetModuleHandleW(nullptr));
    if (!IsWindowVisible(window.hwnd())) {
        window.show(SW_SHOWNORMAL);
        SetForegroundWindow(window.hwnd());
        settle();
    }
    return window;
}

TEST_CASE("the layout is the design scaled to the screen")
{
    Win32Window& window = shown();
    const UINT dpi = window.dpi();
    if (const char* expected = std::getenv("ZARQUEL_EXPECT_DPI"))
        CHECK(dpi == static_cast<UINT>(std::atoi(expected)));
    const auto scaled = [dpi](int twips) { return MulDiv(twips / 15, static_cast<int>(dpi), 96); };
    HWND hwnd = window.hwnd();
    CHECK(textOf(hwnd) == L"Zarquel");
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    CHECK((!(style & WS_THICKFRAME) && !(style & WS_MAXIMIZEBOX) && (style & WS_MINIMIZEBOX)));
    RECT client;
    GetClientRect(hwnd, &client);
    CHECK((client.right == scaled(3960) && client.bottom == scaled(5910)));

    struct Expected {
        const char* name;
        HWND control;
        int left, top, width, height;
    };
    std::vector<Expected> controls {
        {"cmdTakeFocus", window.takeFocus(), 4200, 2760, 1215, 495},
        {"lblTime", window.timeLabel(), 2415, 1920, 615, 375},
    };
    for (int k = 1; k <= SquareCount; ++k) {
        const int row = (k - 1) / 5, column = (k - 1) % 5;
        controls.push_back({"cmdSquare", window.square(static_cast<SquareIndex>(k)), 240 + 720 * column,
                            2280 + 720 * row, 615, 615});
    }
    for (const Expected& at : controls) {
        const RECT rect = clientRectOf(hwnd, at.control);
        CHECK_WHAT(rect.left == scaled(at.left) && rect.top == scaled(at.top) &&
                       rect.right - rect.left == scaled(at.width) && rect.bottom - rect.top == scaled(at.height),
                   std::string(at.name) + " is not at its designed place");
    }
    // Out of sight, yet it holds the focus from the start.
    CHECK(clientRectOf(hwnd, window.takeFocus()).left >= client.right);
    CHECK(GetFocus() == window.takeFocus());

    HMENU bar = GetMenu(hwnd);
    CHECK(GetMenuItemCount(bar) == 2);
    const std::vector<std::pair<int, std::vector<std::wstring>>> menus {
        {0, {L"&Pause Game\tCtrl+P", L"&New Game\tCtrl+N", L"", L"E&xit\tCtrl+X"}},
        {1, {L"&Instructions\tCtrl+I", L"&About Zarquel\tCtrl+A"}},
    };
    for (const auto& [position, items] : menus) {
        HMENU menu = GetSubMenu(bar, position);
        CHECK(GetMenuItemCount(menu) == static_cast<int>(items.size()));
        for (std::size_t i = 0; i < items.size(); ++i) {
            wchar_t caption[64] {};
            GetMenuStringW(menu, static_cast<UINT>(i), caption, 64, MF_BYPOSITION);
            CHECK_WHAT(caption == items[i], "menu item " + std::to_string(i) + " of menu " + std::to_string(position));
        }
    }
}

// Dragged to a screen of another density, the window takes that density's size, places, banner and icons.
TEST_CASE("the window follows the screen density")
{
    Win32Window& window = shown();
    const UINT start = window.dpi();
    for (const UINT dpi : {start > 96 ? 96u : 192u, start}) {
        RECT suggested {10, 10, 20, 20}; // where Windows would put it; the window sizes itself
        SendMessageW(window.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        RECT client;
        GetClientRect(window.hwnd(), &client);
        const RECT square = clientRectOf(window.hwnd(), window.square(25));
        const int k = static_cast<int>(dpi);
        CHECK_WHAT(window.dpi() == dpi && client.right == MulDiv(264, k, 96) && client.bottom == MulDiv(394, k, 96) &&
                       square.left == MulDiv(208, k, 96) && square.top == MulDiv(344, k, 96) &&
                       square.right - square.left == MulDiv(41, k, 96),
                   "wrong size or place at " + std::to_string(dpi) + " DPI");
        const std::string where = " at " + std::to_string(dpi) + " DPI";
        const auto iconWidth = [&](WPARAM which) {
            ICONINFO info {};
            GetIconInfo(reinterpret_cast<HICON>(SendMessageW(window.hwnd(), WM_GETICON, which, 0)), &info);
            BITMAP bitmap {};
            GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            return bitmap.bmWidth;
        }; // drawn for the density, not 32 pixels blown up
        CHECK_WHAT(iconWidth(ICON_BIG) == MulDiv(32, k, 96) && iconWidth(ICON_SMALL) == MulDiv(16, k, 96),
                   "icon sizes" + where);

        // The banner on screen is the drawing made for the density, pixel for pixel, white keyed out.
        settle();
        HBITMAP drawing = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), dpi > 96 ? L"BANNER2X" : L"BANNER",
                                                          IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        BITMAP size {};
        GetObjectW(drawing, sizeof size, &size);
        RedrawWindow(window.titleImage(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        RECT banner;
        GetClientRect(window.titleImage(), &banner);
        REQUIRE_MESSAGE((banner.right == size.bmWidth && banner.bottom == size.bmHeight), ("banner size" + where));
        HDC screen = GetDC(window.titleImage()), drawn = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(drawn, drawing);
        int wrong = 0;
        for (int y = 0; y < banner.bottom; ++y)
            for (int x = 0; x < banner.right; ++x) {
                const COLORREF color = GetPixel(drawn, x, y);
                wrong += GetPixel(screen, x, y) != (color == RGB(255, 255, 255) ? RGB(0, 0, 0) : color);
            }
        SelectObject(drawn, old);
        DeleteDC(drawn);
        DeleteObject(drawing);
        ReleaseDC(window.titleImage(), screen);
        CHECK_WHAT(wrong == 0, std::to_string(wrong) + " banner pixels are not the drawing's" + where);
    }
}

TEST_CASE("the window is dealt before it is shown, its squares named")
{
    Win32Window window(GetModuleHandleW(nullptr));
    CHECK(textOf(window.timeLabel()) == L"0");
    CHECK(!window.clockRunning());
    // The box's guard counts the system's own double-click time.
    CHECK(window.session().doubleClickMs() == static_cast<int>(GetDoubleClickTime()));
    int red = 0;
    for (int k = 1; k <= SquareCount; ++k) {
        const SquareColor color = window.squareColor(static_cast<SquareIndex>(k));
        CHECK((color == Red || color == Green));
        red += color == Red;
        CHECK(textOf(window.square(static_cast<SquareIndex>(k))) == wide(texts::squareName(k)));
    }
    CHECK(red < SquareCount);
    DestroyWindow(window.hwnd()); // the quit a second window's end asks for is not what this case is about
    settle();
    quitStatus = -1;
}

// Name and description as a screen reader asks for them, through the square's window.

std::pair<std::wstring, std::wstring> accessibleNameAndDescription(HWND square)
{
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(square, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))))
        return {};
    VARIANT self {};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr, description = nullptr;
    object->get_accName(self, &name);
    object->get_accDescription(self, &description);
    std::pair<std::wstring, std::wstring> result {name ? name : L"", description ? description : L""};
    SysFreeString(name);
    SysFreeString(description);
    object->Release();
    return result;
}

TEST_CASE("controls tell screen readers the names and descriptions Linux and the page give them")
{
    Win32Window& window = shown();
    window.apply(window.session().menu(1002)); // New Game
    settle();
    const auto heard = [&](const char* name) { return accessibleNameAndDescription(GetDlgItem(window.hwnd(), window::control(name).id)); };
    CHECK(heard("lblTime") == std::pair<std::wstring, std::wstring>(L"Seconds wasted", L"0"));
    CHECK(heard("cmdTakeFocus") == std::pair<std::wstring, std::wstring>(L"For Focus", L"Click the squares to turn them all red"));
    CHECK(heard("lblWasted").first == L"You've wasted this much time:");
    CHECK(heard("imgTitle").first == L"Zarquel");
    // The count follows the clock.
    clickSquare(window, 1);
    window.apply(window.session().tick());
    CHECK(heard("lblTime") == std::pair<std::wstring, std::wstring>(L"Seconds wasted", L"1"));
    window.apply(window.session().menu(1002));
    for (const SquareIndex index : {SquareIndex(1), SquareIndex(7), SquareIndex(25)}) {
        for (const SquareColor color : {Red, Green}) {
            paintSquare(window, index, color);
            const auto [name, description] = accessibleNameAndDescription(window.square(index));
            CHECK_WHAT(name == wide(texts::squareName(index)) && description == (color == Red ? L"red" : L"green"),
                       "square " + std::to_string(index) + " tells a screen reader the wrong name or colour");
        }
    }
}

TEST_CASE("squares paint exactly what is stored")
{
    Win32Window& window = shown();
    const int middle = MulDiv(20, static_cast<int>(window.dpi()), 96);
    for (const SquareColor color : {Red, Green, SquareColor(0x123456)}) {
        for (int k = 1; k <= SquareCount; ++k)
            paintSquare(window, static_cast<SquareIndex>(k), color);
        settle();
        for (int k = 1; k <= SquareCount; ++k) {
            const SquareIndex index = static_cast<SquareIndex>(k);
            CHECK(window.squareColor(index) == color);
            // The whole face, edge to edge, and no caption painted over it.
            for (const int at : {0, middle, 2 * middle})
                CHECK_WHAT(pixel(window.square(index), at, middle) == static_cast<COLORREF>(color),
                           "square " + std::to_string(k) + " is painted off its colour");
        }
    }
}

TEST_CASE("the keyboard plays the board")
{
    Win32Window& window = shown();
    window.apply(window.session().menu(1002)); // New Game
    settle();
    HWND sink = window.takeFocus();
    const auto focused = [&] { return GetFocus(); };
    const auto at = [&](int k) { return window.square(static_cast<SquareIndex>(k)); };
    // A fresh board: Tab goes to square 1, then on in index order, Shift+Tab back.
    CHECK((press(window, VK_TAB) && focused() == at(1)));
    CHECK((press(window, VK_TAB) && focused() == at(2)));
    CHECK((press(window, VK_TAB, true) && focused() == at(1)));
    CHECK((press(window, VK_TAB, true) && focused() == sink));
    // An arrow on the sink goes to the square played last, as Tab does: the next move needs no Tab.
    for (UINT arrow : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN}) {
        CHECK((press(window, arrow) && focused() == at(1)));
        showFocusOnSink(window);
    }

    // A keyboard-focused square wears a mark inside its edge.
    press(window, VK_TAB);
    const int inset = MulDiv(4, static_cast<int>(window.dpi()), 96);
    CHECK(pixel(at(1), inset, inset) != static_cast<COLORREF>(window.squareColor(1)));

    // Arrows move in two dimensions and stop at the edges.
    struct Move {
        int from;
        UINT key;
        int to;
    };
    const Move moves[] {
        {13, VK_UP, 8}, {13, VK_DOWN, 18}, {13, VK_LEFT, 12}, {13, VK_RIGHT, 14},
        {1, VK_UP, 1},  {1, VK_LEFT, 1},   {5, VK_RIGHT, 5},  {25, VK_DOWN, 25}, {21, VK_LEFT, 21},
    };
    for (const Move& move : moves) {
        SetFocus(at(move.from));
        CHECK_WHAT(press(window, move.key) && focused() == at(move.to),
                   "arrow from square " + std::to_string(move.from));
    }

    // Enter clicks the focused square and sends the focus to the sink; Tab comes back to it.
    SetFocus(at(7));
    const std::set<int> before = greenSquares(window);
    CHECK(press(window, VK_RETURN));
    std::set<int> switched;
    const std::set<int> after = greenSquares(window);
    for (int k = 1; k <= SquareCount; ++k)
        if (before.count(k) != after.count(k))
            switched.insert(k);
    CHECK(switched == neighbourhood(7));
    CHECK((focused() == sink && window.clockRunning()));
    CHECK((press(window, VK_TAB, true) && focused() == at(7))); // Shift+Tab comes back to it too
    CHECK((press(window, VK_TAB) && focused() == at(8)));

    // A mouse click leaves no mark anywhere: the sink has the focus at once.
    clickSquare(window, 19);
    CHECK(focused() == sink);
    CHECK(pixel(at(19), inset, inset) == static_cast<COLORREF>(window.squareColor(19)));
    CHECK((press(window, VK_TAB) && focused() == at(19)));
    // Space is the button's own click.
    SendMessageW(at(19), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(at(19), WM_KEYUP, VK_SPACE, 0);
    settle();
    CHECK((focused() == sink && greenSquares(window) == after));
    // A quick double click is two clicks: the board switches back.
    const std::set<int> beforeDouble = greenSquares(window);
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        SendMessageW(at(9), message, MK_LBUTTON * (message != WM_LBUTTONUP), MAKELPARAM(5, 5));
    settle();
    CHECK((greenSquares(window) == beforeDouble && focused() == sink));
    // A new game starts the keyboard again at square 1.
    CHECK(press(window, 'N', false, true));
    CHECK((press(window, VK_TAB) && focused() == at(1)));
    showFocusOnSink(window);
}

TEST_CASE("the shortcuts work, and no other key")
{
    Win32Window& window = shown();
    struct Key {
        const char* name;
        UINT key;
        bool shift, control, alt;
        bool pauses;
    };
    const Key keys[] {
        {"Escape", VK_ESCAPE, false, false, false, true},
        {"Shift+Escape", VK_ESCAPE, true, false, false, true},
        {"Ctrl+Escape", VK_ESCAPE, false, true, false, true},
        {"Alt+Escape", VK_ESCAPE, false, false, true, true},
        {"Ctrl+Shift+Alt+Escape", VK_ESCAPE, true, true, true, true},
        {"Ctrl+P", 'P', false, true, false, true},
        {"P", 'P', false, false, false, false},
        {"Ctrl+Shift+P", 'P', true, true, false, false},
        {"Ctrl+Q", 'Q', false, true, false, false},
        {"F5", VK_F5, false, false, false, false},
    };
    for (const Key& key : keys) {
        for (HWND focus : {window.takeFocus(), window.square(13)}) {
            window.apply(window.session().menu(1002)); // New Game
            clickSquare(window, 1);
            SetFocus(focus);
            press(window, key.key, key.shift, key.control, key.alt);
            CHECK_WHAT(window.clockRunning() != key.pauses, std::string(key.name) + " with the focus on " +
                                                                 (focus == window.takeFocus() ? "the sink" : "a square"));
        }
    }
    // Pausing keeps the count and the board; Ctrl+N deals and shows "0".
    window.apply(window.session().tick());
    window.apply(window.session().tick());
    const std::set<int> board = greenSquares(window);
    press(window, VK_ESCAPE);
    CHECK((textOf(window.timeLabel()) == L"2" && greenSquares(window) == board));
    clickSquare(window, 1);
    CHECK(window.clockRunning());
    press(window, 'N', false, true);
    CHECK((textOf(window.timeLabel()) == L"0" && !window.clockRunning()));
}

TEST_CASE("clicks faster than a second never stall the clock")
{
    Win32Window& window = shown();
    window.apply(window.session().menu(1002)); // New Game
    for (int k = 1; k <= SquareCount; ++k)
        paintSquare(window, static_cast<SquareIndex>(k), Green); // one square clicked back and forth never wins
    // The real timer is what is tested: its ticks must land between clicks 200 ms apart.
    for (int click = 0; click < 16; ++click) {
        clickSquare(window, 13);
        for (ULONGLONG now = GetTickCount64(), until = now + 200; now < until; now = GetTickCount64()) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(until - now), QS_ALLINPUT);
            settle();
        }
    }
    // Restarted by every click, the count would still read 0.
    CHECK(std::wcstol(textOf(window.timeLabel()).c_str(), nullptr, 10) >= 2);
}

// Whether the label's text fits its box in the font.
bool fits(HDC dc, HFONT font, HWND label)
{
    const std::wstring text = textOf(label);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    RECT box;
    GetClientRect(label, &box);
    return size.cx <= box.right;
}

TEST_CASE("labels draw in one crisp yellow, the two small ones in one font of at most 8 pt")
{
    Win32Window& window = shown();
    window.apply(window.session().menu(1002)); // New Game
    settle();
    HWND hwnd = window.hwnd();
    const int eightPoints = MulDiv(8, static_cast<int>(window.dpi()), 72);
    struct {
        std::string name;
        HWND control;
        LOGFONTW font;
    } labels[] {{"lblWasted", GetDlgItem(window.hwnd(), window::control("lblWasted").id), {}}, {"lblSeconds", GetDlgItem(window.hwnd(), window::control("lblSeconds").id), {}},
                {"lblTime", window.timeLabel(), {}}};
    // Every pixel of a label is the black window or pure yellow; the banner and the squares overlap
    // the labels' boxes by a row, and those rows are theirs.
    std::vector<RECT> others {clientRectOf(hwnd, window.titleImage())};
    for (int k = 1; k <= SquareCount; ++k)
        others.push_back(clientRectOf(hwnd, window.square(static_cast<SquareIndex>(k))));
    HDC dc = GetDC(hwnd);
    for (auto& label : labels) {
        const auto font = reinterpret_cast<HFONT>(SendMessageW(label.control, WM_GETFONT, 0, 0));
        GetObjectW(font, sizeof label.font, &label.font);
        CHECK_WHAT(label.font.lfCharSet == ANSI_CHARSET && label.font.lfQuality == NONANTIALIASED_QUALITY,
                   label.name + " asks for another character set or smoothed text");
        CHECK_WHAT(fits(dc, font, label.control), label.name + " is cut off");
        const RECT box = clientRectOf(hwnd, label.control);
        int yellow = 0, other = 0;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x)
                if (std::none_of(others.begin(), others.end(), [&](const RECT& r) { return PtInRect(&r, {x, y}); })) {
                    const COLORREF color = GetPixel(dc, x, y);
                    yellow += color == RGB(255, 255, 0);
                    other += color != RGB(255, 255, 0) && color != RGB(0, 0, 0);
                }
        CHECK_WHAT(yellow > 0 && other == 0,
                   label.name + ": " + std::to_string(yellow) + " yellow pixels, " + std::to_string(other) + " others");
    }
    CHECK(labels[0].font.lfHeight == labels[1].font.lfHeight);
    CHECK(-labels[0].font.lfHeight <= eightPoints);
    // The largest that fits: a pixel taller passes 8 pt or cuts one of the two off, in the face this system gives.
    LOGFONTW taller = labels[0].font;
    --taller.lfHeight;
    HFONT larger = CreateFontIndirectW(&taller);
    const bool bothFit = fits(dc, larger, labels[0].control) && fits(dc, larger, labels[1].control);
    DeleteObject(larger);
    ReleaseDC(hwnd, dc);
    CHECK((!bothFit || -taller.lfHeight > eightPoints));
}

TEST_CASE("message boxes are owned, plain, exact and open over the board")
{
    Win32Window& window = shown();
    watched = &window;
    HHOOK hook = SetWindowsHookExW(WH_CBT, watchBoxes, nullptr, GetCurrentThreadId());
    window.apply(window.session().menu(1002)); // New Game
    clickSquare(window, 1);
    press(window, 'I', false, true);
    // Help › About as the menu sends it: the item's own id from the window's menu bar.
    HMENU help = GetSubMenu(GetMenu(window.hwnd()), 1);
    SendMessageW(window.hwnd(), WM_COMMAND, MAKEWPARAM(GetMenuItemID(help, GetMenuItemCount(help) - 1), 0), 0);
    CHECK(window.clockRunning());

    // One click from a win: only the plus around square 13 is green. Dealt first, so no real tick lands on the count.
    window.apply(window.session().menu(1002)); // New Game
    for (int k = 1; k <= SquareCount; ++k)
        paintSquare(window, static_cast<SquareIndex>(k), neighbourhood(13).count(k) ? Green : Red);
    clickSquare(window, 1); // twice: the clock runs, the board is as it was
    clickSquare(window, 1);
    window.apply(window.session().tick());
    // The winning click by the pointer: its press passes through the message loop first.
    MSG pointerPress {window.square(13), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5), WinningPress, {}};
    window.preTranslate(pointerPress);
    clickSquare(window, 13);
    UnhookWindowsHookEx(hook);

    RECT time, first, last, board;
    GetWindowRect(window.timeLabel(), &time);
    GetWindowRect(window.square(1), &first);
    GetWindowRect(window.square(SquareCount), &last);
    UnionRect(&board, &first, &last);
    MONITORINFO monitor {sizeof monitor, {}, {}, 0};
    GetMonitorInfoW(MonitorFromWindow(window.hwnd(), MONITOR_DEFAULTTONEAREST), &monitor);

    const std::vector<std::pair<std::wstring, std::wstring>> expected {
        {L"Instructions", wide(texts::Instructions)},
        {L"About Zarquel", wide(texts::About)},
        {L"Zarquel", wide(texts::WinMessage)},
    };
    REQUIRE(seenBoxes.size() == expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const SeenBox& seen = seenBoxes[i];
        const std::string which = "message box " + std::to_string(i);
        CHECK_WHAT(seen.title == expected[i].first && seen.text == expected[i].second, which + " title or text");
        CHECK_WHAT(seen.owner == window.hwnd() && seen.buttons == 1 && !seen.icon, which + " owner, buttons or icon");
        // Instructions and About leave the clock running; the win stops it first.
        CHECK_WHAT(seen.clockRunning == (i < 2), which + " clock");
        // Only the box a pointer press opened ignores the rest of its double click.
        CHECK_WHAT(seen.guarded == (i == 2), which + " guard");
        // Over the board, below the title bar and the label row, whole on the screen.
        RECT overlap, whole;
        CHECK_WHAT(seen.visible && seen.frame.top >= time.bottom && IntersectRect(&overlap, &seen.frame, &board) &&
                       UnionRect(&whole, &monitor.rcWork, &seen.frame) && EqualRect(&whole, &monitor.rcWork),
                   which + " is not over the board, clear of the label row, whole on the screen");
    }
    // The win box is centred on the board below the label row, and the final time shows beside it.
    // (Unless that would leave the screen: a window at the screen's edge pushes the box inward.)
    const RECT& frame = seenBoxes[2].frame;
    const LONG below = std::max(board.top, time.bottom);
    const bool room = board.left + board.right - (frame.right - frame.left) >= 2 * monitor.rcWork.left;
    CHECK_WHAT((!room || std::abs(frame.left + frame.right - board.left - board.right) <= 2) &&
                   std::abs(frame.top + frame.bottom - below - board.bottom) <= 2,
               "the win box is not centred on the board below the labels: " + std::to_string(frame.left) + "," +
                   std::to_string(frame.top) + " " + std::to_string(board.left) + "," + std::to_string(below));
    CHECK(std::string(seenBoxes[2].time.begin(), seenBoxes[2].time.end()) == "1");
    // After the win: a fresh board, "0", the clock stopped.
    CHECK((textOf(window.timeLabel()) == L"0" && !window.clockRunning()));
    CHECK(greenSquares(window) != std::set<int> {});

    // A window hanging off the bottom of the work area: the box still opens whole on it.
    RECT outer;
    GetWindowRect(window.hwnd(), &outer);
    SetWindowPos(window.hwnd(), nullptr, outer.left, monitor.rcWork.bottom - (outer.bottom - outer.top) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    hook = SetWindowsHookExW(WH_CBT, watchBoxes, nullptr, GetCurrentThreadId());
    press(window, 'A', false, true);
    UnhookWindowsHookEx(hook);
    SetWindowPos(window.hwnd(), nullptr, outer.left, outer.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT whole;
    REQUIRE(seenBoxes.size() == 4);
    CHECK_WHAT(UnionRect(&whole, &monitor.rcWork, &seenBoxes[3].frame) && EqualRect(&whole, &monitor.rcWork),
               "the box of a window hanging off the screen's bottom is not whole on the screen");
}

TEST_CASE("Exit ends with status 0")
{
    Win32Window& window = shown();
    CHECK(quitStatus == -1);
    press(window, 'X', false, true);
    CHECK(quitStatus == 0);
    CHECK(window.hwnd() == nullptr);
}

TEST_CASE("closing ends with status 0, and the window's icons go with it")
{
    std::vector<HICON> icons;
    {
        Win32Window window(GetModuleHandleW(nullptr));
        window.show(SW_SHOWNORMAL);
        settle();
        for (WPARAM which : {ICON_BIG, ICON_SMALL})
            icons.push_back(reinterpret_cast<HICON>(SendMessageW(window.hwnd(), WM_GETICON, which, 0)));
        quitStatus = -1;
        SendMessageW(window.hwnd(), WM_CLOSE, 0, 0);
        settle();
        CHECK((quitStatus == 0 && window.hwnd() == nullptr));
    }
    for (HICON icon : icons) {
        ICONINFO info {};
        CHECK_WHAT(icon && !GetIconInfo(icon, &info), "an icon the window loaded outlives it");
    }
}

} // namespace
