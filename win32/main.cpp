// Starts Zarquel on Windows: one window, no options.
#include "frmzarquel.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    frmZarquel window(instance);
    window.show(show);
    return window.run();
}
