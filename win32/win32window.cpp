// Builds the window from the shared table of controls and menus, hands Windows' messages to the session and shows its replies.
#include "win32window.h"

#include "accessible.h"
#include "controls.h"
#include "menus.h"
#include "texts.h"

#include <algorithm>
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

// The message box being opened on this thread: the window that opens it, the hook that finds it,
// and the procedures it and its OK had.
struct OpenBox {
    Win32Window* window;
    HHOOK hook;
    WNDPROC boxProc;
    WNDPROC okProc;
};
thread_local OpenBox opening {};

BOOL CALLBACK addWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas)
{
    MONITORINFO info {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) {
        const RECT& r = info.rcWork;
        reinterpret_cast<std::vector<Rect>*>(areas)->push_back({r.left, r.top, r.right - r.left, r.bottom - r.top});
    }
    return TRUE;
}

LRESULT CALLBACK okProc(HWND ok, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The press's own time, however late the box came up: the rest of a double click is ignored.
    if ((message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) &&
        !opening.window->session().boxTakesPress(static_cast<PressTime>(GetMessageTime())))
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
        RECT frame;
        GetWindowRect(box, &frame);
        POINT origin {0, 0};
        ClientToScreen(opening.window->hwnd(), &origin);
        std::vector<Rect> workAreas;
        EnumDisplayMonitors(nullptr, nullptr, addWorkArea, reinterpret_cast<LPARAM>(&workAreas));
        const Rect at = placeBox(frame.right - frame.left, frame.bottom - frame.top, origin.x, origin.y,
                                 opening.window->dpi(), workAreas);
        SetWindowPos(box, nullptr, at.left, at.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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

const Control* controlOf(HWND control)
{
    const int id = GetDlgCtrlID(control);
    for (const Control& c : controls())
        if (c.id == id)
            return &c;
    return nullptr;
}

std::wstring textOf(HWND control)
{
    wchar_t text[64] {};
    GetWindowTextW(control, text, static_cast<int>(std::size(text)));
    return text;
}

} // namespace

Win32Window::Win32Window(HINSTANCE instance)
    : session_(Host::Desktop, static_cast<int>(GetDoubleClickTime())), instance_(instance)
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
    buildControls();
    buildMenus();
    layout(dpi_, nullptr);
    apply(session_.start());
}

Win32Window::~Win32Window()
{
    if (hwnd_)
        DestroyWindow(hwnd_);
    for (HGDIOBJ object : {HGDIOBJ(smallFont_), HGDIOBJ(timeFont_), HGDIOBJ(bannerBitmap_)})
        if (object)
            DeleteObject(object);
    for (HICON icon : {bigIcon_, smallIcon_})
        if (icon)
            DestroyIcon(icon);
}

void Win32Window::buildControls()
{
    for (const Control& control : controls()) {
        const Rect at = pixels(control.twips, static_cast<int>(dpi_));
        // A square's window text names it for screen readers, as the image's does; owner drawing never paints it.
        const auto [kind, style, text] =
            control.kind == ControlKind::Square        ? std::tuple(L"BUTTON", WS_TABSTOP | BS_OWNERDRAW, control.accessibleName)
            : control.kind == ControlKind::FocusButton ? std::tuple(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, control.caption)
            : control.kind == ControlKind::Image       ? std::tuple(L"STATIC", SS_OWNERDRAW, control.accessibleName)
            : control.kind == ControlKind::Time        ? std::tuple(L"STATIC", SS_CENTER | SS_NOPREFIX, control.caption)
                                                       : std::tuple(L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, control.caption);
        HWND made = CreateWindowExW(0, kind, w(text).c_str(), WS_CHILD | WS_VISIBLE | style, at.left, at.top, at.width,
                                    at.height, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                    instance_, nullptr);
        // Every control answers a screen reader through controlProc, with the table's name and description.
        SetWindowLongPtrW(made, GWLP_USERDATA,
                          SetWindowLongPtrW(made, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProc)));
        if (control.kind == ControlKind::Square)
            squares_[static_cast<std::size_t>(control.index - 1)] = made;
        else if (control.kind == ControlKind::FocusButton)
            sink_ = made;
        else if (control.kind == ControlKind::Time)
            time_ = made;
        else if (control.kind == ControlKind::Image)
            banner_ = made;
        else
            labels_.push_back(made);
    }
}

void Win32Window::buildMenus()
{
    HMENU bar = CreateMenu();
    for (const Menu& menu : MenuBar) {
        HMENU popup = CreatePopupMenu();
        for (const MenuItem& item : menu.items) {
            const std::string keys = shortcutText(item.command, Host::Desktop);
            const std::wstring text = w(item.caption) + (keys.empty() ? L"" : L"\t" + w(keys));
            AppendMenuW(popup, item.caption.empty() ? MF_SEPARATOR : MF_STRING, static_cast<UINT_PTR>(item.id),
                        text.c_str());
        }
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), w(menu.caption).c_str());
    }
    SetMenu(hwnd_, bar);
}

void Win32Window::layout(UINT dpi, const RECT* suggested)
{
    if (dpi != dpi_) {
        dpi_ = dpi;
        for (const Control& control : controls()) {
            const Rect at = pixels(control.twips, static_cast<int>(dpi_));
            MoveWindow(GetDlgItem(hwnd_, control.id), at.left, at.top, at.width, at.height, TRUE);
        }
    }

    fitLabels(labels_, smallFont_, layout::LabelPoints);
    fitLabels({time_}, timeFont_, control("lblTime").points);

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

    if (bannerBitmap_)
        DeleteObject(bannerBitmap_);
    // Drawn twice over for dense screens rather than blurred up from the small one.
    bannerBitmap_ = static_cast<HBITMAP>(
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

// "MS Sans Serif" by the window's rule for fitting a label; labels fitted together share one font,
// so one never comes out smaller than the other. Windows cannot draw a static's letters closer.
void Win32Window::fitLabels(const std::vector<HWND>& labels, HFONT& font, double points)
{
    HDC dc = GetDC(hwnd_);
    HFONT fitted = nullptr;
    fitLabel(points, 0, [&](const Fit& fit) {
        if (fitted)
            DeleteObject(fitted);
        // The designed face is a bitmap face, never smoothed: a substitute is drawn unsmoothed too.
        fitted = CreateFontW(-static_cast<int>(fit.points * dpi_ / 72 + 0.5), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                             ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                             VARIABLE_PITCH | FF_SWISS, w(layout::Face).c_str());
        HGDIOBJ old = SelectObject(dc, fitted);
        const bool fits = std::all_of(labels.begin(), labels.end(), [dc](HWND label) {
            const std::wstring text = textOf(label);
            RECT box;
            GetClientRect(label, &box);
            SIZE size {};
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
            return size.cx <= box.right;
        });
        SelectObject(dc, old);
        return fits;
    });
    ReleaseDC(hwnd_, dc);
    for (HWND label : labels)
        SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(fitted), FALSE);
    if (font)
        DeleteObject(font);
    font = fitted;
}

void Win32Window::show(int how)
{
    ShowWindow(hwnd_, how);
    UpdateWindow(hwnd_);
    SetFocus(sink_);
}

int Win32Window::run()
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

bool Win32Window::preTranslate(MSG& message)
{
    if (!hwnd_ || (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd)))
        return false;
    const SquareIndex index = squareOf(message.hwnd);
    if (message.message == WM_LBUTTONDOWN || message.message == WM_LBUTTONDBLCLK) {
        pressedSquare_ = index ? message.hwnd : nullptr;
        pressedAt_ = static_cast<PressTime>(message.time);
    }
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN)
        return false;
    const KeyPress press {static_cast<int>(message.wParam), GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0,
                          GetKeyState(VK_MENU) < 0};
    const Focus focus = message.hwnd == sink_ ? Focus::sink() : index ? Focus::at(index) : Focus::elsewhere();
    const Reply reply = session_.key(press, focus);
    apply(reply);
    return reply.consumed;
}

SquareIndex Win32Window::squareOf(HWND control) const
{
    const auto at = std::find(squares_.begin(), squares_.end(), control);
    return at == squares_.end() || !control ? 0 : static_cast<SquareIndex>(at - squares_.begin() + 1);
}

void Win32Window::command(int id, int notification)
{
    if (const SquareIndex index = squareOf(GetDlgItem(hwnd_, id))) {
        // Owner-drawn buttons report the second click of a double click on its own.
        if (notification != BN_CLICKED && notification != BN_DOUBLECLICKED)
            return;
        // A click by the pointer carries its press; one by a screen reader's action, none.
        const bool pressed = pressedSquare_ == square(index);
        pressedSquare_ = nullptr;
        apply(session_.click(index, pressed ? std::optional(pressedAt_) : std::nullopt));
    } else if (commandOf(id) != Command::None) {
        apply(session_.menu(id));
    }
}

void Win32Window::drawSquare(const DRAWITEMSTRUCT& item)
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

void Win32Window::drawBanner(const DRAWITEMSTRUCT& item)
{
    FillRect(item.hDC, &item.rcItem, background());
    if (!bannerBitmap_)
        return;
    BITMAP size {};
    GetObjectW(bannerBitmap_, sizeof size, &size);
    HDC source = CreateCompatibleDC(item.hDC);
    HGDIOBJ old = SelectObject(source, bannerBitmap_);
    // White is the banner's transparent colour.
    GdiTransparentBlt(item.hDC, 0, 0, item.rcItem.right, item.rcItem.bottom, source, 0, 0, size.bmWidth,
                      size.bmHeight, White);
    SelectObject(source, old);
    DeleteDC(source);
}

// A control in all but what it tells a screen reader: the table's name where it is not the window
// text, and its description (a square's colour, the time's count, what the focus button is for).
LRESULT CALLBACK Win32Window::controlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto own = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_USERDATA));
    const Control* described = message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT ? controlOf(control) : nullptr;
    const auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(GetParent(control), GWLP_USERDATA));
    if (described && self) {
        const std::wstring text = textOf(control);
        const std::wstring name = w(described->accessibleName);
        const std::wstring description = described->kind == ControlKind::Square ? w(colorName(self->squareColor(described->index)))
                                         : described->kind == ControlKind::Time ? text
                                                                                : w(described->description);
        if (name != text || !description.empty())
            if (const LRESULT object = accessibleObject(control, wParam, name != text ? name.c_str() : nullptr,
                                                        description.c_str()))
                return object;
    }
    return CallWindowProcW(own, control, message, wParam, lParam);
}

LRESULT CALLBACK Win32Window::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->handle(message, wParam, lParam) : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Win32Window::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        command(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_TIMER:
        if (wParam == TimerId)
            apply(session_.tick());
        return 0;
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.hwndItem == banner_)
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
            SetFocus(savedFocus_ && IsChild(hwnd_, savedFocus_) ? savedFocus_ : sink_);
            return 0;
        }
        break;
    case WM_DPICHANGED:
        layout(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd_, TimerId);
        hwnd_ = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void Win32Window::focus(HWND control)
{
    keyboardSquare_ = squareOf(control) ? control : nullptr;
    SetFocus(control);
}

void Win32Window::apply(const Reply& reply)
{
    for (const Paint& paint : reply.paint) {
        HWND control = square(paint.square);
        InvalidateRect(control, nullptr, FALSE);
        // Screen readers ask again for the description when told it changed.
        NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, control, OBJID_CLIENT, CHILDID_SELF);
    }
    if (reply.time) {
        SetWindowTextW(time_, w(*reply.time).c_str());
        // Long counts shrink rather than being cut off.
        fitLabels({time_}, timeFont_, control("lblTime").points);
        // The label has no background, so the window wipes the old digits first.
        RECT area;
        GetWindowRect(time_, &area);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&area), 2);
        RedrawWindow(hwnd_, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, time_, OBJID_CLIENT, CHILDID_SELF);
    }
    if (reply.clock)
        *reply.clock ? SetTimer(hwnd_, TimerId, 1000, nullptr) : KillTimer(hwnd_, TimerId);
    if (reply.focus)
        focus(reply.focus->on == Focus::On::Square ? square(reply.focus->square) : sink_);
    if (reply.box) {
        openBox(*reply.box);
        apply(session_.boxClosed());
    }
    // Exit is the window's end, and the message loop's with it.
    if (reply.exit && hwnd_)
        DestroyWindow(hwnd_);
}

void Win32Window::openBox(const Box& box)
{
    opening = {this, SetWindowsHookExW(WH_CBT, watchForBox, nullptr, GetCurrentThreadId()), nullptr, nullptr};
    MessageBoxW(hwnd_, w(box.text).c_str(), w(box.title).c_str(), MB_OK);
    if (opening.hook)
        UnhookWindowsHookEx(opening.hook);
    opening = {};
}
