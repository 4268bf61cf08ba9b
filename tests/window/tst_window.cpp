// The window's description, toolkit-free: layout, menus and keys, keyboard play, box placement, the press guard, names.
#include "form.h"
#include "layout.h"
#include "messagebox.h"
#include "names.h"
#include "neighbourhood.h"

#include <QtTest>

#include <set>

using namespace zarquel;
using namespace zarquel::window;

Q_DECLARE_METATYPE(zarquel::window::Rect)
Q_DECLARE_METATYPE(zarquel::window::KeyPress)

namespace {

enum Modifier { None = 0, Ctrl = 1, Shift = 2, Alt = 4 };

KeyPress press(int code, int modifiers = None)
{
    return {code, (modifiers & Ctrl) != 0, (modifiers & Shift) != 0, (modifiers & Alt) != 0};
}

const char* commandName(Command command)
{
    static const char* const names[] {"", "Pause", "NewGame", "Exit", "Instructions", "About"};
    return names[int(command)];
}

// "taken: Pause, to sink", "taken: to 13", "taken: click 7", "taken" or "passed".
QString describe(const KeyOutcome& outcome)
{
    QStringList parts;
    if (outcome.command != Command::None)
        parts << commandName(outcome.command);
    if (outcome.click)
        parts << QStringLiteral("click %1").arg(outcome.click);
    if (outcome.focusSquare)
        parts << QStringLiteral("to %1").arg(outcome.focusSquare);
    if (outcome.focusSink)
        parts << QStringLiteral("to sink");
    const QString head = outcome.consumed ? QStringLiteral("taken") : QStringLiteral("passed");
    return parts.isEmpty() ? head : head + QStringLiteral(": ") + parts.join(QStringLiteral(", "));
}

// A toolkit that writes down what the window asks of it.
struct Toolkit final : Form {
    Toolkit() : Form(Host::Desktop) {}
    void setTimeText(const std::string& text) override { calls.push_back("time " + text); }
    void focusSink() override { calls.push_back("sink"); }
    void paintSquare(SquareIndex, SquareColor) override {}
    void runTimer(bool on) override { calls.push_back(on ? "timer on" : "timer off"); }
    void focusSquare(SquareIndex square) override { calls.push_back("square " + std::to_string(square)); }
    void takeKey() override { calls.push_back("take"); }
    void exitGame() override { calls.push_back("exit"); }
    void openBox(const std::string& text, const std::string& title) override
    {
        calls.push_back("box " + title);
        texts.push_back(text);
    }
    int red() const
    {
        int count = 0;
        for (SquareIndex k = 1; k <= SquareCount; ++k)
            count += squareColor(k) == Red;
        return count;
    }
    void fill(const std::set<int>& green)
    {
        for (SquareIndex k = 1; k <= SquareCount; ++k)
            setSquareColor(k, green.count(k) ? Green : Red);
    }
    // What the window asked while `act` ran.
    template <typename Act>
    std::vector<std::string> during(Act act)
    {
        calls.clear();
        act();
        return calls;
    }
    std::vector<std::string> calls;
    std::vector<std::string> texts;
};

} // namespace

class TestWindow : public QObject {
    Q_OBJECT

private slots:
    void layoutIsTheDesign_data();
    void layoutIsTheDesign();
    void pixelsRoundEachEdgeToTheNearest_data();
    void pixelsRoundEachEdgeToTheNearest();
    void everyCommandHasOneItemAndEveryShownShortcutGivesIt();
    void keysDoWhatTheWindowSays_data();
    void keysDoWhatTheWindowSays();
    void boxGoesOverTheBoardBelowTheLabelsAndStaysOnScreen_data();
    void boxGoesOverTheBoardBelowTheLabelsAndStaysOnScreen();
    void boxIgnoresPressesWithinTheDoubleClickTime_data();
    void boxIgnoresPressesWithinTheDoubleClickTime();
    void coloursAreNamedForScreenReaders_data();
    void coloursAreNamedForScreenReaders();
    void formPlaysTheGameAndRemembersTheSquarePlayedLast();
};

void TestWindow::layoutIsTheDesign_data()
{
    QTest::addColumn<Rect>("twips");
    QTest::addColumn<Rect>("expected");
    QTest::addColumn<Rect>("pixels");
    QTest::newRow("client area") << layout::ClientArea << Rect {0, 0, 3960, 5910} << Rect {0, 0, 264, 394};
    QTest::newRow("cmdTakeFocus") << layout::cmdTakeFocus << Rect {4200, 2760, 1215, 495} << Rect {280, 184, 81, 33};
    QTest::newRow("lblWasted") << layout::lblWasted << Rect {240, 1995, 2175, 255} << Rect {16, 133, 145, 17};
    QTest::newRow("lblSeconds") << layout::lblSeconds << Rect {3120, 1995, 645, 255} << Rect {208, 133, 43, 17};
    QTest::newRow("lblTime") << layout::lblTime << Rect {2415, 1920, 615, 375} << Rect {161, 128, 41, 25};
    QTest::newRow("imgTitle") << layout::imgTitle << Rect {750, 75, 2430, 1860} << Rect {50, 5, 162, 124};
    QTest::newRow("board") << layout::Board << Rect {240, 2280, 3495, 3495} << Rect {16, 152, 233, 233};
    QTest::newRow("square 1") << layout::cmdSquare(1) << Rect {240, 2280, 615, 615} << Rect {16, 152, 41, 41};
    QTest::newRow("square 5") << layout::cmdSquare(5) << Rect {3120, 2280, 615, 615} << Rect {208, 152, 41, 41};
    QTest::newRow("square 13") << layout::cmdSquare(13) << Rect {1680, 3720, 615, 615} << Rect {112, 248, 41, 41};
    QTest::newRow("square 21") << layout::cmdSquare(21) << Rect {240, 5160, 615, 615} << Rect {16, 344, 41, 41};
    QTest::newRow("square 25") << layout::cmdSquare(25) << Rect {3120, 5160, 615, 615} << Rect {208, 344, 41, 41};
}

void TestWindow::layoutIsTheDesign()
{
    QFETCH(Rect, twips);
    QFETCH(Rect, expected);
    QFETCH(Rect, pixels);
    QCOMPARE(twips, expected);
    QCOMPARE(window::pixels(twips), pixels);
    // The board ends at the last square; the labels make one line, lblSeconds 90 twips after lblTime.
    QCOMPARE(layout::Board.right(), layout::cmdSquare(25).right());
    QCOMPARE(layout::lblWasted.right(), layout::lblTime.left);
    QCOMPARE(layout::lblSeconds.left, layout::lblTime.right() + 90);
    QVERIFY(layout::cmdTakeFocus.left > layout::ClientArea.right());
    // Every control but the squares is listed by its name, for the page's stylesheet and a relayout.
    QStringList listed;
    for (const auto& place : layout::Places)
        listed << QString::fromLatin1(place.name.data(), qsizetype(place.name.size()));
    QCOMPARE(listed, (QStringList {"cmdTakeFocus", "lblWasted", "lblSeconds", "lblTime", "imgTitle"}));
    QCOMPARE(layout::Places[3].twips, layout::lblTime);
}

void TestWindow::pixelsRoundEachEdgeToTheNearest_data()
{
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("pixels");
    QTest::newRow("a square at 96 dpi") << 615 << 96 << 41;
    QTest::newRow("a square at 120 dpi") << 615 << 120 << 51;
    QTest::newRow("a square at 144 dpi, half up") << 615 << 144 << 62;
    QTest::newRow("the client width at 192 dpi") << 3960 << 192 << 528;
    QTest::newRow("under half a pixel") << 7 << 96 << 0;
    QTest::newRow("over half a pixel") << 8 << 96 << 1;
    QTest::newRow("negative, half away from zero") << -105 << 144 << -11;
}

void TestWindow::pixelsRoundEachEdgeToTheNearest()
{
    QFETCH(int, twips);
    QFETCH(int, dpi);
    QFETCH(int, pixels);
    QCOMPARE(window::pixels(twips, dpi), pixels);
    // Each square keeps one size wherever it sits, at any density.
    const Rect first = window::pixels(layout::cmdSquare(1), dpi), last = window::pixels(layout::cmdSquare(25), dpi);
    QCOMPARE(QPair(first.width, first.height), QPair(last.width, last.height));
}

void TestWindow::everyCommandHasOneItemAndEveryShownShortcutGivesIt()
{
    QMap<Command, int> items;
    QStringList captions;
    for (const Menu& menu : MenuBar) {
        captions << QString::fromLatin1(menu.caption.data(), qsizetype(menu.caption.size()));
        QSet<char> letters;
        for (const MenuItem& item : menu.items) {
            QCOMPARE(item.caption.empty(), item.command == Command::None); // the separator alone has no caption
            if (item.caption.empty())
                continue;
            ++items[item.command];
            QVERIFY2(!letters.contains(accessKey(item.caption)), "two items of a menu share an access key");
            letters.insert(accessKey(item.caption));
        }
    }
    QCOMPARE(captions, (QStringList {"&File", "&Help"}));
    QCOMPARE(accessKey(texts::MenuExit), 'X');
    for (const Command command : {Command::Pause, Command::NewGame, Command::Exit, Command::Instructions, Command::About}) {
        QCOMPARE(items.value(command), 1);
        for (const Host host : {Host::Desktop, Host::Page}) {
            const QString shown = QString::fromStdString(shortcutText(command, host));
            QVERIFY2(!shown.isEmpty(), commandName(command));
            // What the menu shows and what the keys do must never drift apart.
            for (const QString& keys : shown.split(QStringLiteral(", "))) {
                const bool f2 = keys == QLatin1String("F2");
                QVERIFY2(f2 || (keys.size() == 6 && keys.startsWith(QLatin1String("Ctrl+"))), qPrintable(keys));
                const KeyPress pressed = f2 ? press(key::F2) : press(keys.back().toLatin1(), Ctrl);
                QCOMPARE(keyOutcome(pressed, FocusOnSink, 1, host).command, command);
            }
        }
    }
    // A browser tab may keep Ctrl+N, so only the page shows F2 too; the desktop has no F2.
    QCOMPARE(shortcutText(Command::NewGame, Host::Desktop), std::string("Ctrl+N"));
    QCOMPARE(shortcutText(Command::NewGame, Host::Page), std::string("Ctrl+N, F2"));
    QVERIFY(shortcutText(Command::None, Host::Page).empty());
    // --help names every key beside what it does.
    const QString help = QString::fromStdString(keysHelp());
    for (const char* line : {"Ctrl+P, Escape     pause the clock\n", "Ctrl+N             new game\n",
                             "Ctrl+X             quit\n", "Ctrl+I             instructions\n", "Ctrl+A             about\n"})
        QVERIFY2(help.contains(QLatin1String(line)), line);
    QVERIFY(!help.contains(QLatin1String("F2")));
}

void TestWindow::keysDoWhatTheWindowSays_data()
{
    QTest::addColumn<KeyPress>("key");
    QTest::addColumn<int>("focus");
    QTest::addColumn<int>("lastPlayed");
    QTest::addColumn<bool>("page");
    QTest::addColumn<QString>("outcome");
    const auto row = [](const QString& name, KeyPress key, int focus, int last, bool page, const char* outcome) {
        QTest::newRow(qPrintable(name)) << key << focus << last << page << QString::fromLatin1(outcome);
    };
    // Menu commands, wherever the focus is; F2 only on the page.
    row("Ctrl+P", press('P', Ctrl), FocusOnSink, 1, false, "taken: Pause");
    row("Ctrl+N on a square", press('N', Ctrl), 13, 1, false, "taken: NewGame");
    row("F2 on the page", press(key::F2), 7, 1, true, "taken: NewGame");
    row("F2 on the desktop", press(key::F2), 7, 1, false, "passed");
    row("Ctrl+X", press('X', Ctrl), FocusOnSink, 1, false, "taken: Exit");
    row("Ctrl+I", press('I', Ctrl), 25, 1, true, "taken: Instructions");
    row("Ctrl+A from the menu bar", press('A', Ctrl), FocusElsewhere, 1, false, "taken: About");
    // Alt and F10 are the menu bar's (and a browser's own); other keys are the toolkit's.
    for (const auto& [name, key] : {std::pair {"Alt+F", press('F', Alt)}, {"Alt+H", press('H', Alt)},
                                    {"F10", press(key::F10)}, {"P", press('P')}, {"Ctrl+Shift+N", press('N', Ctrl | Shift)},
                                    {"Ctrl+Alt+P", press('P', Ctrl | Alt)}, {"Alt+X", press('X', Alt)},
                                    {"Ctrl+F2", press(key::F2, Ctrl)}, {"Ctrl+R", press('R', Ctrl)}})
        for (const int focus : {FocusOnSink, 13, FocusElsewhere})
            row(QStringLiteral("%1 at %2").arg(name).arg(focus), key, focus, 1, true, "passed");
    // Escape pauses whatever is held; from the menu bar it also gives the board its keys back.
    for (int modifiers = 0; modifiers < 8; ++modifiers)
        for (const int focus : {FocusOnSink, 13, FocusElsewhere})
            row(QStringLiteral("Escape with %1 at %2").arg(modifiers).arg(focus), press(key::Escape, modifiers), focus, 1,
                modifiers % 2, focus == FocusElsewhere ? "taken: Pause, to sink" : "taken: Pause");
    // Tab either way from the sink: the square played last, never off the board.
    for (const auto& [last, reached] : {std::pair {1, "taken: to 1"}, {13, "taken: to 13"}, {25, "taken: to 25"},
                                        {0, "taken: to 1"}, {26, "taken: to 1"}}) {
        row(QStringLiteral("Tab from the sink, last %1").arg(last), press(key::Tab), FocusOnSink, last, false, reached);
        row(QStringLiteral("Shift+Tab from the sink, last %1").arg(last), press(key::Tab, Shift), FocusOnSink, last, true,
            reached);
    }
    row("Ctrl+Tab", press(key::Tab, Ctrl), FocusOnSink, 13, false, "passed");
    row("Tab from the menu bar", press(key::Tab), FocusElsewhere, 13, false, "passed");
    // Square by square, then back to the sink; past the last square the page lets the browser go on.
    row("Tab on a square", press(key::Tab), 7, 13, true, "taken: to 8");
    row("Shift+Tab on a square", press(key::Tab, Shift), 7, 13, false, "taken: to 6");
    row("Tab on the last square", press(key::Tab), 25, 13, false, "taken: to sink");
    row("Tab on the last square of the page", press(key::Tab), 25, 13, true, "passed");
    row("Shift+Tab on the first square of the page", press(key::Tab, Shift), 1, 13, true, "taken: to sink");
    // Arrows in two dimensions, stopping at the edges: from each square, Left, Up, Right and Down.
    const std::array<int, 5> moves[] {
        {1, 1, 1, 2, 6}, {5, 4, 5, 5, 10}, {10, 9, 5, 10, 15}, {13, 12, 8, 14, 18},
        {16, 16, 11, 17, 21}, {21, 21, 16, 22, 21}, {25, 24, 20, 25, 25},
    };
    const int arrows[] {key::Left, key::Up, key::Right, key::Down};
    for (const auto& move : moves) {
        for (int k = 0; k < 4; ++k)
            row(QStringLiteral("arrow %1 from %2").arg(arrows[k]).arg(move[0]), press(arrows[k]), move[0], 1, k % 2,
                qPrintable(QStringLiteral("taken: to %1").arg(move[std::size_t(k) + 1])));
    }
    // On the sink an arrow goes to the square played last, so the next move needs no Tab.
    for (int k = 0; k < 4; ++k) {
        row(QStringLiteral("arrow %1 on the sink").arg(arrows[k]), press(arrows[k]), FocusOnSink, 17, k % 2, "taken: to 17");
        row(QStringLiteral("arrow %1 from the menu bar").arg(arrows[k]), press(arrows[k]), FocusElsewhere, 17, false,
            "passed");
    }
    row("Shift+Down on a square", press(key::Down, Shift), 13, 1, false, "taken");
    row("Ctrl+Left on the sink", press(key::Left, Ctrl), FocusOnSink, 13, true, "taken");
    row("Alt+Left, a browser's Back", press(key::Left, Alt), 13, 1, true, "passed");
    // Space and Enter click a focused square, and nothing else.
    row("Space on a square", press(key::Space), 13, 1, false, "taken: click 13");
    row("Enter on a square", press(key::Enter), 7, 1, true, "taken: click 7");
    row("Shift+Enter on a square", press(key::Enter, Shift), 25, 1, false, "taken: click 25");
    row("Ctrl+Space on a square", press(key::Space, Ctrl), 13, 1, false, "passed");
    row("Space on the sink", press(key::Space), FocusOnSink, 13, false, "passed");
    row("Enter on the menu bar", press(key::Enter), FocusElsewhere, 13, true, "passed");
}

void TestWindow::keysDoWhatTheWindowSays()
{
    QFETCH(KeyPress, key);
    QFETCH(int, focus);
    QFETCH(int, lastPlayed);
    QFETCH(bool, page);
    QFETCH(QString, outcome);
    QCOMPARE(describe(keyOutcome(key, focus, lastPlayed, page ? Host::Page : Host::Desktop)), outcome);
}

void TestWindow::boxGoesOverTheBoardBelowTheLabelsAndStaysOnScreen_data()
{
    QTest::addColumn<QSize>("box");
    QTest::addColumn<Rect>("board");
    QTest::addColumn<int>("labelsBottom");
    QTest::addColumn<Rect>("workArea");
    QTest::addColumn<Rect>("placed");
    // A window whose client area starts at (100, 100): the board 116..364 across, 252..500 down,
    // the label row down to 253.
    const Rect board {116, 252, 248, 248}, screen {0, 0, 1280, 1000};
    QTest::newRow("centred on the board") << QSize(200, 100) << board << 253 << screen << Rect {140, 326, 200, 100};
    QTest::newRow("taller than the board below the labels")
        << QSize(200, 300) << board << 253 << screen << Rect {140, 253, 200, 300};
    QTest::newRow("wider than the board") << QSize(400, 100) << board << 253 << screen << Rect {40, 326, 400, 100};
    QTest::newRow("window hanging off the bottom of the work area")
        << QSize(200, 100) << Rect {116, 900, 248, 248} << 901 << screen << Rect {140, 900, 200, 100};
    QTest::newRow("window off the left edge")
        << QSize(200, 100) << Rect {-100, 252, 248, 248} << 253 << screen << Rect {0, 326, 200, 100};
    QTest::newRow("window off the right edge")
        << QSize(200, 100) << Rect {1200, 252, 248, 248} << 253 << screen << Rect {1080, 326, 200, 100};
    QTest::newRow("work area below a top panel")
        << QSize(200, 100) << Rect {116, -100, 248, 248} << -99 << Rect {0, 40, 1280, 960} << Rect {140, 40, 200, 100};
    QTest::newRow("box larger than the screen")
        << QSize(2000, 1200) << board << 253 << screen << Rect {0, 0, 2000, 1200};
    // A phone held sideways, in CSS pixels: the screen is too short for the box below the labels.
    QTest::newRow("short viewport") << QSize(244, 150) << Rect {196, 171, 248, 248} << 172 << Rect {4, 4, 632, 312}
                                    << Rect {198, 166, 244, 150};
}

void TestWindow::boxGoesOverTheBoardBelowTheLabelsAndStaysOnScreen()
{
    QFETCH(QSize, box);
    QFETCH(Rect, board);
    QFETCH(int, labelsBottom);
    QFETCH(Rect, workArea);
    QFETCH(Rect, placed);
    QCOMPARE(placeMessageBox(box.width(), box.height(), board, labelsBottom, workArea), placed);
}

void TestWindow::boxIgnoresPressesWithinTheDoubleClickTime_data()
{
    QTest::addColumn<int>("doubleClickMs"); // 0: the usual time, where the system cannot say
    QTest::addColumn<int>("pressedAfter");  // ms after the box appeared; below 0, a press stamped before it
    QTest::addColumn<bool>("takes");
    QTest::newRow("at once") << 500 << 0 << false;
    QTest::newRow("the double click's second press") << 500 << 120 << false;
    QTest::newRow("a millisecond short") << 500 << 499 << false;
    QTest::newRow("just after the double-click time") << 500 << 500 << true;
    QTest::newRow("stamped before the box appeared") << 500 << -50 << false;
    QTest::newRow("a shorter system time") << 400 << 450 << true;
    QTest::newRow("the usual time, short") << 0 << 499 << false;
    QTest::newRow("the usual time, after") << 0 << 500 << true;
}

void TestWindow::boxIgnoresPressesWithinTheDoubleClickTime()
{
    QFETCH(int, doubleClickMs);
    QFETCH(int, pressedAfter);
    QFETCH(bool, takes);
    PressGuard guard = doubleClickMs ? PressGuard(doubleClickMs) : PressGuard();
    // A day into the session, as a steady clock reads.
    const std::int64_t shown = 86'400'000;
    guard.boxShown(shown);
    QCOMPARE(guard.takesPress(shown + pressedAfter), takes);
}

void TestWindow::coloursAreNamedForScreenReaders_data()
{
    QTest::addColumn<int>("color");
    QTest::addColumn<QString>("name");
    QTest::newRow("red") << int(Red) << "red";
    QTest::newRow("green") << int(Green) << "green";
    QTest::newRow("a stray colour, 0x00BBGGRR read as #rrggbb") << 0x563412 << "#123456";
    QTest::newRow("black") << 0 << "#000000";
    QTest::newRow("the labels' yellow") << int(layout::LabelColor) << "#ffff00";
}

void TestWindow::coloursAreNamedForScreenReaders()
{
    QFETCH(int, color);
    QFETCH(QString, name);
    QCOMPARE(QString::fromStdString(names::colorName(color)), name);
}

void TestWindow::formPlaysTheGameAndRemembersTheSquarePlayedLast()
{
    using Calls = std::vector<std::string>;
    Toolkit form;
    form.game().Deal();
    QCOMPARE(form.calls, (Calls {"timer off", "time 0"}));
    std::set<int> all;
    for (int k = 1; k <= SquareCount; ++k)
        all.insert(k);
    form.fill(all);

    // A click plays the game, starts the clock once (a running one keeps its second), and is where
    // the keyboard comes back to.
    QCOMPARE(form.during([&] { form.click(13); }), (Calls {"timer on", "sink"}));
    QCOMPARE(form.red(), int(neighbourhood(13).size()));
    QCOMPARE(form.during([&] { form.click(13); form.click(13); }), (Calls {"sink", "sink"}));
    QVERIFY(form.clockRunning());
    QCOMPARE(form.during([&] { QVERIFY(form.key(press(key::Down), FocusOnSink)); }), (Calls {"take", "square 13"}));
    // Space on a square clicks it and makes it the square played last.
    QCOMPARE(form.during([&] { form.key(press(key::Space), 18); }), (Calls {"take", "sink"}));
    QCOMPARE(form.red(), 6); // 8, 12, 14 from the first click; 17, 19, 23 from this one
    QCOMPARE(form.lastPlayed(), SquareIndex(18));
    // The key is taken before a box opens: the page must stop the browser before the box waits.
    QCOMPARE(form.during([&] { form.key(press('I', Ctrl), 18); }), (Calls {"take", "box Instructions"}));
    QCOMPARE(form.texts.back(), std::string(texts::Instructions));
    QCOMPARE(form.during([&] { form.tick(); }), (Calls {"time 1"})); // help leaves the clock running
    QCOMPARE(form.during([&] { form.key(press(key::Escape), FocusElsewhere); }), (Calls {"take", "sink", "timer off"}));
    QCOMPARE(form.during([&] { form.tick(); }), Calls {}); // a stopped clock counts nothing
    QCOMPARE(form.during([&] { QVERIFY(!form.key(press('Q'), FocusOnSink)); }), Calls {});
    QCOMPARE(form.during([&] { form.choose(Command::Exit); }), Calls {"exit"});
    // A new game, by key or by a win, starts the keyboard again at the first square.
    form.key(press('N', Ctrl), 18);
    QCOMPARE(form.lastPlayed(), SquareIndex(1));
    form.click(7);
    QCOMPARE(form.lastPlayed(), SquareIndex(7));
    form.fill(neighbourhood(9));
    QCOMPARE(form.during([&] { form.click(9); }), (Calls {"sink", "timer off", "box Zarquel", "timer off", "time 0"}));
    QCOMPARE(form.texts.back(), std::string(texts::WinMessage));
    QCOMPARE(form.lastPlayed(), SquareIndex(1));
}

QTEST_APPLESS_MAIN(TestWindow)
#include "tst_window.moc"
