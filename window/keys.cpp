// The window's keys: Escape and the shortcuts, Tab and the arrows across the board, Space and Enter on a square.
#include "keys.h"

namespace zarquel::window {

namespace {

bool isArrow(int code)
{
    return code == key::Left || code == key::Up || code == key::Right || code == key::Down;
}

// One step across the board; the edges stop the focus where it is.
SquareIndex stepFrom(int square, int code)
{
    const int row = (square - 1) / BoardSide + (code == key::Down) - (code == key::Up);
    const int column = (square - 1) % BoardSide + (code == key::Right) - (code == key::Left);
    if (row < 0 || row >= BoardSide || column < 0 || column >= BoardSide)
        return static_cast<SquareIndex>(square);
    return squareAt(row, column);
}

KeyOutcome taken(Command command = Command::None)
{
    KeyOutcome outcome;
    outcome.command = command;
    outcome.consumed = true;
    return outcome;
}

} // namespace

KeyOutcome keyOutcome(const KeyPress& press, int focus, int lastPlayed, Host host)
{
    // Escape pauses whatever else is held; from the menu bar it also gives the board its keys back.
    if (press.code == key::Escape) {
        KeyOutcome outcome = taken(Command::Pause);
        outcome.focusSink = focus == FocusElsewhere;
        return outcome;
    }
    // Alt belongs to the menu bar, and to the browser's own keys (Alt+Left goes back).
    if (press.alt)
        return {};
    for (const Shortcut& shortcut : Shortcuts) {
        const KeyPress& keys = shortcut.press;
        if (keys.code == press.code && keys.ctrl == press.ctrl && keys.shift == press.shift &&
            (host == Host::Page || !shortcut.pageOnly))
            return taken(shortcut.command);
    }
    if (press.ctrl && !isArrow(press.code))
        return {};

    const bool onSquare = isSquareIndex(focus);
    const auto played = static_cast<SquareIndex>(isSquareIndex(lastPlayed) ? lastPlayed : 1);
    if (focus != FocusOnSink && !onSquare)
        return {};
    KeyOutcome outcome = taken();
    if (press.code == key::Tab && focus == FocusOnSink) {
        // Either way round, back to the square played last rather than to square 1.
        outcome.focusSquare = played;
    } else if (press.code == key::Tab) {
        // Square by square, then back to the sink; on the page, Tab past the last square leaves
        // the game for the browser, so the keyboard is never trapped in it.
        const int next = focus + (press.shift ? -1 : 1);
        if (!press.shift && next > SquareCount && host == Host::Page)
            return {};
        outcome.focusSquare = static_cast<SquareIndex>(isSquareIndex(next) ? next : 0);
        outcome.focusSink = !isSquareIndex(next);
    } else if (isArrow(press.code)) {
        // Plain arrows only: held with Shift or Ctrl they do nothing, rather than the toolkit's own.
        if (!press.shift && !press.ctrl)
            outcome.focusSquare = onSquare ? stepFrom(focus, press.code) : played;
    } else if ((press.code == key::Space || press.code == key::Enter) && onSquare && !press.ctrl) {
        outcome.click = static_cast<SquareIndex>(focus);
    } else {
        return {};
    }
    return outcome;
}

} // namespace zarquel::window
