// The page's keys: which command each gives, where Tab and the arrows send the focus, what the browser keeps.
#include "keyboard.h"

#include <QtTest>

using namespace zarquel::web;

namespace {

enum Modifier { None = 0, Ctrl = 1, Shift = 2, Alt = 4 };

KeyPress press(int code, int modifiers = None)
{
    return {code, (modifiers & Ctrl) != 0, (modifiers & Shift) != 0, (modifiers & Alt) != 0};
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    void commandKeysAreTakenFromTheBrowser();
    void everyShownShortcutGivesItsCommand();
    void tabFromTheSinkGoesToTheSquarePlayedLast();
    void arrowsMoveAcrossTheBoardAndStopAtTheEdges();
};

void TestKeyboard::commandKeysAreTakenFromTheBrowser()
{
    const struct { KeyPress key; int focus; Command command; } rows[] = {
        {press('P', Ctrl), FocusOnSink, Command::Pause}, {press('N', Ctrl), 13, Command::NewGame},
        {press(key::F2), 7, Command::NewGame}, {press('X', Ctrl), FocusOnSink, Command::Exit},
        {press('I', Ctrl), 25, Command::Instructions}, {press('A', Ctrl), FocusElsewhere, Command::About},
        {press('F', Alt), FocusOnSink, Command::OpenFileMenu}, {press('H', Alt), 1, Command::OpenHelpMenu},
        {press(key::F10), FocusOnSink, Command::FocusMenuBar},
    };
    for (const auto& row : rows) {
        const KeyOutcome outcome = keyOutcome(row.key, row.focus, 1);
        QCOMPARE(outcome.command, row.command);
        QVERIFY(outcome.consumed && !outcome.focusSink && !outcome.focusSquare);
    }
    // The rest stay the browser's: Space and Enter click a focused square its own way.
    for (const KeyPress& other : {press(key::Space), press(key::Enter), press('P'), press('N', Ctrl | Shift),
                                  press('P', Ctrl | Alt), press('X', Alt), press(key::F2, Ctrl), press('R', Ctrl)}) {
        for (const int focus : {FocusOnSink, 13, FocusElsewhere}) {
            const KeyOutcome outcome = keyOutcome(other, focus, 1);
            QVERIFY(!outcome.consumed && outcome.command == Command::None && !outcome.focusSquare);
        }
    }
    // Escape pauses whatever is held, as on the desktop; from the menu bar it also gives the board its keys back.
    for (int modifiers = 0; modifiers < 8; ++modifiers) {
        for (const int focus : {FocusOnSink, 13, FocusElsewhere}) {
            const KeyOutcome outcome = keyOutcome(press(key::Escape, modifiers), focus, 1);
            QVERIFY(outcome.command == Command::Pause && outcome.consumed);
            QCOMPARE(outcome.focusSink, focus == FocusElsewhere);
        }
    }
}

void TestKeyboard::everyShownShortcutGivesItsCommand()
{
    // What the menu shows and what the keys do must never drift apart.
    for (const Command command : {Command::Pause, Command::NewGame, Command::Exit, Command::Instructions, Command::About}) {
        const QString shown = QString::fromLatin1(shortcutText(command).data(), qsizetype(shortcutText(command).size()));
        QVERIFY2(!shown.isEmpty(), "a menu command without its shortcut");
        for (const QString& keys : shown.split(QStringLiteral(", "))) {
            QVERIFY2(keys == QLatin1String("F2") || (keys.size() == 6 && keys.startsWith(QLatin1String("Ctrl+"))), qPrintable(keys));
            const KeyPress pressed = keys == QLatin1String("F2") ? press(key::F2) : press(keys.back().toLatin1(), Ctrl);
            QCOMPARE(keyOutcome(pressed, FocusOnSink, 1).command, command);
        }
    }
    QVERIFY(shortcutText(Command::None).empty() && shortcutText(Command::OpenFileMenu).empty());
}

void TestKeyboard::tabFromTheSinkGoesToTheSquarePlayedLast()
{
    for (const int modifiers : {int(None), int(Shift)}) {
        // A stray last square (0, 26) never sends the focus off the board.
        for (const auto& [last, expected] : {std::pair {1, 1}, {13, 13}, {25, 25}, {0, 1}, {26, 1}}) {
            const KeyOutcome outcome = keyOutcome(press(key::Tab, modifiers), FocusOnSink, last);
            QVERIFY(outcome.consumed && outcome.command == Command::None);
            QCOMPARE(outcome.focusSquare, expected);
        }
        // Elsewhere, or with Ctrl, Tab walks the page the browser's way.
        QVERIFY(!keyOutcome(press(key::Tab, modifiers | Ctrl), FocusOnSink, 13).consumed);
        QVERIFY(!keyOutcome(press(key::Tab, modifiers), 7, 13).consumed);
        QVERIFY(!keyOutcome(press(key::Tab, modifiers), FocusElsewhere, 13).consumed);
    }
}

void TestKeyboard::arrowsMoveAcrossTheBoardAndStopAtTheEdges()
{
    // From each square: where Left, Up, Right and Down go.
    const std::array<int, 5> rows[] = {
        {1, 1, 1, 2, 6}, {5, 4, 5, 5, 10}, {10, 9, 5, 10, 15}, {13, 12, 8, 14, 18},
        {16, 16, 11, 17, 21}, {21, 21, 16, 22, 21}, {25, 24, 20, 25, 25},
    };
    for (const auto& row : rows) {
        const int codes[] = {key::Left, key::Up, key::Right, key::Down};
        for (int k = 0; k < 4; ++k) {
            const KeyOutcome outcome = keyOutcome(press(codes[k]), row[0], 1);
            QVERIFY(outcome.consumed && outcome.command == Command::None);
            QCOMPARE(outcome.focusSquare, row[std::size_t(k) + 1]);
            // The sink keeps the focus, and the page does not scroll under it.
            const KeyOutcome onSink = keyOutcome(press(codes[k]), FocusOnSink, row[0]);
            QVERIFY(onSink.consumed && !onSink.focusSquare);
            QVERIFY(!keyOutcome(press(codes[k]), FocusElsewhere, row[0]).consumed); // the menu bar's own
        }
    }
}

QTEST_APPLESS_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
