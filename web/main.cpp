// Starts the game on the page and takes the page's events: the only functions page.js calls.
#include "frmzarquel.h"

#include <emscripten.h>

namespace {

frmZarquel& form()
{
    static frmZarquel page;
    return page;
}

} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void zq_click(int index)
{
    form().squareClicked(index);
}

// Modifiers: 1 Ctrl, 2 Shift, 4 Alt. Focus: 0 the hidden focus button, 1..25 a square, -1 elsewhere.
EMSCRIPTEN_KEEPALIVE void zq_key(int code, int modifiers, int focus)
{
    form().keyDown({code, (modifiers & 1) != 0, (modifiers & 2) != 0, (modifiers & 4) != 0}, focus);
}

EMSCRIPTEN_KEEPALIVE void zq_menu(int command)
{
    if (command >= int(zarquel::web::Command::Pause) && command <= int(zarquel::web::Command::About))
        form().menuChosen(static_cast<zarquel::web::Command>(command));
}

EMSCRIPTEN_KEEPALIVE void zq_tick()
{
    form().tmrTimeTick();
}

EMSCRIPTEN_KEEPALIVE int zq_clock_running()
{
    return form().clockRunning();
}

} // extern "C"

int main()
{
    form().load();
    return 0;
}
