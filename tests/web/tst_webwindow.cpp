// The page's window on the host: what it asks of page.js, and which events reach the game when.
#include "frmzarquel.h"
#include "page.h"
#include "texts.h"

#include <QtTest>

#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace zarquel;
using zarquel::web::Command;
using zarquel::web::KeyPress;

namespace {

// page.js as the window sees it: what each call last set, and the box's "open" time.
struct FakePage {
    std::map<std::string, std::string> texts;
    std::array<int, SquareCount + 1> colors {};
    bool clock = false;
    int clockStarts = 0;
    int focus = -1;
    int consumed = 0;
    int menu = -1;
    bool ended = false;
    bool ready = false;
    std::vector<std::string> messages;
    std::function<void()> whileOpen;
} page;

} // namespace

extern "C" {
void jsSetText(const char* id, const char* text) { page.texts[id] = text; }
void jsPaintSquare(int index, int color, const char*) { page.colors.at(std::size_t(index)) = color; }
void jsSetClock(int running)
{
    page.clockStarts += running && !page.clock;
    page.clock = running;
}
void jsFocus(int square) { page.focus = square; }
void jsConsumeKey() { ++page.consumed; }
void jsOpenMenu(int which) { page.menu = which; }
void jsEnd() { page.ended = true; }
void jsReady() { page.ready = true; }
void jsShowMessage(const char* text, const char* title)
{
    page.messages.push_back(std::string(title) + ": " + text);
    if (auto open = std::exchange(page.whileOpen, nullptr))
        open();
}
} // extern "C"

class TestWebWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void loadDealsThenSaysReadyAndLeavesTheMarkupTextsAlone();
    void ticksCountOnlyWhileTheClockRunsAndClicksNeverRestartIt();
    void onlyTheClockReachesTheGameWhileABoxIsOpen();
    void winShowsTheRedBoardBehindTheBoxThenDealsAndTabStartsAgain();
    void exitStopsTheClockAndTakesNoMoreInput();

private:
    void solveAllButSquare13(frmZarquel& form);
    std::string time() { return page.texts["lblTime"]; }
};

void TestWebWindow::init()
{
    page = FakePage();
}

void TestWebWindow::loadDealsThenSaysReadyAndLeavesTheMarkupTextsAlone()
{
    frmZarquel form;
    form.load();
    QVERIFY(page.ready && !page.clock);
    // Only the count: every other text is in index.html from the build (tst_pagemarkup).
    QCOMPARE(int(page.texts.size()), 1);
    QCOMPARE(time(), std::string("0"));
    for (int square = 1; square <= SquareCount; ++square) {
        QVERIFY(page.colors[std::size_t(square)] == Red || page.colors[std::size_t(square)] == Green);
        QCOMPARE(form.squareColor(SquareIndex(square)), page.colors[std::size_t(square)]);
    }
}

void TestWebWindow::ticksCountOnlyWhileTheClockRunsAndClicksNeverRestartIt()
{
    frmZarquel form;
    form.load();
    form.tmrTimeTick();
    QCOMPARE(time(), std::string("0"));
    for (const int square : {7, 7, 13})
        form.squareClicked(square);
    QVERIFY(page.clock && form.clockRunning());
    QCOMPARE(page.clockStarts, 1);
    QCOMPARE(page.focus, 0);
    form.tmrTimeTick();
    QCOMPARE(time(), std::string("1"));
    QVERIFY(form.keyDown({web::key::Escape, false, false, false}, web::FocusOnSink));
    form.tmrTimeTick();
    QCOMPARE(time(), std::string("1"));
    QVERIFY(!page.clock);
    form.squareClicked(0); // no such square: nothing at all
    QVERIFY(!page.clock);
}

void TestWebWindow::onlyTheClockReachesTheGameWhileABoxIsOpen()
{
    frmZarquel form;
    form.load();
    form.squareClicked(12);
    const auto colors = page.colors;
    page.whileOpen = [&] {
        form.squareClicked(1);
        form.menuChosen(Command::NewGame);
        form.menuChosen(Command::About); // no second box over the first
        QVERIFY(form.keyDown({web::key::F2, false, false, false}, web::FocusOnSink)); // kept from the browser, not dealt
        QVERIFY(!form.keyDown({web::key::Tab, false, false, false}, web::FocusOnSink));
        QCOMPARE(page.focus, 0);
        // The browser keeps no shortcut of the game's (Ctrl+P would print), but Escape is the box's.
        QVERIFY(form.keyDown({'P', true, false, false}, web::FocusElsewhere));
        QVERIFY(!form.keyDown({web::key::Escape, false, false, false}, web::FocusElsewhere));
        form.tmrTimeTick();
        form.tmrTimeTick();
    };
    QVERIFY(form.keyDown({'I', true, false, false}, web::FocusOnSink));
    QCOMPARE(page.messages, std::vector<std::string> {"Instructions: " + std::string(texts::Instructions)});
    QCOMPARE(page.colors, colors);
    QVERIFY(page.clock);
    QCOMPARE(time(), std::string("2"));
    // Closed, the game takes everything again.
    form.menuChosen(Command::About);
    QCOMPARE(page.messages.back(), "About Zarquel: " + std::string(texts::About));
    QVERIFY(form.keyDown({web::key::Tab, false, false, false}, web::FocusOnSink));
    QCOMPARE(page.focus, 12);
}

void TestWebWindow::solveAllButSquare13(frmZarquel& form)
{
    for (int square = 1; square <= SquareCount; ++square)
        form.setSquareColor(SquareIndex(square), Red);
    for (const SquareIndex square : {8, 12, 13, 14, 18})
        form.setSquareColor(square, Green);
}

void TestWebWindow::winShowsTheRedBoardBehindTheBoxThenDealsAndTabStartsAgain()
{
    frmZarquel form;
    form.load();
    form.squareClicked(3);
    form.tmrTimeTick();
    solveAllButSquare13(form);
    bool seen = false;
    page.whileOpen = [&] {
        for (int square = 1; square <= SquareCount; ++square)
            QCOMPARE(page.colors[std::size_t(square)], Red);
        QVERIFY(!page.clock);
        QCOMPARE(time(), std::string("1"));
        seen = true;
    };
    form.squareClicked(13);
    QVERIFY(seen);
    QCOMPARE(page.messages.back(), "Zarquel: " + std::string(texts::WinMessage));
    QCOMPARE(time(), std::string("0"));
    QVERIFY(!page.clock);
    form.keyDown({web::key::Tab, false, true, false}, web::FocusOnSink); // Shift+Tab
    QCOMPARE(page.focus, 1);
    // New Game, too, sends Tab back to the first square.
    form.squareClicked(19);
    form.menuChosen(Command::NewGame);
    form.keyDown({web::key::Tab, false, false, false}, web::FocusOnSink);
    QCOMPARE(page.focus, 1);
}

void TestWebWindow::exitStopsTheClockAndTakesNoMoreInput()
{
    frmZarquel form;
    form.load();
    form.squareClicked(5);
    QVERIFY(form.keyDown({'X', true, false, false}, web::FocusOnSink));
    QVERIFY(page.ended);
    QVERIFY(!page.clock && !form.clockRunning());
    const auto colors = page.colors;
    form.squareClicked(5);
    form.tmrTimeTick();
    form.menuChosen(Command::NewGame);
    QVERIFY(!form.keyDown({'N', true, false, false}, web::FocusOnSink));
    QCOMPARE(page.colors, colors);
    QCOMPARE(time(), std::string("0"));
    QVERIFY(!page.clock);
    QVERIFY(page.messages.empty());
}

QTEST_APPLESS_MAIN(TestWebWindow)
#include "tst_webwindow.moc"
