// Clicks, keys and menu commands carried out on the game and the toolkit.
#include "input.h"

#include <string>

namespace zarquel::window {

Input::Input(Game& game, BoardView& view, Controls& controls, Host host)
    : game_(game), view_(view), controls_(controls), host_(host)
{
}

void Input::click(SquareIndex index)
{
    game_.SquareClick(index);
    // Every click starts the clock, so a stopped one means a win dealt a fresh board: the
    // keyboard starts again at the first square.
    lastPlayed_ = controls_.clockRunning() ? index : 1;
}

bool Input::key(const KeyPress& press, int focus)
{
    const KeyOutcome outcome = keyOutcome(press, focus, lastPlayed_, host_);
    // First: a command may wait on a message box, and the toolkit must not act on the key meanwhile.
    if (outcome.consumed)
        controls_.takeKey();
    if (outcome.focusSquare)
        controls_.focusSquare(outcome.focusSquare);
    if (outcome.focusSink)
        view_.focusSink();
    if (outcome.click)
        click(outcome.click);
    choose(outcome.command);
    return outcome.consumed;
}

void Input::choose(Command command)
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
        controls_.exitGame();
        break;
    case Command::Instructions:
        view_.showMessage(std::string(texts::Instructions), std::string(texts::InstructionsTitle));
        break;
    case Command::About:
        view_.showMessage(std::string(texts::About), std::string(texts::AboutTitle));
        break;
    }
}

} // namespace zarquel::window
