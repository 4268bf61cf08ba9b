// The page's BoardView: every change the game makes goes to the DOM through page.js.
#include "frmzarquel.h"

#include "page.h"
#include "texts.h"

#include <string>

using namespace zarquel;
using zarquel::web::Command;

namespace {

std::string text(std::string_view view)
{
    return std::string(view);
}

// What a screen reader says of a square's colour.
const char* colorName(SquareColor color)
{
    return color == Red ? "Red" : color == Green ? "Green" : "Other";
}

} // namespace

frmZarquel::frmZarquel()
{
    // The design-time board is all red; the first deal repaints every square.
    cmdSquare_.fill(Red);
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
    if (!takesInput() || !isSquareIndex(index))
        return;
    game_.SquareClick(index);
    // Every click starts the clock, so a stopped one means a win dealt a fresh board.
    lastClicked_ = static_cast<SquareIndex>(clockRunning_ ? index : 1);
}

void frmZarquel::keyDown(const web::KeyPress& press, int focus)
{
    if (ended_)
        return;
    const web::KeyOutcome outcome = web::keyOutcome(press, focus, lastClicked_);
    if (messageOpen_) {
        // The box has the keyboard and the game takes nothing, but the browser must not
        // print or open a window over it either. Escape is the box's own.
        if (outcome.command != Command::None && press.code != web::key::Escape)
            jsConsumeKey();
        return;
    }
    // Consumed first: a command may wait on a message box, and the browser must
    // not act on the key in the meantime.
    if (outcome.consumed)
        jsConsumeKey();
    if (outcome.focusSquare)
        jsFocus(outcome.focusSquare);
    if (outcome.focusSink)
        focusSink();
    run(outcome.command);
}

void frmZarquel::menuChosen(Command command)
{
    if (takesInput())
        run(command);
}

void frmZarquel::run(Command command)
{
    switch (command) {
    case Command::None:
        break;
    case Command::Pause:
        game_.PauseClock();
        break;
    case Command::NewGame:
        game_.Deal();
        lastClicked_ = 1; // a fresh board: Tab starts again at the first square
        break;
    case Command::Exit:
        // A page cannot end its process: the clock stops and the game takes no more input.
        disableClock();
        ended_ = true;
        jsEnd();
        break;
    case Command::Instructions:
        showMessage(text(texts::Instructions), text(texts::InstructionsTitle));
        break;
    case Command::About:
        showMessage(text(texts::About), text(texts::AboutTitle));
        break;
    case Command::OpenFileMenu:
        jsOpenMenu(1);
        break;
    case Command::OpenHelpMenu:
        jsOpenMenu(2);
        break;
    case Command::FocusMenuBar:
        jsOpenMenu(0);
        break;
    }
}

void frmZarquel::tmrTimeTick()
{
    // Ticks still count while an Instructions or About box is open; a win or
    // Exit has stopped the clock before any box.
    if (clockRunning_ && !ended_)
        game_.ClockTick();
}

SquareColor frmZarquel::squareColor(SquareIndex square) const
{
    return cmdSquare_.at(static_cast<std::size_t>(square - 1));
}

void frmZarquel::setSquareColor(SquareIndex square, SquareColor color)
{
    cmdSquare_.at(static_cast<std::size_t>(square - 1)) = color;
    jsPaintSquare(square, color, colorName(color));
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
    jsSetText("lblTime", text.c_str());
}

void frmZarquel::focusSink()
{
    jsFocus(0);
}

void frmZarquel::showMessage(const std::string& text, const std::string& title)
{
    messageOpen_ = true;
    jsShowMessage(text.c_str(), (title.empty() ? std::string(texts::AppTitle) : title).c_str());
    messageOpen_ = false;
}
