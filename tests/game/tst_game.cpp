// The rules of play against an in-memory board: moves, wins, deals and the clock.
#include "fakeboardview.h"
#include "fakechance.h"
#include "game.h"
#include "neighbourhood.h"

#include <QtTest>

#include <algorithm>
#include <set>

using namespace zarquel;

namespace {


struct Table {
    FakeBoardView view;
    ScriptedRandom random;
    FixedTimeOfDay timeOfDay;
    Game game {view, random, timeOfDay};

    explicit Table(std::vector<float> script = {0.7f}) : random(std::move(script)) {}
};

} // namespace

class TestGame : public QObject {
    Q_OBJECT

private slots:
    void toggleRowIsTheSquareAndItsNeighbours_data();
    void toggleRowIsTheSquareAndItsNeighbours();
    void clickSwitchesExactlyItsNeighbourhoodInTableOrder_data();
    void clickSwitchesExactlyItsNeighbourhoodInTableOrder();
    void clickingTwiceRestoresTheBoard();
    void switchTurnsOnlyExactRedGreen_data();
    void switchTurnsOnlyExactRedGreen();
    void outOfRangeSquaresAreLeftAlone_data();
    void outOfRangeSquaresAreLeftAlone();
    void outOfRangeClickStillStartsClockAndCounts();
    void clickStartsClockThenFocusesSinkBeforeSwitching();
    void winningClickStopsClockAnnouncesThenDeals();
    void onlyAllTwentyFiveRedIsAWin_data();
    void onlyAllTwentyFiveRedIsAWin();
    void dealThatHappensToBeAllRedShowsNothing();
    void dealPicksColourFromHalves_data();
    void dealPicksColourFromHalves();
    void dealReseedsFromTimeOfDayEveryTime();
    void dealRefusesValueOutsideUnitInterval();
    void clockFollowsItsStateTable();
    void pauseKeepsCountTextAndBoard();
    void ticksCountAndShowPlainSeconds();
    void dealsAreFairAndIndependentOverManySeeds();
    void dealsAFractionOfASecondApartDiffer_data();
    void dealsAFractionOfASecondApartDiffer();
};

void TestGame::toggleRowIsTheSquareAndItsNeighbours_data()
{
    QTest::addColumn<int>("square");
    QTest::addColumn<int>("size");
    for (int square = 1; square <= SquareCount; ++square) {
        const int row = (square - 1) / BoardSide;
        const int column = (square - 1) % BoardSide;
        const int borders = (row == 0 || row == 4) + (column == 0 || column == 4);
        const char* kind = borders == 2 ? "corner" : borders == 1 ? "edge" : "inside";
        QTest::addRow("%s %d", kind, square) << square << 5 - borders;
    }
}

void TestGame::toggleRowIsTheSquareAndItsNeighbours()
{
    QFETCH(int, square);
    QFETCH(int, size);
    const ToggleRow& row = ToggleTable[static_cast<std::size_t>(square - 1)];
    QCOMPARE(int(row.size), size);
    const std::set<int> listed(row.begin(), row.end());
    QCOMPARE(int(listed.size()), size); // each square at most once
    QVERIFY(listed == neighbourhood(square));
    // Switching is symmetric: if a switches b, b switches a.
    for (int other : listed) {
        const ToggleRow& back = ToggleTable[static_cast<std::size_t>(other - 1)];
        QVERIFY(std::find(back.begin(), back.end(), square) != back.end());
    }
}

void TestGame::clickSwitchesExactlyItsNeighbourhoodInTableOrder_data()
{
    QTest::addColumn<int>("square");
    QTest::addColumn<QList<int>>("switched");
    QTest::newRow("top left corner") << 1 << QList<int> {1, 2, 6};
    QTest::newRow("centre") << 13 << QList<int> {8, 12, 13, 14, 18};
    QTest::newRow("bottom left corner") << 21 << QList<int> {16, 21, 22};
    QTest::newRow("top edge") << 2 << QList<int> {2, 1, 7, 3};
    QTest::newRow("odd order inside") << 14 << QList<int> {14, 9, 19, 13, 15};
    QTest::newRow("bottom right corner") << 25 << QList<int> {20, 25, 24};
}

void TestGame::clickSwitchesExactlyItsNeighbourhoodInTableOrder()
{
    QFETCH(int, square);
    QFETCH(QList<int>, switched);
    Table table;
    table.view.colors = FakeBoardView::filled(Green);
    table.view.calls.clear();

    table.game.SquareClick(square);

    QList<int> written;
    for (const auto& call : table.view.calls) {
        if (call.rfind("write ", 0) == 0)
            written << std::stoi(call.substr(6));
    }
    QCOMPARE(written, switched);
    for (int k = 1; k <= SquareCount; ++k)
        QCOMPARE(table.view.colors[k - 1], switched.contains(k) ? Red : Green);
    QCOMPARE(int(table.game.RedCount()), int(switched.size()));
}

void TestGame::clickingTwiceRestoresTheBoard()
{
    Table table({0.1f, 0.6f, 0.8f, 0.3f, 0.55f, 0.2f, 0.9f});
    table.game.Deal();
    table.view.setSquareColor(19, 0x123456); // a stray colour takes a round trip too
    const auto before = table.view.colors;
    for (int square = 1; square <= SquareCount; ++square) {
        if (square == 14 || square == 18 || square == 19 || square == 20 || square == 24)
            continue; // these would turn the stray square red
        table.game.SquareClick(square);
        table.game.SquareClick(square);
        QVERIFY2(table.view.colors == before, qPrintable(QString("square %1").arg(square)));
    }
}

void TestGame::switchTurnsOnlyExactRedGreen_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    QTest::newRow("red") << Red << Green;
    QTest::newRow("green") << Green << Red;
    QTest::newRow("stray colour") << 0x123456 << Red;
    QTest::newRow("nearly red") << (Red | 0x000100) << Red;
    QTest::newRow("black") << 0 << Red;
}

void TestGame::switchTurnsOnlyExactRedGreen()
{
    QFETCH(int, before);
    QFETCH(int, after);
    Table table;
    table.view.colors = FakeBoardView::filled(Green);
    table.view.colors[6] = before;
    table.game.SwitchColor(7);
    QCOMPARE(table.view.colors[6], after);
    QCOMPARE(table.view.redSquares(), int(after == Red));
}

void TestGame::outOfRangeSquaresAreLeftAlone_data()
{
    QTest::addColumn<qlonglong>("square");
    QTest::newRow("zero") << 0LL;
    QTest::newRow("one past the board") << 26LL;
    QTest::newRow("negative") << -1LL;
    QTest::newRow("wraps to 1 in 16 bits") << 65537LL;
    QTest::newRow("wraps to 13 in 32 bits") << (1LL << 32) + 13;
}

void TestGame::outOfRangeSquaresAreLeftAlone()
{
    QFETCH(qlonglong, square);
    Table table;
    table.view.colors = FakeBoardView::filled(Green);
    table.game.SwitchColor(square);
    table.game.SquareClick(square);
    QVERIFY(table.view.colors == FakeBoardView::filled(Green));
}

void TestGame::outOfRangeClickStillStartsClockAndCounts()
{
    Table table;
    table.view.colors = FakeBoardView::filled(Green);
    table.view.colors[3] = Red;
    table.game.SquareClick(0);
    QVERIFY(table.view.clockEnabled);
    QCOMPARE(table.view.focusCount, 1);
    QCOMPARE(int(table.game.RedCount()), 1);

    // The count after it is what decides a win, even with nothing switched.
    table.view.colors = FakeBoardView::filled(Red);
    table.game.SquareClick(99);
    QCOMPARE(int(table.view.messages.size()), 1);
}

void TestGame::clickStartsClockThenFocusesSinkBeforeSwitching()
{
    Table table;
    table.view.colors = FakeBoardView::filled(Green);
    table.view.calls.clear();
    table.game.SquareClick(7);
    QVERIFY(table.view.calls.size() > 2);
    QCOMPARE(table.view.calls[0], "enable");
    QCOMPARE(table.view.calls[1], "focus");
    QVERIFY(table.view.clockEnabled);

    table.game.SquareClick(8); // already running: stays running
    QVERIFY(table.view.clockEnabled);
    QCOMPARE(table.view.focusCount, 2);
}

void TestGame::winningClickStopsClockAnnouncesThenDeals()
{
    Table table({0.75f}); // every deal is all green
    table.view.colors = FakeBoardView::filled(Red);
    for (int square : {1, 2, 6})
        table.view.colors[square - 1] = Green;
    table.game.SquareClick(8);
    table.game.ClockTick();
    table.game.ClockTick();
    table.game.SquareClick(8); // back to one click from solved, clock running

    bool clockRanDuringMessage = true;
    std::string textBehindMessage;
    int redBehindMessage = 0;
    table.view.whileMessageOpen = [&] {
        clockRanDuringMessage = table.view.clockEnabled;
        textBehindMessage = table.view.timeText;
        redBehindMessage = table.view.redSquares();
    };
    table.view.calls.clear();
    table.game.SquareClick(1);

    QCOMPARE(int(table.view.messages.size()), 1);
    QCOMPARE(table.view.messages[0].text, "Congratulations!  You have turned every square red.");
    QCOMPARE(table.view.messages[0].title, ""); // the game's own name
    QVERIFY(!clockRanDuringMessage);
    QCOMPARE(textBehindMessage, "2"); // the final time stays up behind the message
    QCOMPARE(redBehindMessage, SquareCount);

    const auto message = std::find(table.view.calls.begin(), table.view.calls.end(),
                                   "message " + std::string(texts::WinMessage));
    QVERIFY(message != table.view.calls.end());
    QCOMPARE(*(message - 1), "disable");
    QCOMPARE(*(message + 1), "disable"); // the deal
    QCOMPARE(*(message + 2), "text 0");

    QVERIFY(table.view.colors == FakeBoardView::filled(Green));
    QVERIFY(!table.view.clockEnabled);
    QCOMPARE(table.view.timeText, "0");
    QCOMPARE(table.game.ElapsedSeconds(), 0);
    QCOMPARE(int(table.game.RedCount()), 0);
}

void TestGame::onlyAllTwentyFiveRedIsAWin_data()
{
    QTest::addColumn<int>("square");
    QTest::addColumn<int>("redAfter");
    // The red ones run on from the clicked square (from 0) or from the one after it (from 1),
    // so with 24 the green one is a switched neighbour, an untouched square or the clicked one.
    QTest::addColumn<int>("from");
    QTest::newRow("24 red, a switched neighbour green") << 13 << 24 << 0;
    QTest::newRow("24 red, an untouched square green") << 1 << 24 << 0;
    QTest::newRow("24 red, the clicked corner green") << 25 << 24 << 1;
    QTest::newRow("24 red, the clicked edge green") << 3 << 24 << 1;
    // Every other count below 25, clicked all over the board.
    for (int red = 0; red < 24; ++red)
        QTest::addRow("%d red", red) << (red * 7) % SquareCount + 1 << red << red % 2;
    QTest::newRow("25 red, corner") << 1 << 25 << 0;
    QTest::newRow("25 red, centre") << 13 << 25 << 0;
}

void TestGame::onlyAllTwentyFiveRedIsAWin()
{
    QFETCH(int, square);
    QFETCH(int, redAfter);
    QFETCH(int, from);
    // The board the click should leave, and the one before it worked out backwards.
    std::array<SquareColor, SquareCount> after = FakeBoardView::filled(Green);
    for (int k = 0; k < redAfter; ++k)
        after[static_cast<std::size_t>((square - 1 + from + k) % SquareCount)] = Red;
    Table table({0.75f}); // a deal would turn everything green
    table.view.colors = after;
    for (int k : neighbourhood(square))
        table.view.colors[k - 1] = after[k - 1] == Red ? Green : Red;

    table.game.SquareClick(square);

    QCOMPARE(int(table.game.RedCount()), redAfter == SquareCount ? 0 : redAfter);
    if (redAfter < SquareCount) {
        QVERIFY(table.view.messages.empty());
        QVERIFY(table.random.seeds.empty()); // nothing dealt
        QVERIFY(table.view.colors == after);
        QVERIFY(table.view.clockEnabled);
    } else {
        QCOMPARE(int(table.view.messages.size()), 1);
        QCOMPARE(int(table.random.seeds.size()), 1);
        QVERIFY(table.view.colors == FakeBoardView::filled(Green));
    }
}

void TestGame::dealThatHappensToBeAllRedShowsNothing()
{
    Table table({0.0f});
    table.view.colors = FakeBoardView::filled(Green);
    table.game.Deal();
    QCOMPARE(table.view.redSquares(), SquareCount);
    QVERIFY(table.view.messages.empty());
    // No click can leave an all-red board all red.
    table.game.SquareClick(13);
    QCOMPARE(table.view.redSquares(), SquareCount - 5);
    QVERIFY(table.view.messages.empty());
}

void TestGame::dealPicksColourFromHalves_data()
{
    QTest::addColumn<float>("r");
    QTest::addColumn<int>("color");
    QTest::newRow("zero") << 0.0f << Red;
    QTest::newRow("just under a half") << std::nextafter(0.5f, 0.0f) << Red;
    QTest::newRow("a half") << 0.5f << Green;
    QTest::newRow("just under one") << std::nextafter(1.0f, 0.0f) << Green;
}

void TestGame::dealPicksColourFromHalves()
{
    QFETCH(float, r);
    QFETCH(int, color);
    Table table({r});
    table.view.colors = FakeBoardView::filled(0x123456);
    table.view.calls.clear();
    table.game.Deal();
    QVERIFY(table.view.colors == FakeBoardView::filled(color));
    // Squares are written once each, in index order.
    int expected = 1;
    for (const auto& call : table.view.calls) {
        if (call.rfind("write ", 0) == 0)
            QCOMPARE(std::stoi(call.substr(6)), expected++);
    }
    QCOMPARE(expected, SquareCount + 1);
}

void TestGame::dealReseedsFromTimeOfDayEveryTime()
{
    Table table;
    table.game.Deal();
    table.timeOfDay.seconds = 3600.25f;
    table.game.Deal();
    QCOMPARE(table.random.seeds, (std::vector<float> {45296.5f, 3600.25f}));
}

void TestGame::dealRefusesValueOutsideUnitInterval()
{
    Table table({1.0f});
    QVERIFY_THROWS_EXCEPTION(std::logic_error, table.game.Deal());
}

void TestGame::clockFollowsItsStateTable()
{
    Table table;
    auto& view = table.view;
    auto& game = table.game;

    game.Deal();
    QVERIFY(!view.clockEnabled);
    game.SquareClick(3);
    QVERIFY(view.clockEnabled);
    game.ClockTick();
    game.PauseClock();
    QVERIFY(!view.clockEnabled);
    game.PauseClock(); // pausing a stopped clock changes nothing
    QVERIFY(!view.clockEnabled);
    QCOMPARE(view.timeText, "1");
    game.SquareClick(3); // resumes from the shown value, not from 0
    game.ClockTick();
    QCOMPARE(view.timeText, "2");
    game.Deal(); // New Game while running
    QVERIFY(!view.clockEnabled);
    QCOMPARE(view.timeText, "0");
    QCOMPARE(game.ElapsedSeconds(), 0);
}

void TestGame::pauseKeepsCountTextAndBoard()
{
    Table table({0.2f, 0.7f});
    table.game.Deal();
    table.game.SquareClick(12);
    for (int i = 0; i < 4; ++i)
        table.game.ClockTick();
    const auto board = table.view.colors;
    table.view.calls.clear();
    table.game.PauseClock();
    QCOMPARE(table.view.calls, std::vector<std::string> {"disable"});
    QVERIFY(table.view.colors == board);
    QCOMPARE(table.view.timeText, "4");
    QCOMPARE(table.game.ElapsedSeconds(), 4);
}

void TestGame::ticksCountAndShowPlainSeconds()
{
    Table table;
    table.game.Deal();
    QStringList shown;
    for (int second = 1; second <= 3600; ++second) {
        table.game.ClockTick();
        if (second == 1 || second == 59 || second == 60 || second == 3600)
            shown << QString::fromStdString(table.view.timeText);
    }
    QCOMPARE(shown, (QStringList {"1", "59", "60", "3600"}));
    QCOMPARE(table.game.ElapsedSeconds(), 3600);
}

void TestGame::dealsAreFairAndIndependentOverManySeeds()
{
    FakeBoardView view;
    StandardRandomSource random;
    FixedTimeOfDay timeOfDay;
    Game game(view, random, timeOfDay);

    constexpr int deals = 4000;
    std::array<int, SquareCount> red {};
    std::array<int, SquareCount - 1> bothRed {}; // each square with the next
    for (int deal = 0; deal < deals; ++deal) {
        // Successive seeds a few milliseconds apart, as quick deals would get.
        timeOfDay.seconds = 40000.0f + deal * 0.0078125f;
        game.Deal();
        for (int k = 0; k < SquareCount; ++k) {
            QVERIFY(view.colors[k] == Red || view.colors[k] == Green);
            red[k] += view.colors[k] == Red;
            if (k + 1 < SquareCount)
                bothRed[k] += view.colors[k] == Red && view.colors[k + 1] == Red;
        }
    }
    // Seeds are pinned, so these bounds (about six standard deviations) never flake.
    for (int k = 0; k < SquareCount; ++k) {
        QVERIFY2(std::abs(red[k] / double(deals) - 0.5) < 0.05, qPrintable(QString::number(k + 1)));
        if (k + 1 < SquareCount)
            QVERIFY2(std::abs(bothRed[k] / double(deals) - 0.25) < 0.045, qPrintable(QString::number(k + 1)));
    }
}

void TestGame::dealsAFractionOfASecondApartDiffer_data()
{
    QTest::addColumn<float>("first");
    QTest::addColumn<float>("second");
    QTest::newRow("just after midnight") << 0.0f << 0.25f;
    QTest::newRow("half a second") << 45296.0f << 45296.5f;
    QTest::newRow("a tenth of a second") << 45296.3f << 45296.4f;
    QTest::newRow("within the last second of the day") << 86399.0f << 86399.75f;
    QTest::newRow("the finest step the seed holds") << 50000.0f << std::nextafter(50000.0f, 60000.0f);
}

void TestGame::dealsAFractionOfASecondApartDiffer()
{
    QFETCH(float, first);
    QFETCH(float, second);
    // The real generator: a seed cut to whole seconds would deal the same board twice.
    FakeBoardView view;
    StandardRandomSource random;
    FixedTimeOfDay timeOfDay;
    Game game(view, random, timeOfDay);
    timeOfDay.seconds = first;
    game.Deal();
    const auto firstBoard = view.colors;
    timeOfDay.seconds = second;
    game.Deal();
    QVERIFY(view.colors != firstBoard);
}

QTEST_APPLESS_MAIN(TestGame)
#include "tst_game.moc"
