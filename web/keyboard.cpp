// The page's keys, decided here rather than in the page's script so all three windows agree.
#include "keyboard.h"

#include "squares.h"

namespace zarquel::web {

namespace {

// Every shortcut in one block: the key with Ctrl, and what the menu shows beside the item.
// Chromium keeps Ctrl+N in a tab, so New Game also answers F2 (below).
constexpr struct {
    Command command;
    int ctrlKey;
    std::string_view shown;
} Shortcuts[] = {
    {Command::Pause, 'P', "Ctrl+P"},
    {Command::NewGame, 'N', "Ctrl+N, F2"},
    {Command::Exit, 'X', "Ctrl+X"},
    {Command::Instructions, 'I', "Ctrl+I"},
    {Command::About, 'A', "Ctrl+A"},
};

Command ctrlShortcut(int code)
{
    for (const auto& shortcut : Shortcuts)
        if (shortcut.ctrlKey == code)
            return shortcut.command;
    return Command::None;
}

bool isArrow(int code)
{
    return code == key::Left || code == key::Up || code == key::Right || code == key::Down;
}

// One step across the board; the edges stop the focus where it is.
int stepFrom(int square, int code)
{
    int row = (square - 1) / BoardSide;
    int column = (square - 1) % BoardSide;
    const int newRow = row + (code == key::Down) - (code == key::Up);
    const int newColumn = column + (code == key::Right) - (code == key::Left);
    if (newRow >= 0 && newRow < BoardSide && newColumn >= 0 && newColumn < BoardSide) {
        row = newRow;
        column = newColumn;
    }
    return squareAt(row, column);
}

KeyOutcome command(Command chosen)
{
    KeyOutcome outcome;
    outcome.command = chosen;
    outcome.consumed = true;
    return outcome;
}

} // namespace

KeyOutcome keyOutcome(const KeyPress& press, int focus, int lastPlayed)
{
    // Escape pauses whatever else is held, as on the desktop; from the menu bar it
    // also hands the keys back to the board.
    if (press.code == key::Escape) {
        KeyOutcome outcome = command(Command::Pause);
        outcome.focusSink = focus == FocusElsewhere;
        return outcome;
    }
    if (press.ctrl && !press.alt && !press.shift) {
        if (const Command chosen = ctrlShortcut(press.code); chosen != Command::None)
            return command(chosen);
        return {};
    }
    if (press.ctrl)
        return {};
    if (press.alt) {
        if (press.code == 'F')
            return command(Command::OpenFileMenu);
        if (press.code == 'H')
            return command(Command::OpenHelpMenu);
        return {};
    }
    if (press.code == key::F2 && !press.shift)
        return command(Command::NewGame);
    if (press.code == key::F10 && !press.shift)
        return command(Command::FocusMenuBar);

    const bool onSquare = isSquareIndex(focus);
    if (press.code == key::Tab && focus == FocusOnSink) {
        // Either way round, back to the square played last rather than square 1.
        KeyOutcome outcome;
        outcome.focusSquare = isSquareIndex(lastPlayed) ? lastPlayed : 1;
        outcome.consumed = true;
        return outcome;
    }
    if (isArrow(press.code) && !press.shift) {
        KeyOutcome outcome;
        if (onSquare) {
            outcome.focusSquare = stepFrom(focus, press.code);
            outcome.consumed = true;
        }
        // The sink keeps the focus (only Tab leaves it) and the page must not scroll.
        outcome.consumed = outcome.consumed || focus == FocusOnSink;
        return outcome;
    }
    // Space and Enter click the focused button the browser's own way.
    return {};
}

std::string_view shortcutText(Command command)
{
    for (const auto& shortcut : Shortcuts)
        if (shortcut.command == command)
            return shortcut.shown;
    return {};
}

} // namespace zarquel::web
