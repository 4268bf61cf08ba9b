// The window's description, toolkit-free: layout, menus and keys, keyboard play, box placement, the press guard, names.
#include "form.h"
#include "layout.h"
#include "messagebox.h"
#include "names.h"
#include "neighbourhood.h"

#include <QtTest>

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

// A key's outcome in words: "taken: Pause, to sink", "taken: to 13", "taken: click 7", "taken" or "passed".
std::string describe(const KeyOutcome& o)
{
    static const char* const commands[] {"", "Pause", "NewGame", "Exit", "Instructions", "About"};
    std::string parts = commands[int(o.command)];
    const auto add = [&](bool when, const std::string& part) { parts += when ? (parts.empty() ? "" : ", ") + part : ""; };
    add(o.click, "click " + std::to_string(o.click));
    add(o.focusSquare, "to " + std::to_string(o.focusSquare));
    add(o.focusSink, "to sink");
    return (o.consumed ? "taken" : "passed") + (parts.empty() ? "" : ": " + parts);
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
    void openBox(const std::string& text, const std::string& title) override { calls.push_back(title + ": " + text); }
    // Green where asked, red elsewhere.
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
};

} // namespace

class TestWindow : public QObject {
    Q_OBJECT

private slots:
    void layoutIsTheDesignInPixelsAtAnyDensity();
    void everyCommandHasOneItemAndEveryShownShortcutGivesIt();
    void keysDoWhatTheWindowSays_data();
    void keysDoWhatTheWindowSays();
    void boxGoesOverTheBoardBelowTheLabelsAndStaysOnScreen_data();
    void boxGoesOverTheBoardBelowTheLabelsAndStaysOnScreen();
    void boxIgnoresPressesWithinTheDoubleClickTimeAndColoursAreNamed();
    void formPlaysTheGameAndRemembersTheSquarePlayedLast();
};

void TestWindow::layoutIsTheDesignInPixelsAtAnyDensity()
{
    const struct {
        Rect twips, expected, pixels;
    } rows[] {
        {layout::ClientArea, {0, 0, 3960, 5910}, {0, 0, 264, 394}},
        {layout::cmdTakeFocus, {4200, 2760, 1215, 495}, {280, 184, 81, 33}},
        {layout::lblWasted, {240, 1995, 2175, 255}, {16, 133, 145, 17}},
        {layout::lblSeconds, {3120, 1995, 645, 255}, {208, 133, 43, 17}},
        {layout::lblTime, {2415, 1920, 615, 375}, {161, 128, 41, 25}},
        {layout::imgTitle, {750, 75, 2430, 1860}, {50, 5, 162, 124}},
        {layout::Board, {240, 2280, 3495, 3495}, {16, 152, 233, 233}},
        {layout::cmdSquare(1), {240, 2280, 615, 615}, {16, 152, 41, 41}},
        {layout::cmdSquare(13), {1680, 3720, 615, 615}, {112, 248, 41, 41}},
        {layout::cmdSquare(25), {3120, 5160, 615, 615}, {208, 344, 41, 41}},
    };
    for (const auto& row : rows) {
        QCOMPARE(row.twips, row.expected);
        QCOMPARE(pixels(row.twips), row.pixels);
    }
    // Every control but the squares, listed by name for the page's stylesheet and a relayout.
    QStringList listed;
    for (const auto& place : layout::Places)
        listed << QString::fromLatin1(place.name.data(), qsizetype(place.name.size()));
    QCOMPARE(listed, (QStringList {"cmdTakeFocus", "lblWasted", "lblSeconds", "lblTime", "imgTitle"}));
    QCOMPARE(layout::Places[3].twips, layout::lblTime);
    // Halves away from zero, as Windows rounds; every square one size at every density.
    for (const auto& [twips, dpi, expected] : {std::tuple {615, 120, 51}, {615, 144, 62}, {3960, 192, 528}, {7, 96, 0},
                                               {8, 96, 1}, {-105, 144, -11}}) {
        QCOMPARE(pixels(twips, dpi), expected);
        QCOMPARE(pixels(layout::cmdSquare(1), dpi).width, pixels(layout::cmdSquare(25), dpi).width);
    }
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
            items[item.command] += !item.caption.empty();
            QVERIFY2(item.caption.empty() || !letters.contains(accessKey(item.caption)), "two items share an access key");
            letters.insert(accessKey(item.caption));
        }
    }
    QCOMPARE(captions, (QStringList {"&File", "&Help"}));
    for (const Command command : {Command::Pause, Command::NewGame, Command::Exit, Command::Instructions, Command::About}) {
        QCOMPARE(items.value(command), 1);
        // What the menu shows and what the keys do must never drift apart.
        for (const Host host : {Host::Desktop, Host::Page}) {
            const QStringList shown = QString::fromStdString(shortcutText(command, host)).split(QStringLiteral(", "));
            for (const QString& keys : shown) {
                const KeyPress pressed = keys == QLatin1String("F2") ? press(key::F2) : press(keys.back().toLatin1(), Ctrl);
                QVERIFY2(keys == QLatin1String("F2") || keys.size() == 6, qPrintable(keys));
                QCOMPARE(keyOutcome(pressed, FocusOnSink, 1, host).command, command);
            }
        }
    }
    // A browser tab may keep Ctrl+N, so only the page shows F2 too.
    QCOMPARE(shortcutText(Command::NewGame, Host::Desktop), std::string("Ctrl+N"));
    QCOMPARE(shortcutText(Command::NewGame, Host::Page), std::string("Ctrl+N, F2"));
    QVERIFY(QString::fromStdString(keysHelp()).contains(QLatin1String("Ctrl+P, Escape     pause the clock\n")));
}

void TestWindow::keysDoWhatTheWindowSays_data()
{
    QTest::addColumn<KeyPress>("key");
    QTest::addColumn<int>("focus");
    QTest::addColumn<int>("lastPlayed");
    QTest::addColumn<bool>("page");
    QTest::addColumn<QString>("outcome");
    const auto row = [](const QString& name, KeyPress key, int focus, int last, bool page, const std::string& outcome) {
        QTest::newRow(qPrintable(name)) << key << focus << last << page << QString::fromStdString(outcome);
    };
    // Menu commands wherever the focus is; F2 only on the page.
    row("Ctrl+P", press('P', Ctrl), FocusOnSink, 1, false, "taken: Pause");
    row("F2 on the page", press(key::F2), 7, 1, true, "taken: NewGame");
    row("F2 on the desktop", press(key::F2), 7, 1, false, "passed");
    row("Ctrl+A from the menu bar", press('A', Ctrl), FocusElsewhere, 1, false, "taken: About");
    // Alt and F10 are the menu bar's (and a browser's own); other keys are the toolkit's.
    for (const auto& [name, key] : {std::pair {"Alt+F", press('F', Alt)}, {"F10", press(key::F10)}, {"P", press('P')},
                                    {"Ctrl+Shift+N", press('N', Ctrl | Shift)}, {"Ctrl+Alt+P", press('P', Ctrl | Alt)},
                                    {"Ctrl+F2", press(key::F2, Ctrl)}, {"Ctrl+Tab", press(key::Tab, Ctrl)}})
        for (const int focus : {FocusOnSink, 13, FocusElsewhere})
            row(QStringLiteral("%1 at %2").arg(name).arg(focus), key, focus, 13, true, "passed");
    // Escape pauses whatever is held; from the menu bar it also gives the board its keys back.
    for (int modifiers = 0; modifiers < 8; ++modifiers)
        for (const int focus : {FocusOnSink, 13, FocusElsewhere})
            row(QStringLiteral("Escape %1 at %2").arg(modifiers).arg(focus), press(key::Escape, modifiers), focus, 1,
                modifiers % 2, focus == FocusElsewhere ? "taken: Pause, to sink" : "taken: Pause");
    // From the sink Tab either way, or an arrow, goes to the square played last, never off the board.
    for (const int last : {1, 13, 25, 0, 26})
        for (const auto& [name, key] : {std::pair {"Tab", press(key::Tab)}, {"Shift+Tab", press(key::Tab, Shift)},
                                        {"Up", press(key::Up)}, {"Left", press(key::Left)}})
            row(QStringLiteral("%1 from the sink, last %2").arg(name).arg(last), key, FocusOnSink, last, last % 2,
                "taken: to " + std::to_string(last % 26 ? last : 1));
    row("Tab from the menu bar", press(key::Tab), FocusElsewhere, 13, false, "passed");
    row("Down from the menu bar", press(key::Down), FocusElsewhere, 13, false, "passed");
    // Square by square, then the sink; past the last square the page lets the browser go on.
    row("Tab on a square", press(key::Tab), 7, 13, true, "taken: to 8");
    row("Shift+Tab on a square", press(key::Tab, Shift), 7, 13, false, "taken: to 6");
    row("Tab on the last square", press(key::Tab), 25, 13, false, "taken: to sink");
    row("Tab on the page's last square", press(key::Tab), 25, 13, true, "passed");
    row("Shift+Tab on the page's first square", press(key::Tab, Shift), 1, 13, true, "taken: to sink");
    // Arrows in two dimensions, stopping at the edges: from each square, Left, Up, Right and Down.
    const int arrows[] {key::Left, key::Up, key::Right, key::Down};
    for (const auto& move : {std::array {1, 1, 1, 2, 6}, {10, 9, 5, 10, 15}, {13, 12, 8, 14, 18}, {21, 21, 16, 22, 21},
                             {25, 24, 20, 25, 25}})
        for (int k = 0; k < 4; ++k)
            row(QStringLiteral("arrow %1 from %2").arg(arrows[k]).arg(move[0]), press(arrows[k]), move[0], 1, k % 2,
                "taken: to " + std::to_string(move[std::size_t(k) + 1]));
    row("Shift+Down on a square", press(key::Down, Shift), 13, 1, false, "taken");
    row("Alt+Left, a browser's Back", press(key::Left, Alt), 13, 1, true, "passed");
    // Space and Enter click a focused square, and nothing else.
    row("Space on a square", press(key::Space), 13, 1, false, "taken: click 13");
    row("Shift+Enter on a square", press(key::Enter, Shift), 25, 1, true, "taken: click 25");
    row("Ctrl+Space on a square", press(key::Space, Ctrl), 13, 1, false, "passed");
    row("Space on the sink", press(key::Space), FocusOnSink, 13, false, "passed");
}

void TestWindow::keysDoWhatTheWindowSays()
{
    QFETCH(KeyPress, key);
    QFETCH(int, focus);
    QFETCH(int, lastPlayed);
    QFETCH(bool, page);
    QFETCH(QString, outcome);
    QCOMPARE(QString::fromStdString(describe(keyOutcome(key, focus, lastPlayed, page ? Host::Page : Host::Desktop))),
             outcome);
}

void TestWindow::boxGoesOverTheBoardBelowTheLabelsAndStaysOnScreen_data()
{
    QTest::addColumn<QSize>("box");
    QTest::addColumn<Rect>("board");
    QTest::addColumn<Rect>("workArea");
    QTest::addColumn<Rect>("placed");
    // A client area at (100, 100): the board 116..364 across, 252..500 down; the label row ends 1 below its top.
    const Rect board {116, 252, 248, 248}, screen {0, 0, 1280, 1000};
    QTest::newRow("centred on the board") << QSize(200, 100) << board << screen << Rect {140, 326, 200, 100};
    QTest::newRow("taller than the board below the labels") << QSize(200, 300) << board << screen << Rect {140, 253, 200, 300};
    QTest::newRow("wider than the board") << QSize(400, 100) << board << screen << Rect {40, 326, 400, 100};
    QTest::newRow("window hanging off the bottom of the work area")
        << QSize(200, 100) << Rect {116, 900, 248, 248} << screen << Rect {140, 900, 200, 100};
    QTest::newRow("window off the right edge") << QSize(200, 100) << Rect {1200, 252, 248, 248} << screen
                                               << Rect {1080, 326, 200, 100};
    QTest::newRow("work area below a top panel") << QSize(200, 100) << Rect {116, -100, 248, 248} << Rect {0, 40, 1280, 960}
                                                 << Rect {140, 40, 200, 100};
    QTest::newRow("box larger than the screen") << QSize(2000, 1200) << board << screen << Rect {0, 0, 2000, 1200};
}

void TestWindow::boxGoesOverTheBoardBelowTheLabelsAndStaysOnScreen()
{
    QFETCH(QSize, box);
    QFETCH(Rect, board);
    QFETCH(Rect, workArea);
    QFETCH(Rect, placed);
    QCOMPARE(placeMessageBox(box.width(), box.height(), board, board.top + 1, workArea), placed);
}

void TestWindow::boxIgnoresPressesWithinTheDoubleClickTimeAndColoursAreNamed()
{
    // ms after the box appeared (below 0: a press stamped before it), with the system's time or the usual one (0).
    for (const auto& [doubleClick, after, takes] : {std::tuple {500, 0, false}, {500, 120, false}, {500, 499, false},
                                                    {500, 500, true}, {500, -50, false}, {400, 450, true},
                                                    {0, 499, false}, {0, 500, true}}) {
        PressGuard guard = doubleClick ? PressGuard(doubleClick) : PressGuard();
        guard.boxShown(86'400'000); // a day into the session, as a steady clock reads
        QCOMPARE(guard.takesPress(86'400'000 + after), takes);
    }
    for (const auto& [color, name] : {std::pair {Red, "red"}, {Green, "green"}, {0x563412, "#123456"}, {0, "#000000"}})
        QCOMPARE(names::colorName(color), std::string(name));
}

void TestWindow::formPlaysTheGameAndRemembersTheSquarePlayedLast()
{
    using Calls = std::vector<std::string>;
    Toolkit form;
    form.game().Deal();
    QCOMPARE(form.calls, (Calls {"timer off", "time 0"}));
    form.fill(neighbourhood(13));
    // A click plays the game, starts the clock once (a running one keeps its second), and is where
    // the keyboard comes back to.
    QCOMPARE(form.during([&] { form.click(7); }), (Calls {"timer on", "sink"}));
    QCOMPARE(form.during([&] { form.click(7); form.click(7); }), (Calls {"sink", "sink"}));
    QCOMPARE(form.during([&] { QVERIFY(form.key(press(key::Down), FocusOnSink)); }), (Calls {"take", "square 7"}));
    // Space on a square clicks it and makes it the square played last.
    QCOMPARE(form.during([&] { form.key(press(key::Space), 18); }), (Calls {"take", "sink"}));
    QCOMPARE(form.squareColor(23), Green); // switched by the click on 18
    QCOMPARE(form.lastPlayed(), SquareIndex(18));
    // The key is taken before a box opens: the page must stop the browser before the box waits.
    QCOMPARE(form.during([&] { form.key(press('I', Ctrl), 18); }),
             (Calls {"take", "Instructions: " + std::string(texts::Instructions)}));
    QCOMPARE(form.during([&] { form.tick(); }), (Calls {"time 1"})); // help leaves the clock running
    QCOMPARE(form.during([&] { form.key(press(key::Escape), FocusElsewhere); }), (Calls {"take", "sink", "timer off"}));
    QCOMPARE(form.during([&] { form.tick(); }), Calls {}); // a stopped clock counts nothing
    QCOMPARE(form.during([&] { QVERIFY(!form.key(press('Q'), FocusOnSink)); }), Calls {});
    QCOMPARE(form.during([&] { form.choose(Command::Exit); }), Calls {"exit"});
    // A new game, by key or by a win, starts the keyboard again at the first square.
    form.key(press('N', Ctrl), 18);
    QCOMPARE(form.lastPlayed(), SquareIndex(1));
    form.click(7);
    form.fill(neighbourhood(9));
    QCOMPARE(form.during([&] { form.click(9); }),
             (Calls {"sink", "timer off", "Zarquel: " + std::string(texts::WinMessage), "timer off", "time 0"}));
    QCOMPARE(form.lastPlayed(), SquareIndex(1));
}

QTEST_APPLESS_MAIN(TestWindow)
#include "tst_window.moc"
