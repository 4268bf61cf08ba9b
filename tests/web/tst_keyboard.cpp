// The page's keys: which command each gives, where Tab and the arrows send the focus, what the browser keeps.
#include "keyboard.h"

#include <QtTest>

using namespace zarquel::web;

Q_DECLARE_METATYPE(zarquel::web::Command)

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
    void commandKeysAreTakenFromTheBrowser_data();
    void commandKeysAreTakenFromTheBrowser();
    void everyShownShortcutGivesItsCommand();
    void tabFromTheSinkGoesToTheSquarePlayedLast();
    void arrowsMoveAcrossTheBoardAndStopAtTheEdges_data();
    void arrowsMoveAcrossTheBoardAndStopAtTheEdges();
    void keysTheGameDoesNotUseStayTheBrowsers();
};

void TestKeyboard::commandKeysAreTakenFromTheBrowser_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("focus");
    QTest::addColumn<Command>("command");
    QTest::addColumn<bool>("focusSink");
    QTest::newRow("Ctrl+P") << int('P') << int(Ctrl) << FocusOnSink << Command::Pause << false;
    QTest::newRow("Ctrl+N") << int('N') << int(Ctrl) << FocusOnSink << Command::NewGame << false;
    QTest::newRow("F2") << key::F2 << int(None) << 7 << Command::NewGame << false;
    QTest::newRow("Ctrl+X") << int('X') << int(Ctrl) << FocusOnSink << Command::Exit << false;
    QTest::newRow("Ctrl+I") << int('I') << int(Ctrl) << 25 << Command::Instructions << false;
    QTest::newRow("Ctrl+A") << int('A') << int(Ctrl) << FocusOnSink << Command::About << false;
    QTest::newRow("Alt+F") << int('F') << int(Alt) << FocusOnSink << Command::OpenFileMenu << false;
    QTest::newRow("Alt+H") << int('H') << int(Alt) << FocusOnSink << Command::OpenHelpMenu << false;
    QTest::newRow("F10") << key::F10 << int(None) << FocusOnSink << Command::FocusMenuBar << false;
    // Escape ignores the modifiers, as on the desktop; from the menu bar it also gives the board its keys back.
    for (int modifiers = 0; modifiers < 8; ++modifiers)
        QTest::addRow("Escape, modifiers %d", modifiers) << key::Escape << modifiers << FocusOnSink << Command::Pause << false;
    QTest::newRow("Escape on a square") << key::Escape << int(None) << 13 << Command::Pause << false;
    QTest::newRow("Escape on the menu bar") << key::Escape << int(None) << FocusElsewhere << Command::Pause << true;
}

void TestKeyboard::commandKeysAreTakenFromTheBrowser()
{
    QFETCH(int, code);
    QFETCH(int, modifiers);
    QFETCH(int, focus);
    QFETCH(Command, command);
    QFETCH(bool, focusSink);
    const KeyOutcome outcome = keyOutcome(press(code, modifiers), focus, 1);
    QCOMPARE(outcome.command, command);
    QVERIFY(outcome.consumed);
    QCOMPARE(outcome.focusSink, focusSink);
    QCOMPARE(outcome.focusSquare, 0);
}

void TestKeyboard::everyShownShortcutGivesItsCommand()
{
    // What the menu shows and what the keys do must never drift apart.
    for (const Command command : {Command::Pause, Command::NewGame, Command::Exit, Command::Instructions, Command::About}) {
        const QString shown = QString::fromLatin1(shortcutText(command).data(), qsizetype(shortcutText(command).size()));
        QVERIFY2(!shown.isEmpty(), "a menu command without its shortcut");
        for (const QString& keys : shown.split(QStringLiteral(", "))) {
            const KeyPress pressed = keys.startsWith(QLatin1String("Ctrl+"))
                                         ? press(keys.back().toLatin1(), Ctrl)
                                         : press(key::F2 + keys.mid(1).toInt() - 2);
            QVERIFY2(keys.size() == 6 || keys == QLatin1String("F2"), qPrintable(keys));
            QCOMPARE(keyOutcome(pressed, FocusOnSink, 1).command, command);
        }
    }
    QVERIFY(shortcutText(Command::None).empty());
    QVERIFY(shortcutText(Command::OpenFileMenu).empty());
}

void TestKeyboard::tabFromTheSinkGoesToTheSquarePlayedLast()
{
    for (const int modifiers : {int(None), int(Shift)}) {
        for (const int last : {1, 13, 25}) {
            const KeyOutcome outcome = keyOutcome(press(key::Tab, modifiers), FocusOnSink, last);
            QCOMPARE(outcome.focusSquare, last);
            QVERIFY(outcome.consumed);
            QCOMPARE(outcome.command, Command::None);
        }
        // A stray value never sends the focus off the board.
        QCOMPARE(keyOutcome(press(key::Tab, modifiers), FocusOnSink, 0).focusSquare, 1);
        QCOMPARE(keyOutcome(press(key::Tab, modifiers), FocusOnSink, 26).focusSquare, 1);
        // Elsewhere Tab walks the page the browser's way.
        QVERIFY(!keyOutcome(press(key::Tab, modifiers), 7, 13).consumed);
        QVERIFY(!keyOutcome(press(key::Tab, modifiers), FocusElsewhere, 13).consumed);
    }
    QVERIFY(!keyOutcome(press(key::Tab, Ctrl), FocusOnSink, 13).consumed);
}

void TestKeyboard::arrowsMoveAcrossTheBoardAndStopAtTheEdges_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("up");
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("down");
    QTest::newRow("top left corner") << 1 << 1 << 1 << 2 << 6;
    QTest::newRow("top right corner") << 5 << 4 << 5 << 5 << 10;
    QTest::newRow("right edge") << 10 << 9 << 5 << 10 << 15;
    QTest::newRow("middle") << 13 << 12 << 8 << 14 << 18;
    QTest::newRow("left edge") << 16 << 16 << 11 << 17 << 21;
    QTest::newRow("bottom left corner") << 21 << 21 << 16 << 22 << 21;
    QTest::newRow("bottom right corner") << 25 << 24 << 20 << 25 << 25;
}

void TestKeyboard::arrowsMoveAcrossTheBoardAndStopAtTheEdges()
{
    QFETCH(int, from);
    QFETCH(int, left);
    QFETCH(int, up);
    QFETCH(int, right);
    QFETCH(int, down);
    const std::pair<int, int> arrows[] = {{key::Left, left}, {key::Up, up}, {key::Right, right}, {key::Down, down}};
    for (const auto& [code, expected] : arrows) {
        const KeyOutcome outcome = keyOutcome(press(code), from, 1);
        QCOMPARE(outcome.focusSquare, expected);
        QVERIFY(outcome.consumed);
        QCOMPARE(outcome.command, Command::None);
        // The sink keeps the focus, and the page does not scroll under it.
        const KeyOutcome onSink = keyOutcome(press(code), FocusOnSink, from);
        QVERIFY(onSink.consumed);
        QCOMPARE(onSink.focusSquare, 0);
    }
}

void TestKeyboard::keysTheGameDoesNotUseStayTheBrowsers()
{
    const KeyPress others[] = {
        press(key::Space), press(key::Enter), press('P'), press('N', Ctrl | Shift), press('P', Ctrl | Alt),
        press('X', Alt), press(key::F2, Ctrl), press(key::Left, Ctrl), press('R', Ctrl), press(key::Up, Alt),
    };
    for (const int focus : {FocusOnSink, 1, 13, FocusElsewhere}) {
        for (const KeyPress& other : others) {
            const KeyOutcome outcome = keyOutcome(other, focus, 1);
            QVERIFY2(!outcome.consumed, qPrintable(QStringLiteral("key %1 on %2").arg(other.code).arg(focus)));
            QCOMPARE(outcome.command, Command::None);
            QCOMPARE(outcome.focusSquare, 0);
        }
    }
    // Arrows off the board (the menu bar's own) are not the game's.
    QVERIFY(!keyOutcome(press(key::Down), FocusElsewhere, 1).consumed);
}

QTEST_APPLESS_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
