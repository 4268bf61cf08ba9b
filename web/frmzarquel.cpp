// The page's BoardView: every change the game makes goes to the DOM through page.js.
#include "frmzarquel.h"

#include "names.h"
#include "page.h"
#include "texts.h"

#include <emscripten.h>

#include <string>

using namespace zarquel;
using namespace zarquel::window;

namespace {

// CSS pixels kept clear between a box and the viewport's edges.
constexpr int Margin = 4;

} // namespace

frmZarquel::frmZarquel()
{
    // The design-time board is all red; the first deal repaints every square.
    colors_.fill(Red);
}

void frmZarquel::load()
{
    // The page's texts are in its markup already (pagemarkup.cpp, at build time).
    // Dealt before the page says it is ready, so the all-red design board is never played.
    game_.Deal();
    jsReady();
}

void frmZarquel::squareClicked(int index)
{
    if (takesInput() && isSquareIndex(index))
        input_.click(static_cast<SquareIndex>(index));
}

void frmZarquel::keyDown(const KeyPress& press, int focus)
{
    if (ended_)
        return;
    if (!messageOpen_) {
        input_.key(press, focus);
        return;
    }
    // The box has the keyboard and the game takes nothing, but the browser must not print or
    // open a window over it either. Escape is the box's own.
    if (keyOutcome(press, focus, input_.lastPlayed(), Host::Page).command != Command::None &&
        press.code != key::Escape)
        jsConsumeKey();
}

void frmZarquel::menuChosen(Command command)
{
    if (takesInput())
        input_.choose(command);
}

void frmZarquel::tmrTimeTick()
{
    // Ticks still count while an Instructions or About box is open; a win or
    // Exit has stopped the clock before any box.
    if (clockRunning_ && !ended_)
        game_.ClockTick();
}

void frmZarquel::placeBox(int width, int height, const Rect& board, int labelsBottom, int viewWidth, int viewHeight)
{
    const Rect view {Margin, Margin, viewWidth - 2 * Margin, viewHeight - 2 * Margin};
    const Rect at = placeMessageBox(width, height, board, labelsBottom, view);
    jsMoveBox(at.left, at.top);
}

bool frmZarquel::boxTakesPress() const
{
    return guard_.takesPress(static_cast<std::int64_t>(emscripten_get_now()));
}

SquareColor frmZarquel::squareColor(SquareIndex square) const
{
    return colors_.at(static_cast<std::size_t>(square - 1));
}

void frmZarquel::setSquareColor(SquareIndex square, SquareColor color)
{
    colors_.at(static_cast<std::size_t>(square - 1)) = color;
    jsPaintSquare(square, color, names::colorName(color).c_str());
}

void frmZarquel::enableClock()
{
    // A running interval is left alone, or its current second would start again.
    if (clockRunning_)
        return;
    clockRunning_ = true;
    jsSetClock(1);
}

void frmZarquel::disableClock()
{
    clockRunning_ = false;
    jsSetClock(0);
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

void frmZarquel::showMessage(const std::string& text, const std::string& title)
{
    messageOpen_ = true;
    guard_.boxShown(static_cast<std::int64_t>(emscripten_get_now()));
    jsShowMessage(text.c_str(), (title.empty() ? std::string(texts::AppTitle) : title).c_str());
    messageOpen_ = false;
}
