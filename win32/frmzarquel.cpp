// Builds the window from its fixed layout and routes its events to the game.
#include "frmzarquel.h"

#include "squareaccessible.h"
#include "texts.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <string_view>
#include <tuple>

using namespace zarquel;

namespace {

constexpr wchar_t ClassName[] = L"frmZarquel";
constexpr UINT_PTR TimerId = 1;
constexpr DWORD Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD ExStyle = 0;
constexpr COLORREF Yellow = RGB(255, 255, 0);
constexpr COLORREF White = RGB(255, 255, 255);

// Control ids: squares are SquareBase + index (101..125), so the index comes back with every click.
enum : int {
    IdTakeFocus = 100,
    SquareBase = 100,
    IdPause = 1001,
    IdNewGame,
    IdExit,
    IdInstructions,
    IdAbout,
};

std::wstring w(std::string_view text)
{
    if (text.empty())
        return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

// The layout is designed in twips; 15 make a pixel at 96 dots per inch.
struct Place {
    int left, top, width, height;
};
constexpr Place px(int left, int top, int width, int height)
{
    return {left / 15, top / 15, width / 15, height / 15};
}
constexpr int ClientWidth = 3960 / 15;
constexpr int ClientHeight = 5910 / 15;
constexpr Place TakeFocusPlace = px(4200, 2760, 1215, 495);
constexpr Place WastedPlace = px(240, 1995, 2175, 255);
constexpr Place SecondsPlace = px(3120, 1995, 645, 255);
constexpr Place TimePlace = px(2415, 1920, 615, 375);
constexpr Place TitlePlace = px(750, 75, 2430, 1860);
constexpr Place squarePlace(int row, int column)
{
    return px(240 + 720 * column, 2280 + 720 * row, 615, 615);
}

// Per-monitor DPI calls exist from Windows 10 on; older systems get the system density.
UINT windowDpi(HWND hwnd)
{
    using GetDpi = UINT(WINAPI*)(HWND);
    static const auto getDpi = reinterpret_cast<GetDpi>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpi)
        return getDpi(hwnd);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

void adjustWindowRect(RECT& rect, UINT dpi)
{
    using Adjust = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjust = reinterpret_cast<Adjust>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    if (adjust)
        adjust(&rect, Style, TRUE, ExStyle, dpi);
    else
        AdjustWindowRectEx(&rect, Style, TRUE, ExStyle);
}

// Older systems give sizes for the system density only; they are scaled to the window's.
int metricForDpi(int metric, UINT dpi)
{
    using GetMetric = int(WINAPI*)(int, UINT);
    static const auto getMetric = reinterpret_cast<GetMetric>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
    if (getMetric)
        return getMetric(metric, dpi);
    HDC screen = GetDC(nullptr);
    const int systemDpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return MulDiv(GetSystemMetrics(metric), static_cast<int>(dpi), systemDpi);
}

// The message box being opened on this thread: the screen area it goes over, and the hook that finds it.
struct BoxPlacement {
    RECT over;
    HHOOK hook;
    WNDPROC boxProc;
};
thread_local BoxPlacement placing {};

// Centred over the area but never above its top, and whole on the screen the area is on.
void placeBox(HWND box, const RECT& over)
{
    RECT frame;
    GetWindowRect(box, &frame);
    const LONG width = frame.right - frame.left, height = frame.bottom - frame.top;
    LONG x = (over.left + over.right - width) / 2;
    LONG y = std::max((over.top + over.bottom - height) / 2, over.top);
    MONITORINFO monitor {};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromRect(&over, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& room = monitor.rcWork;
        x = std::clamp(x, room.left, std::max(room.left, room.right - width));
        y = std::clamp(y, room.top, std::max(room.top, room.bottom - height));
    }
    SetWindowPos(box, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The box sizes and centres itself while it initialises, still hidden; it is moved right after.
LRESULT CALLBACK boxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam)
{
    const WNDPROC own = placing.boxProc;
    const LRESULT result = CallWindowProcW(own, box, message, wParam, lParam);
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
        placeBox(box, placing.over);
    }
    return result;
}

LRESULT CALLBACK watchForBox(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && !placing.boxProc) {
        HWND created = reinterpret_cast<HWND>(wParam);
        wchar_t kind[8] {};
        GetClassNameW(created, kind, static_cast<int>(std::size(kind)));
        if (lstrcmpW(kind, L"#32770") == 0)
            placing.boxProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(created, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(boxProc)));
    }
    return CallNextHookEx(placing.hook, code, wParam, lParam);
}

const wchar_t* colorName(SquareColor color)
{
    return color == Red ? L"red" : color == Green ? L"green" : L"other";
}

} // namespace

frmZarquel::frmZarquel(HINSTANCE instance) : instance_(instance)
{
    colors_.fill(Red);
    WNDCLASSEXW windowClass {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = ClassName;
    RegisterClassExW(&windowClass);

    const std::wstring caption = w(texts::AppTitle);
    hwnd_ = CreateWindowExW(ExStyle, ClassName, caption.c_str(), Style, CW_USEDEFAULT, CW_USEDEFAULT,
                            ClientWidth, ClientHeight, nullptr, nullptr, instance, this);
    // Controls are made in place for the screen's density, which saves moving them all at start.
    dpi_ = windowDpi(hwnd_);
    buildBoard();
    buildActions();
    layout(dpi_, nullptr);

    // Dealt before the window is first shown, so the all-red design board never appears.
    game_.Deal();
}

frmZarquel::~frmZarquel()
{
    if (hwnd_)
        DestroyWindow(hwnd_);
    for (HGDIOBJ object : {HGDIOBJ(smallFont_), HGDIOBJ(timeFont_), HGDIOBJ(banner_)})
        if (object)
            DeleteObject(object);
    for (HICON icon : {bigIcon_, smallIcon_})
        if (icon)
            DestroyIcon(icon);
    if (accelerators_)
        DestroyAcceleratorTable(accelerators_);
}

void frmZarquel::buildBoard()
{
    const auto child = [this](const wchar_t* kind, std::string_view text, DWORD style, int id, const Place& at) {
        const std::wstring wide = w(text);
        return CreateWindowExW(0, kind, wide.c_str(), WS_CHILD | WS_VISIBLE | style, scaled(at.left),
                               scaled(at.top), scaled(at.width), scaled(at.height), hwnd_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    };
    // Beyond the right edge of the client area: never seen, yet it can hold the focus.
    cmdTakeFocus = child(L"BUTTON", texts::TakeFocus, WS_TABSTOP | BS_PUSHBUTTON, IdTakeFocus, TakeFocusPlace);
    lblWasted = child(L"STATIC", texts::Wasted, SS_LEFTNOWORDWRAP | SS_NOPREFIX, -1, WastedPlace);
    lblSeconds = child(L"STATIC", texts::Seconds, SS_LEFTNOWORDWRAP | SS_NOPREFIX, -1, SecondsPlace);
    lblTime = child(L"STATIC", "0", SS_CENTER | SS_NOPREFIX, -1, TimePlace);
    // Its text is what a screen reader says; the picture is drawn by hand.
    imgTitle = child(L"STATIC", texts::AppTitle, SS_OWNERDRAW, -1, TitlePlace);
    for (int index = 1; index <= SquareCount; ++index) {
        // The window text names the square for screen readers; owner drawing never paints it.
        const int row = (index - 1) / BoardSide, column = (index - 1) % BoardSide;
        HWND square = child(L"BUTTON", texts::squareName(index), WS_TABSTOP | BS_OWNERDRAW, SquareBase + index,
                            squarePlace(row, column));
        buttonProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(square, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(squareProc)));
        cmdSquare[static_cast<std::size_t>(index - 1)] = square;
    }
}

void frmZarquel::buildActions()
{
    // Every shortcut in one place: the accelerator table and the hint each menu item shows.
    const ACCEL shortcuts[] = {
        {FVIRTKEY | FCONTROL, 'P', IdPause},
        {FVIRTKEY | FCONTROL, 'N', IdNewGame},
        {FVIRTKEY | FCONTROL, 'X', IdExit},
        {FVIRTKEY | FCONTROL, 'I', IdInstructions},
        {FVIRTKEY | FCONTROL, 'A', IdAbout},
        // Escape pauses whatever Shift, Ctrl and Alt say.
        {FVIRTKEY, VK_ESCAPE, IdPause},
        {FVIRTKEY | FSHIFT, VK_ESCAPE, IdPause},
        {FVIRTKEY | FCONTROL, VK_ESCAPE, IdPause},
        {FVIRTKEY | FALT, VK_ESCAPE, IdPause},
        {FVIRTKEY | FSHIFT | FCONTROL, VK_ESCAPE, IdPause},
        {FVIRTKEY | FSHIFT | FALT, VK_ESCAPE, IdPause},
        {FVIRTKEY | FCONTROL | FALT, VK_ESCAPE, IdPause},
        {FVIRTKEY | FSHIFT | FCONTROL | FALT, VK_ESCAPE, IdPause},
    };
    const auto hint = [](std::string_view caption, std::string_view keys) {
        return w(caption) + L"\t" + w(keys);
    };
    accelerators_ = CreateAcceleratorTableW(const_cast<ACCEL*>(shortcuts), static_cast<int>(std::size(shortcuts)));

    HMENU mnuFile = CreatePopupMenu();
    AppendMenuW(mnuFile, MF_STRING, IdPause, hint(texts::MenuPause, "Ctrl+P").c_str());
    AppendMenuW(mnuFile, MF_STRING, IdNewGame, hint(texts::MenuNewGame, "Ctrl+N").c_str());
    AppendMenuW(mnuFile, MF_SEPARATOR, 0, nullptr); // mnuLine
    AppendMenuW(mnuFile, MF_STRING, IdExit, hint(texts::MenuExit, "Ctrl+X").c_str());
    HMENU mnuHelp = CreatePopupMenu();
    AppendMenuW(mnuHelp, MF_STRING, IdInstructions, hint(texts::MenuInstructions, "Ctrl+I").c_str());
    AppendMenuW(mnuHelp, MF_STRING, IdAbout, hint(texts::MenuAbout, "Ctrl+A").c_str());

    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(mnuFile), w(texts::MenuFile).c_str());
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(mnuHelp), w(texts::MenuHelp).c_str());
    SetMenu(hwnd_, bar);
}

void frmZarquel::layout(UINT dpi, const RECT* suggested)
{
    if (dpi != dpi_) {
        dpi_ = dpi;
        const auto place = [this](HWND control, const Place& at) {
            MoveWindow(control, scaled(at.left), scaled(at.top), scaled(at.width), scaled(at.height), TRUE);
        };
        place(cmdTakeFocus, TakeFocusPlace);
        place(lblWasted, WastedPlace);
        place(lblSeconds, SecondsPlace);
        place(lblTime, TimePlace);
        place(imgTitle, TitlePlace);
        for (int row = 0; row < BoardSide; ++row)
            for (int column = 0; column < BoardSide; ++column)
                place(square(squareAt(row, column)), squarePlace(row, column));
    }

    fitLabels({lblWasted, lblSeconds}, smallFont_, 80);
    fitLabels({lblTime}, timeFont_, 135);
    SendMessageW(cmdTakeFocus, WM_SETFONT, reinterpret_cast<WPARAM>(smallFont_), FALSE);

    // The icon drawn for the size this screen shows, rather than 32 pixels blown up.
    for (auto [which, metric, icon] : {std::tuple(ICON_BIG, SM_CXICON, &bigIcon_),
                                       std::tuple(ICON_SMALL, SM_CXSMICON, &smallIcon_)}) {
        const int size = metricForDpi(metric, dpi);
        HICON loaded = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0));
        SendMessageW(hwnd_, WM_SETICON, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(loaded));
        if (*icon)
            DestroyIcon(*icon);
        *icon = loaded;
    }

    if (banner_)
        DeleteObject(banner_);
    // Drawn twice over for dense screens rather than blurred up from the small one.
    banner_ = static_cast<HBITMAP>(
        LoadImageW(instance_, dpi > 96 ? L"BANNER2X" : L"BANNER", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));

    RECT frame {0, 0, scaled(ClientWidth), scaled(ClientHeight)};
    adjustWindowRect(frame, dpi);
    const int x = suggested ? suggested->left : CW_USEDEFAULT;
    const int y = suggested ? suggested->top : CW_USEDEFAULT;
    SetWindowPos(hwnd_, nullptr, x, y, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | (suggested ? 0 : SWP_NOMOVE));
    // A menu bar that wraps or a frame Windows draws differently still leaves the designed client area.
    RECT client;
    GetClientRect(hwnd_, &client);
    if (client.right != scaled(ClientWidth) || client.bottom != scaled(ClientHeight)) {
        RECT outer;
        GetWindowRect(hwnd_, &outer);
        SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left + scaled(ClientWidth) - client.right,
                     outer.bottom - outer.top + scaled(ClientHeight) - client.bottom,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
}

// "MS Sans Serif" at the designed size, or the largest below it at which every text fits its label;
// labels fitted together share one font, so one never comes out smaller than the other.
void frmZarquel::fitLabels(std::initializer_list<HWND> labels, HFONT& font, int tenthsOfPoint)
{
    HDC dc = GetDC(hwnd_);
    HFONT fitted = nullptr;
    // A pixel at a time: the finest step text has on this screen.
    const int dpi = static_cast<int>(dpi_);
    for (int height = MulDiv(tenthsOfPoint, dpi, 720); height >= MulDiv(40, dpi, 720); --height) {
        if (fitted)
            DeleteObject(fitted);
        // The designed face is a bitmap face, never smoothed: a substitute is drawn unsmoothed too.
        fitted = CreateFontW(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                             ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                             VARIABLE_PITCH | FF_SWISS, L"MS Sans Serif");
        HGDIOBJ old = SelectObject(dc, fitted);
        const bool fits = std::all_of(labels.begin(), labels.end(), [dc](HWND label) {
            wchar_t text[64] {};
            GetWindowTextW(label, text, static_cast<int>(std::size(text)));
            RECT box;
            GetClientRect(label, &box);
            SIZE size {};
            GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
            return size.cx <= box.right;
        });
        SelectObject(dc, old);
        if (fits)
            break;
    }
    ReleaseDC(hwnd_, dc);
    for (HWND label : labels)
        SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(fitted), FALSE);
    if (font)
        DeleteObject(font);
    font = fitted;
}

void frmZarquel::show(int how)
{
    ShowWindow(hwnd_, how);
    UpdateWindow(hwnd_);
    SetFocus(cmdTakeFocus);
}

int frmZarquel::run()
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (preTranslate(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

bool frmZarquel::preTranslate(MSG& message)
{
    if (!hwnd_ || (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd)))
        return false;
    if (TranslateAcceleratorW(hwnd_, accelerators_, &message))
        return true;
    return message.message == WM_KEYDOWN && keyDown(message.hwnd, message.wParam);
}

// Tab, Enter and the arrows play the board from the keyboard; nothing else is the window's.
bool frmZarquel::keyDown(HWND target, WPARAM key)
{
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0)
        return false;
    const SquareIndex index = squareOf(target);
    if (key == VK_TAB) {
        const bool back = GetKeyState(VK_SHIFT) < 0;
        if (target == cmdTakeFocus)
            focusSquare(lastClicked_); // either way, back to the square played last
        else if (index && (back ? index > 1 : index < SquareCount))
            focusSquare(static_cast<SquareIndex>(back ? index - 1 : index + 1));
        else
            focusSink();
        return true;
    }
    const bool arrow = key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
    if (arrow && target == cmdTakeFocus)
        return true; // the sink keeps the focus: only Tab leaves it
    if (arrow && index) {
        int row = (index - 1) / BoardSide, column = (index - 1) % BoardSide;
        row += key == VK_DOWN ? 1 : key == VK_UP ? -1 : 0;
        column += key == VK_RIGHT ? 1 : key == VK_LEFT ? -1 : 0;
        if (row >= 0 && row < BoardSide && column >= 0 && column < BoardSide)
            focusSquare(squareAt(row, column));
        return true;
    }
    if (key == VK_RETURN && index) {
        clickSquare(index);
        return true;
    }
    return false;
}

SquareIndex frmZarquel::squareOf(HWND control) const
{
    for (int index = 1; index <= SquareCount; ++index)
        if (square(static_cast<SquareIndex>(index)) == control)
            return static_cast<SquareIndex>(index);
    return 0;
}

void frmZarquel::focusSquare(SquareIndex index)
{
    keyboardSquare_ = square(index);
    SetFocus(keyboardSquare_);
}

void frmZarquel::clickSquare(SquareIndex index)
{
    game_.SquareClick(index);
    // A click always starts the clock; stopped afterwards means it won and a fresh board is dealt.
    lastClicked_ = clockRunning_ ? index : 1;
}

void frmZarquel::command(int id, int notification)
{
    if (id > SquareBase && id <= SquareBase + SquareCount) {
        // Owner-drawn buttons report the second click of a double click on its own.
        if (notification == BN_CLICKED || notification == BN_DOUBLECLICKED)
            clickSquare(static_cast<SquareIndex>(id - SquareBase));
        return;
    }
    switch (id) {
    case IdPause:
        game_.PauseClock();
        break;
    case IdNewGame:
        game_.Deal();
        lastClicked_ = 1;
        break;
    case IdExit:
        DestroyWindow(hwnd_);
        break;
    case IdInstructions:
        showMessage(std::string(texts::Instructions), std::string(texts::InstructionsTitle));
        break;
    case IdAbout:
        showMessage(std::string(texts::About), std::string(texts::AboutTitle));
        break;
    default:
        break;
    }
}

void frmZarquel::drawSquare(const DRAWITEMSTRUCT& item)
{
    const SquareIndex index = squareOf(item.hwndItem);
    // SquareColor is already a COLORREF: painted exactly as stored.
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(colors_.at(static_cast<std::size_t>(index - 1))));
    FillRect(item.hDC, &item.rcItem, brush);
    DeleteObject(brush);
    if ((item.itemState & ODS_FOCUS) && item.hwndItem == keyboardSquare_) {
        // Inside the edge, so the centre keeps its exact colour.
        RECT mark = item.rcItem;
        InflateRect(&mark, -scaled(4), -scaled(4));
        HPEN pen = CreatePen(PS_SOLID, scaled(2), RGB(0, 0, 0));
        HGDIOBJ oldPen = SelectObject(item.hDC, pen);
        HGDIOBJ oldBrush = SelectObject(item.hDC, GetStockObject(NULL_BRUSH));
        Rectangle(item.hDC, mark.left, mark.top, mark.right, mark.bottom);
        SelectObject(item.hDC, oldBrush);
        SelectObject(item.hDC, oldPen);
        DeleteObject(pen);
        InflateRect(&mark, -scaled(3), -scaled(3));
        DrawFocusRect(item.hDC, &mark);
    }
}

void frmZarquel::drawBanner(const DRAWITEMSTRUCT& item)
{
    FillRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (!banner_)
        return;
    BITMAP size {};
    GetObjectW(banner_, sizeof size, &size);
    HDC source = CreateCompatibleDC(item.hDC);
    HGDIOBJ old = SelectObject(source, banner_);
    // White is the banner's transparent colour.
    GdiTransparentBlt(item.hDC, 0, 0, item.rcItem.right, item.rcItem.bottom, source, 0, 0, size.bmWidth,
                      size.bmHeight, White);
    SelectObject(source, old);
    DeleteDC(source);
}

WNDPROC frmZarquel::buttonProc_ = nullptr;

// A button in all but what it tells a screen reader, which includes its colour.
LRESULT CALLBACK frmZarquel::squareProc(HWND square, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        const auto* self = reinterpret_cast<frmZarquel*>(GetWindowLongPtrW(GetParent(square), GWLP_USERDATA));
        if (const SquareIndex index = self ? self->squareOf(square) : 0)
            if (const LRESULT object = squareAccessibleObject(square, wParam, colorName(self->squareColor(index))))
                return object;
    }
    return CallWindowProcW(buttonProc_, square, message, wParam, lParam);
}

LRESULT CALLBACK frmZarquel::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<frmZarquel*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<frmZarquel*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->handle(message, wParam, lParam) : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT frmZarquel::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        command(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_TIMER:
        if (wParam == TimerId && clockRunning_)
            game_.ClockTick();
        return 0;
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.hwndItem == imgTitle)
            drawBanner(item);
        else
            drawSquare(item);
        return TRUE;
    }
    case WM_CTLCOLORSTATIC:
        // Yellow text straight on the black window: the labels have no background of their own.
        SetTextColor(reinterpret_cast<HDC>(wParam), Yellow);
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    case WM_ACTIVATE:
        // Coming back to the window gives the focus back where it was, the sink at first.
        if (LOWORD(wParam) == WA_INACTIVE) {
            savedFocus_ = GetFocus();
        } else {
            SetFocus(savedFocus_ && IsChild(hwnd_, savedFocus_) ? savedFocus_ : cmdTakeFocus);
            return 0;
        }
        break;
    case WM_DPICHANGED:
        layout(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd_, TimerId);
        clockRunning_ = false;
        hwnd_ = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

SquareColor frmZarquel::squareColor(SquareIndex square) const
{
    return colors_.at(static_cast<std::size_t>(square - 1));
}

void frmZarquel::setSquareColor(SquareIndex index, SquareColor color)
{
    colors_.at(static_cast<std::size_t>(index - 1)) = color;
    HWND control = square(index);
    InvalidateRect(control, nullptr, FALSE);
    // Screen readers ask again for the description when told it changed.
    NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}

void frmZarquel::enableClock()
{
    // SetTimer on a running timer would restart its second; leave it running.
    if (!clockRunning_)
        SetTimer(hwnd_, TimerId, 1000, nullptr);
    clockRunning_ = true;
}

void frmZarquel::disableClock()
{
    KillTimer(hwnd_, TimerId);
    clockRunning_ = false;
}

void frmZarquel::setTimeText(const std::string& text)
{
    SetWindowTextW(lblTime, w(text).c_str());
    // Long counts shrink rather than being cut off.
    fitLabels({lblTime}, timeFont_, 135);
    // The label has no background, so the window wipes the old digits first.
    RECT area;
    GetWindowRect(lblTime, &area);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&area), 2);
    RedrawWindow(hwnd_, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void frmZarquel::focusSink()
{
    keyboardSquare_ = nullptr;
    SetFocus(cmdTakeFocus);
}

void frmZarquel::showMessage(const std::string& text, const std::string& title)
{
    const std::wstring caption = w(title.empty() ? texts::AppTitle : std::string_view(title));
    // Over the board, below the label row: the title and the time (the final one, after a win) stay in view.
    RECT first, last, time;
    GetWindowRect(square(1), &first);
    GetWindowRect(square(SquareCount), &last);
    GetWindowRect(lblTime, &time);
    placing = {{first.left, std::max(first.top, time.bottom), last.right, last.bottom}, nullptr, nullptr};
    placing.hook = SetWindowsHookExW(WH_CBT, watchForBox, nullptr, GetCurrentThreadId());
    MessageBoxW(hwnd_, w(text).c_str(), caption.c_str(), MB_OK);
    if (placing.hook)
        UnhookWindowsHookEx(placing.hook);
    placing = {};
}
