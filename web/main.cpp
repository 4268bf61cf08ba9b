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
    using zarquel::window::Command;
    if (command >= int(Command::Pause) && command <= int(Command::About))
        form().menuChosen(static_cast<Command>(command));
}

EMSCRIPTEN_KEEPALIVE void zq_tick()
{
    form().tmrTimeTick();
}

EMSCRIPTEN_KEEPALIVE int zq_clock_running()
{
    return form().clockRunning();
}

// While a box is open: where it goes (jsMoveBox), and whether a pointer press on it counts.
EMSCRIPTEN_KEEPALIVE void zq_place_box(int width, int height, int boardLeft, int boardTop, int boardWidth,
                                       int boardHeight, int labelsBottom, int viewLeft, int viewTop, int viewWidth,
                                       int viewHeight)
{
    form().placeBox(width, height, {boardLeft, boardTop, boardWidth, boardHeight}, labelsBottom,
                    {viewLeft, viewTop, viewWidth, viewHeight});
}

EMSCRIPTEN_KEEPALIVE int zq_box_takes_press()
{
    return form().boxTakesPress();
}

} // extern "C"

int main()
{
    form().load();
    return 0;
}
