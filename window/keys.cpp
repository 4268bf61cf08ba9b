// The window's keys: Escape and the shortcuts, Tab and the arrows across the board, Space and Enter on a square.
#include "keys.h"

#include "menus.h"

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

KeyOutcome moveTo(Focus to)
{
    KeyOutcome outcome = taken();
    outcome.moves = true;
    outcome.to = to;
    return outcome;
}

} // namespace

KeyOutcome keyOutcome(const KeyPress& press, Focus focus, SquareIndex lastPlayed, Host host)
{
    // Escape pauses whatever else is held; from the menu bar it also gives the board its keys back.
    if (press.code == key::Escape) {
        KeyOutcome outcome = taken(Command::Pause);
        outcome.moves = focus.on == Focus::On::Elsewhere;
        outcome.to = Focus::sink();
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
    const bool onSquare = focus.on == Focus::On::Square && isSquareIndex(focus.square);
    if (focus.on == Focus::On::Elsewhere || (!onSquare && focus.on == Focus::On::Square))
        return {};
    const bool clickKey = press.code == key::Space || press.code == key::Enter;
    // A button would click on Ctrl+Space as on Space: a held Ctrl makes a square's keys do nothing.
    if (press.ctrl)
        return isArrow(press.code) || (clickKey && onSquare) ? taken() : KeyOutcome {};
    const auto played = static_cast<SquareIndex>(isSquareIndex(lastPlayed) ? lastPlayed : 1);
    if (press.code == key::Tab && !onSquare) {
        // Either way round, back to the square played last rather than to square 1.
        return moveTo(Focus::at(played));
    }
    if (press.code == key::Tab) {
        // Square by square, then back to the sink; on the page, Tab past the last square leaves
        // the game for the browser, so the keyboard is never trapped in it.
        const int next = focus.square + (press.shift ? -1 : 1);
        if (!press.shift && next > SquareCount && host == Host::Page)
            return {};
        return moveTo(isSquareIndex(next) ? Focus::at(static_cast<SquareIndex>(next)) : Focus::sink());
    }
    if (isArrow(press.code)) {
        // Plain arrows only: held with Shift they do nothing, rather than the toolkit's own.
        if (press.shift)
            return taken();
        return moveTo(Focus::at(onSquare ? stepFrom(focus.square, press.code) : played));
    }
    if (clickKey && onSquare) {
        KeyOutcome outcome = taken();
        outcome.click = focus.square;
        return outcome;
    }
    return {};
}

} // namespace zarquel::window
