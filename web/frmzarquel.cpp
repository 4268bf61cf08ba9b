// The page's window: every change the game makes goes to the DOM through page.js (Module.page), by EM_JS, no eval.
#include "frmzarquel.h"

#include "names.h"

#include <emscripten.h>

using namespace zarquel;
using namespace zarquel::window;

namespace {

// CSS pixels kept clear between a box and the viewport's edges.
constexpr int Margin = 4;

std::int64_t nowMs()
{
    return static_cast<std::int64_t>(emscripten_get_now());
}

EM_JS(void, jsShowTime, (const char* text), { Module.page.time(UTF8ToString(text)); });
// color is 0x00BBGGRR; name is what a screen reader says of it.
EM_JS(void, jsPaintSquare, (int index, int color, const char* name), {
    Module.page.paint(index, color, UTF8ToString(name));
});
EM_JS(void, jsSetClock, (int running), { Module.page.clock(running); });
// 0 the hidden focus button, 1..25 a square.
EM_JS(void, jsFocus, (int square), { Module.page.focus(square); });
EM_JS(void, jsConsumeKey, (), { Module.page.consume(); });
EM_JS(void, jsEnd, (), { Module.page.end(); });
EM_JS(void, jsReady, (), { Module.page.ready(); });
EM_JS(void, jsMoveBox, (int left, int top), { Module.page.moveBox(left, top); });
// The one call that waits: the C++ stack sleeps (Asyncify) until the box's OK.
EM_ASYNC_JS(void, jsShowMessage, (const char* text, const char* title), {
    await Module.page.message(UTF8ToString(text), UTF8ToString(title));
});

} // namespace

void frmZarquel::load()
{
    // The page's texts are in its markup already (pagemarkup.cpp, at build time).
    // Dealt before the page says it is ready, so the all-red design board is never played.
    game().Deal();
    jsReady();
}

void frmZarquel::squareClicked(int index)
{
    if (takesInput() && isSquareIndex(index))
        click(static_cast<SquareIndex>(index));
}

void frmZarquel::keyDown(const KeyPress& press, int focus)
{
    if (takesInput())
        key(press, focus);
    // The box has the keyboard and the game takes nothing, but the browser must not print or
    // open a window over it either. Escape is the box's own.
    else if (!ended_ && press.code != key::Escape &&
             keyOutcome(press, focus, lastPlayed(), Host::Page).command != Command::None)
        jsConsumeKey();
}

void frmZarquel::menuChosen(Command command)
{
    if (takesInput())
        choose(command);
}

void frmZarquel::tmrTimeTick()
{
    // Ticks still count while an Instructions or About box is open; a win or
    // Exit has stopped the clock before any box.
    if (!ended_)
        tick();
}

void frmZarquel::placeBox(int width, int height, const Rect& board, int labelsBottom, const Rect& view)
{
    const Rect room {view.left + Margin, view.top + Margin, view.width - 2 * Margin, view.height - 2 * Margin};
    const Rect at = placeMessageBox(width, height, board, labelsBottom, room);
    jsMoveBox(at.left, at.top);
}

bool frmZarquel::boxTakesPress() const
{
    return guard_.takesPress(nowMs());
}

void frmZarquel::paintSquare(SquareIndex square, SquareColor color)
{
    jsPaintSquare(square, color, names::colorName(color).c_str());
}

void frmZarquel::runTimer(bool on)
{
    jsSetClock(on);
}

void frmZarquel::setTimeText(const std::string& text)
{
    jsShowTime(text.c_str());
}

void frmZarquel::focusSink()
{
    jsFocus(0);
}

void frmZarquel::focusSquare(SquareIndex square)
{
    jsFocus(square);
}

void frmZarquel::takeKey()
{
    jsConsumeKey();
}

void frmZarquel::exitGame()
{
    // A page cannot end its process: the clock stops and the game takes no more input.
    disableClock();
    ended_ = true;
    jsEnd();
}

void frmZarquel::openBox(const std::string& text, const std::string& title)
{
    messageOpen_ = true;
    guard_.boxShown(nowMs());
    jsShowMessage(text.c_str(), title.c_str());
    messageOpen_ = false;
}
