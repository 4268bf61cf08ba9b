// The floor for the Windows launch benchmark: a bare Win32 window with zarquel.exe's controls and no game.
#include <windows.h>

namespace {

LRESULT CALLBACK floorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    WNDCLASSEXW windowClass {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = floorProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = L"Floor";
    RegisterClassExW(&windowClass);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame {0, 0, 264, 394};
    AdjustWindowRectEx(&frame, style, TRUE, 0);
    HWND hwnd = CreateWindowExW(0, L"Floor", L"Floor", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);

    // The same menu bar: two menus, five items and a separator.
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, 1, L"&Pause Game\tCtrl+P");
    AppendMenuW(file, MF_STRING, 2, L"&New Game\tCtrl+N");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, 3, L"E&xit\tCtrl+X");
    HMENU help = CreatePopupMenu();
    AppendMenuW(help, MF_STRING, 4, L"&Instructions\tCtrl+I");
    AppendMenuW(help, MF_STRING, 5, L"&About Zarquel\tCtrl+A");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help");
    SetMenu(hwnd, bar);

    // The same controls: a focus button, three labels, a picture and 25 buttons, all plain.
    const auto child = [&](const wchar_t* kind, const wchar_t* text, DWORD flags, int x, int y, int w, int h) {
        CreateWindowExW(0, kind, text, WS_CHILD | WS_VISIBLE | flags, x, y, w, h, hwnd, nullptr, instance, nullptr);
    };
    child(L"BUTTON", L"For Focus", WS_TABSTOP, 280, 184, 81, 33);
    child(L"STATIC", L"You've wasted this much time:", 0, 16, 133, 145, 17);
    child(L"STATIC", L"seconds", 0, 208, 133, 43, 17);
    child(L"STATIC", L"0", SS_CENTER, 161, 128, 41, 25);
    child(L"STATIC", L"", SS_BLACKRECT, 50, 5, 162, 124);
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 5; ++column)
            child(L"BUTTON", L"", WS_TABSTOP, 16 + 48 * column, 152 + 48 * row, 41, 41);

    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
