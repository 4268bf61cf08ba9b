// Starts Zarquel on Windows: one window, no options.
#include "win32window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    Win32Window window(instance);
    window.show(show);
    return window.run();
}
