// Builds the window from the shared layout and menus, and turns Windows' messages into the window's input.
#include "frmzarquel.h"

#include "layout.h"
#include "messagebox.h"
#include "names.h"
#include "squareaccessible.h"
#include "texts.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <string_view>
#include <tuple>

using namespace zarquel;
using namespace zarquel::window;

namespace {

constexpr wchar_t ClassName[] = L"frmZarquel";
constexpr UINT_PTR TimerId = 1;
constexpr DWORD Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD ExStyle = 0;
constexpr COLORREF White = RGB(255, 255, 255);

// Control ids: squares are SquareBase + index (101..125) and menu items CommandBase + their
// command, so the index or the command comes back with every click.
enum : int {
    IdTakeFocus = 100,
    SquareBase = 100,
    CommandBase = 1000,
};

HBRUSH background()
{
    static const HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(layout::Background));
    return brush;
}

std::wstring w(std::string_view text)
{
    if (text.empty())
        return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

// A call user32 has from Windows 10 on, or nullptr on an older system.
template <typename Function>
Function fromWindows10(const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

int systemDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// Per-monitor DPI calls exist from Windows 10 on; older systems get the system density.
UINT windowDpi(HWND hwnd)
{
    static const auto getDpi = fromWindows10<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    return getDpi ? getDpi(hwnd) : static_cast<UINT>(systemDpi());
}

void adjustWindowRect(RECT& rect, UINT dpi)
{
    static const auto adjust = fromWindows10<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    adjust ? adjust(&rect, Style, TRUE, ExStyle, dpi) : AdjustWindowRectEx(&rect, Style, TRUE, ExStyle);
}

// Older systems give sizes for the system density only; they are scaled to the window's.
int metricForDpi(int metric, UINT dpi)
{
    static const auto getMetric = fromWindows10<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
    return getMetric ? getMetric(metric, dpi) : MulDiv(GetSystemMetrics(metric), static_cast<int>(dpi), systemDpi());
}

// The message box being opened on this thread: where it goes, the hook that finds it, and
// the guard that keeps the rest of a double click off its OK.
struct OpenBox {
    Rect board;
    int labelsBottom;
    HHOOK hook;
    WNDPROC boxProc;
    WNDPROC okProc;
    PressGuard guard;
};
thread_local OpenBox opening {};

Rect rect(const RECT& r)
{
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void placeBox(HWND box)
{
    RECT frame;
    GetWindowRect(box, &frame);
    MONITORINFO monitor {};
    monitor.cbSize = sizeof monitor;
    const RECT board {opening.board.left, opening.board.top, opening.board.right(), opening.board.bottom()};
    // Without the monitor's bounds the box goes over the board whatever the screen.
    const Rect room = GetMonitorInfoW(MonitorFromRect(&board, MONITOR_DEFAULTTONEAREST), &monitor)
                          ? rect(monitor.rcWork)
                          : Rect {-32768, -32768, 65536, 65536};
    const Rect at = placeMessageBox(frame.right - frame.left, frame.bottom - frame.top, opening.board,
                                    opening.labelsBottom, room);
    SetWindowPos(box, nullptr, at.left, at.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK okProc(HWND ok, UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) && !opening.guard.takesPress(GetTickCount64()))
        return 0;
    return CallWindowProcW(opening.okProc, ok, message, wParam, lParam);
}

// The box sizes and centres itself while it initialises, still hidden; it is moved right after.
LRESULT CALLBACK boxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam)
{
    const WNDPROC own = opening.boxProc;
    const LRESULT result = CallWindowProcW(own, box, message, wParam, lParam);
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
        placeBox(box);
        opening.guard = PressGuard(static_cast<int>(GetDoubleClickTime()));
        opening.guard.boxShown(GetTickCount64());
        if (HWND ok = GetDlgItem(box, IDOK))
            opening.okProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(ok, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(okProc)));
    }
    return result;
}

LRESULT CALLBACK watchForBox(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && !opening.boxProc) {
        HWND created = reinterpret_cast<HWND>(wParam);
        wchar_t kind[8] {};
        GetClassNameW(created, kind, static_cast<int>(std::size(kind)));
        if (lstrcmpW(kind, L"#32770") == 0)
            opening.boxProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(created, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(boxProc)));
    }
    return CallNextHookEx(opening.hook, code, wParam, lParam);
}

} // namespace

frmZarquel::frmZarquel(HINSTANCE instance) : Form(Host::Desktop), instance_(instance)
{
    WNDCLASSEXW windowClass {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hbrBackground = background();
    windowClass.lpszClassName = ClassName;
    RegisterClassExW(&windowClass);

    const std::wstring caption = w(texts::AppTitle);
    hwnd_ = CreateWindowExW(ExStyle, ClassName, caption.c_str(), Style, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
    // Controls are made in place for the screen's density, which saves moving them all at start.
    dpi_ = windowDpi(hwnd_);
    buildBoard();
    buildMenus();
    layout(dpi_, nullptr);

    // Dealt before the window is first shown, so the all-red design board never appears.
    game().Deal();
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
}

void frmZarquel::buildBoard()
{
    const auto child = [this](const wchar_t* kind, std::string_view text, DWORD style, int id, const Rect& twips) {
        const Rect at = pixels(twips, static_cast<int>(dpi_));
        return CreateWindowExW(0, kind, w(text).c_str(), WS_CHILD | WS_VISIBLE | style, at.left, at.top, at.width,
                               at.height, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    };
    cmdTakeFocus = child(L"BUTTON", texts::TakeFocus, WS_TABSTOP | BS_PUSHBUTTON, IdTakeFocus, layout::cmdTakeFocus);
    lblWasted = child(L"STATIC", texts::Wasted, SS_LEFTNOWORDWRAP | SS_NOPREFIX, -1, layout::lblWasted);
    lblSeconds = child(L"STATIC", texts::Seconds, SS_LEFTNOWORDWRAP | SS_NOPREFIX, -1, layout::lblSeconds);
    lblTime = child(L"STATIC", "0", SS_CENTER | SS_NOPREFIX, -1, layout::lblTime);
    // Its text is what a screen reader says; the picture is drawn by hand.
    imgTitle = child(L"STATIC", names::imgTitle, SS_OWNERDRAW, -1, layout::imgTitle);
    for (SquareIndex index = 1; index <= SquareCount; ++index) {
        // The window text names the square for screen readers; owner drawing never paints it.
        HWND square = child(L"BUTTON", texts::squareName(index), WS_TABSTOP | BS_OWNERDRAW, SquareBase + index,
                            layout::cmdSquare(index));
        buttonProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(square, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(squareProc)));
        cmdSquare[static_cast<std::size_t>(index - 1)] = square;
    }
}

void frmZarquel::buildMenus()
{
    HMENU bar = CreateMenu();
    for (const Menu& menu : MenuBar) {
        HMENU popup = CreatePopupMenu();
        for (const MenuItem& item : menu.items) {
            const std::string keys = shortcutText(item.command, Host::Desktop);
            const std::wstring text = w(item.caption) + (keys.empty() ? L"" : L"\t" + w(keys));
            AppendMenuW(popup, item.caption.empty() ? MF_SEPARATOR : MF_STRING,
                        CommandBase + static_cast<int>(item.command), text.c_str());
        }
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), w(menu.caption).c_str());
    }
    SetMenu(hwnd_, bar);
}

void frmZarquel::layout(UINT dpi, const RECT* suggested)
{
    if (dpi != dpi_) {
        dpi_ = dpi;
        const auto place = [this](HWND control, const Rect& twips) {
            const Rect at = pixels(twips, static_cast<int>(dpi_));
            MoveWindow(control, at.left, at.top, at.width, at.height, TRUE);
        };
        for (const auto& [control, twips] : {std::pair {cmdTakeFocus, layout::cmdTakeFocus}, {lblWasted, layout::lblWasted},
                                             {lblSeconds, layout::lblSeconds}, {lblTime, layout::lblTime},
                                             {imgTitle, layout::imgTitle}})
            place(control, twips);
        for (SquareIndex index = 1; index <= SquareCount; ++index)
            place(square(index), layout::cmdSquare(index));
    }

    fitLabels({lblWasted, lblSeconds}, smallFont_, layout::LabelPoints);
    fitLabels({lblTime}, timeFont_, layout::TimePoints);
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

    const Rect client = pixels(layout::ClientArea, static_cast<int>(dpi));
    RECT frame {0, 0, client.width, client.height};
    adjustWindowRect(frame, dpi);
    const int x = suggested ? suggested->left : CW_USEDEFAULT;
    const int y = suggested ? suggested->top : CW_USEDEFAULT;
    SetWindowPos(hwnd_, nullptr, x, y, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | (suggested ? 0 : SWP_NOMOVE));
    // A menu bar that wraps or a frame Windows draws differently still leaves the designed client area.
    RECT made;
    GetClientRect(hwnd_, &made);
    if (made.right != client.width || made.bottom != client.height) {
        RECT outer;
        GetWindowRect(hwnd_, &outer);
        SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left + client.width - made.right,
                     outer.bottom - outer.top + client.height - made.bottom, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
}

// "MS Sans Serif" at the designed size, or the largest below it at which every text fits its label;
// labels fitted together share one font, so one never comes out smaller than the other.
void frmZarquel::fitLabels(std::initializer_list<HWND> labels, HFONT& font, double points)
{
    HDC dc = GetDC(hwnd_);
    HFONT fitted = nullptr;
    // A pixel at a time: the finest step text has on this screen.
    const int dpi = static_cast<int>(dpi_);
    for (int height = static_cast<int>(points * dpi / 72 + 0.5); height >= MulDiv(4, dpi, 72); --height) {
        if (fitted)
            DeleteObject(fitted);
        // The designed face is a bitmap face, never smoothed: a substitute is drawn unsmoothed too.
        fitted = CreateFontW(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                             ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                             VARIABLE_PITCH | FF_SWISS, w(layout::Face).c_str());
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
    const bool keyDown = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    if (!hwnd_ || !keyDown || (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd)))
        return false;
    const KeyPress press {static_cast<int>(message.wParam), GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0,
                          GetKeyState(VK_MENU) < 0};
    const SquareIndex index = squareOf(message.hwnd);
    return key(press, message.hwnd == cmdTakeFocus ? FocusOnSink : index ? index : FocusElsewhere);
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

void frmZarquel::command(int id, int notification)
{
    if (id > SquareBase && id <= SquareBase + SquareCount) {
        // Owner-drawn buttons report the second click of a double click on its own.
        if (notification == BN_CLICKED || notification == BN_DOUBLECLICKED)
            click(static_cast<SquareIndex>(id - SquareBase));
    } else if (id > CommandBase && id <= CommandBase + static_cast<int>(Command::About)) {
        choose(static_cast<Command>(id - CommandBase));
    }
}

void frmZarquel::drawSquare(const DRAWITEMSTRUCT& item)
{
    const SquareIndex index = squareOf(item.hwndItem);
    // SquareColor is already a COLORREF: painted exactly as stored.
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(squareColor(index)));
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
    FillRect(item.hDC, &item.rcItem, background());
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
            if (const LRESULT object =
                    squareAccessibleObject(square, wParam, w(names::colorName(self->squareColor(index))).c_str()))
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
        if (wParam == TimerId)
            tick();
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
        SetTextColor(reinterpret_cast<HDC>(wParam), static_cast<COLORREF>(layout::LabelColor));
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
        disableClock();
        hwnd_ = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void frmZarquel::paintSquare(SquareIndex index, SquareColor)
{
    HWND control = square(index);
    InvalidateRect(control, nullptr, FALSE);
    // Screen readers ask again for the description when told it changed.
    NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}

void frmZarquel::runTimer(bool on)
{
    on ? SetTimer(hwnd_, TimerId, 1000, nullptr) : KillTimer(hwnd_, TimerId);
}

void frmZarquel::setTimeText(const std::string& text)
{
    SetWindowTextW(lblTime, w(text).c_str());
    // Long counts shrink rather than being cut off.
    fitLabels({lblTime}, timeFont_, layout::TimePoints);
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

void frmZarquel::openBox(const std::string& text, const std::string& title)
{
    RECT first, last, time;
    GetWindowRect(square(1), &first);
    GetWindowRect(square(SquareCount), &last);
    GetWindowRect(lblTime, &time);
    opening = {{first.left, first.top, last.right - first.left, last.bottom - first.top}, time.bottom, nullptr,
               nullptr, nullptr, PressGuard()};
    opening.hook = SetWindowsHookExW(WH_CBT, watchForBox, nullptr, GetCurrentThreadId());
    MessageBoxW(hwnd_, w(text).c_str(), w(title).c_str(), MB_OK);
    if (opening.hook)
        UnhookWindowsHookEx(opening.hook);
    opening = {};
}
