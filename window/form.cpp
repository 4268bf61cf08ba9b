// Clicks, keys and menu commands carried out on the game; the board and the clock as the toolkit shows them.
#include "form.h"

#include "texts.h"

#include <string>

namespace zarquel::window {

Form::Form(Host host) : host_(host) {}

std::array<SquareColor, SquareCount> Form::filled(SquareColor color)
{
    std::array<SquareColor, SquareCount> colors {};
    colors.fill(color);
    return colors;
}

void Form::click(SquareIndex index)
{
    game_.SquareClick(index);
    // Every click starts the clock, so a stopped one means a win dealt a fresh board: the
    // keyboard starts again at the first square.
    lastPlayed_ = running_ ? index : 1;
}

bool Form::key(const KeyPress& press, int focus)
{
    const KeyOutcome outcome = keyOutcome(press, focus, lastPlayed_, host_);
    // First: a command may wait on a message box, and the toolkit must not act on the key meanwhile.
    if (outcome.consumed)
        takeKey();
    if (outcome.focusSquare)
        focusSquare(outcome.focusSquare);
    if (outcome.focusSink)
        focusSink();
    if (outcome.click)
        click(outcome.click);
    choose(outcome.command);
    return outcome.consumed;
}

void Form::choose(Command command)
{
    switch (command) {
    case Command::None:
        break;
    case Command::Pause:
        game_.PauseClock();
        break;
    case Command::NewGame:
        game_.Deal();
        lastPlayed_ = 1; // a fresh board: Tab starts again at the first square
        break;
    case Command::Exit:
        exitGame();
        break;
    case Command::Instructions:
        showMessage(std::string(texts::Instructions), std::string(texts::InstructionsTitle));
        break;
    case Command::About:
        showMessage(std::string(texts::About), std::string(texts::AboutTitle));
        break;
    }
}

void Form::tick()
{
    if (running_)
        game_.ClockTick();
}

SquareColor Form::squareColor(SquareIndex square) const
{
    return colors_.at(static_cast<std::size_t>(square - 1));
}

void Form::setSquareColor(SquareIndex square, SquareColor color)
{
    colors_.at(static_cast<std::size_t>(square - 1)) = color;
    paintSquare(square, color);
}

void Form::enableClock()
{
    if (!running_)
        runTimer(true);
    running_ = true;
}

void Form::disableClock()
{
    running_ = false;
    runTimer(false);
}

void Form::showMessage(const std::string& text, const std::string& title)
{
    openBox(text, title.empty() ? std::string(texts::AppTitle) : title);
}

} // namespace zarquel::window
