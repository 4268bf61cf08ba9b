// The real game in a real X server, driven by the real mouse and keyboard: the Linux binary, or
// any other command in ZARQUEL_COMMAND (the Windows exe under Wine), at ZARQUEL_E2E_SCALE if given.
#include "neighbourhood.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QtTest>

#include <algorithm>
#include <array>
#include <optional>
#include <set>

namespace {

// xdotool's answer, or an empty string if it failed or hung.
QString xdotool(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("timeout"), QStringList {QStringLiteral("10"), QStringLiteral("xdotool")} + arguments);
    if (!process.waitForFinished(15000) || process.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

using Board = std::array<bool, 25>; // true: red

// The fewest clicks that turn the board all red, or none: each choice on the top row, chased down the rows.
std::optional<std::set<int>> solve(const Board& start)
{
    std::optional<std::set<int>> best;
    for (int top = 0; top < 32; ++top) {
        Board board = start;
        std::set<int> clicks;
        for (int k = 1; k <= 25; ++k) {
            if (k <= 5 ? !(top >> (k - 1) & 1) : board[std::size_t(k - 6)])
                continue;
            clicks.insert(k);
            for (const int s : neighbourhood(k))
                board[std::size_t(s - 1)] = !board[std::size_t(s - 1)];
        }
        if (std::count(board.begin(), board.end(), true) == 25 && (!best || clicks.size() < best->size()))
            best = clicks;
    }
    return best;
}


} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void windowShowsExactBoardAndClickSwitchesNeighbourhood();
    void escapeAndCtrlPPauseTheClock();
    void ctrlNDealsAndShowsZero();
    void instructionsLeaveTheClockRunning();
    void keysPlayTheSquarePlayedLast();
    void doubleClickThatWinsLeavesTheCongratulationOpen();
    void ctrlXEndsTheProgramCleanly();

private:
    QImage grab() const;
    // The centre of square k, in window pixels.
    QPoint centre(int square) const;
    bool isRed(const QImage& shot, int square) const;
    // What lblTime shows, as pixels.
    QImage timeText() const;
    void key(const QString& keys);
    void click(int square);
    // Whether the shown time changes within a few seconds, that is the clock runs.
    bool clockRuns() const;
    // Whether the shown time stays put for over two seconds.
    bool clockStands() const;
    // Deals until `square` (any, for 0) is one of the fewest clicks that solve the board, and plays the others.
    void playAllButTheWinningClick(int square);
    // Ctrl+N, then the new board once it is painted whole: every square pure red or green, two
    // grabs alike, unlike the board before (or the same after ten seconds, as long as a loaded
    // machine may take; a new board ends the wait at once).
    std::array<bool, 25> dealAfresh();
    // The congratulation over the window (the one box titled as the window is), if one is open.
    QString openBox() const;
    // Where a window is on the screen.
    QRect area(const QString& id) const;

    QProcess game;
    QString window;
    int scale = 1;
    int clientTop = 0;
    QImage zero; // lblTime at start, showing "0"
};

void TestEndToEnd::initTestCase()
{
    QVERIFY2(qEnvironmentVariableIsSet("DISPLAY"), "needs an X server: run under xvfb-run");
    scale = qEnvironmentVariableIntValue("QT_SCALE_FACTOR") > 1 ? qEnvironmentVariableIntValue("QT_SCALE_FACTOR") : 1;
    if (qEnvironmentVariableIsSet("ZARQUEL_E2E_SCALE"))
        scale = qEnvironmentVariableIntValue("ZARQUEL_E2E_SCALE");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    game.setProcessEnvironment(environment);
    game.setProcessChannelMode(QProcess::ForwardedChannels);
    QStringList command = QProcess::splitCommand(qEnvironmentVariable("ZARQUEL_COMMAND"));
    if (command.isEmpty())
        command = QStringList {QStringLiteral(ZARQUEL_BINARY)};
    game.start(command.takeFirst(), command);
    QVERIFY(game.waitForStarted());

    window = xdotool({"search", "--sync", "--onlyvisible", "--name", "^Zarquel$"}).section('\n', 0, 0);
    QVERIFY2(!window.isEmpty(), "no window titled Zarquel appeared");
    // No window manager here: give the window the keyboard ourselves.
    xdotool({"windowfocus", "--sync", window});
    QTest::qWait(500); // let the first paint land
    // The client area sits under the menu bar and fills the rest of the window; a fresh deal shows 0.
    clientTop = grab().height() - 394 * scale;
    zero = timeText();
}

void TestEndToEnd::cleanupTestCase()
{
    if (game.state() != QProcess::NotRunning) {
        game.kill();
        game.waitForFinished();
    }
}

QImage TestEndToEnd::grab() const
{
    return QGuiApplication::primaryScreen()->grabWindow(window.toULongLong()).toImage();
}

QPoint TestEndToEnd::centre(int square) const
{
    const int row = (square - 1) / 5, column = (square - 1) % 5;
    return QPoint((16 + 48 * column + 20) * scale, clientTop + (152 + 48 * row + 20) * scale);
}

bool TestEndToEnd::isRed(const QImage& shot, int square) const
{
    return shot.pixelColor(centre(square)) == QColor(255, 0, 0);
}

void TestEndToEnd::windowShowsExactBoardAndClickSwitchesNeighbourhood()
{
    const QImage before = grab();
    // The client area sits under the menu bar and fills the rest of the window.
    QCOMPARE(before.width(), 264 * scale);
    QVERIFY(before.height() > 394 * scale);
    QCOMPARE(before.pixelColor(1, clientTop + 1), QColor(Qt::black));
    QVERIFY(before.pixelColor(1, clientTop - 2) != QColor(Qt::black)); // the menu bar

    for (int k = 1; k <= 25; ++k) {
        const QColor color = before.pixelColor(centre(k));
        QVERIFY2(color == QColor(255, 0, 0) || color == QColor(0, 255, 0),
                 qPrintable(QString("square %1 shows %2").arg(k).arg(color.name())));
    }
    if (const QString shot = qEnvironmentVariable("ZARQUEL_SCREENSHOT"); !shot.isEmpty())
        QVERIFY(before.save(shot));

    const QPoint target = centre(13);
    xdotool({"mousemove", "--window", window, QString::number(target.x()), QString::number(target.y()),
             "click", "1"});
    const auto changed = [&] {
        const QImage after = grab();
        std::set<int> switched;
        for (int k = 1; k <= 25; ++k) {
            if (isRed(before, k) != isRed(after, k))
                switched.insert(k);
        }
        return switched;
    };
    QTRY_VERIFY_WITH_TIMEOUT(changed() == neighbourhood(13), 5000);
}

QImage TestEndToEnd::timeText() const
{
    // The label's designed box, less its bottom row where the board begins.
    return grab().copy(161 * scale, clientTop + 128 * scale, 41 * scale, 24 * scale);
}

void TestEndToEnd::key(const QString& keys)
{
    // Message boxes may have taken the keyboard: give it back to the game's window.
    xdotool({"windowfocus", "--sync", window});
    xdotool({"key", "--clearmodifiers", keys});
}

void TestEndToEnd::click(int square)
{
    const QPoint target = centre(square);
    xdotool({"mousemove", "--window", window, QString::number(target.x()), QString::number(target.y()),
             "click", "1"});
}

bool TestEndToEnd::clockRuns() const
{
    const QImage shown = timeText();
    QDeadlineTimer deadline(4000);
    while (!deadline.hasExpired()) {
        QTest::qWait(100);
        if (timeText() != shown)
            return true;
    }
    return false;
}

bool TestEndToEnd::clockStands() const
{
    const QImage shown = timeText();
    QTest::qWait(2300); // the real timer is what is tested: two ticks would have come
    return timeText() == shown;
}

void TestEndToEnd::escapeAndCtrlPPauseTheClock()
{
    for (const QString& keys : {QStringLiteral("Escape"), QStringLiteral("ctrl+p")}) {
        click(1);
        QVERIFY2(clockRuns(), "a click did not start the clock");
        key(keys);
        QVERIFY2(clockStands(), qPrintable(keys + " did not stop the clock"));
    }
}

void TestEndToEnd::ctrlNDealsAndShowsZero()
{
    click(7);
    QVERIFY2(clockRuns(), "a click did not start the clock");
    key(QStringLiteral("ctrl+n"));
    QTRY_VERIFY_WITH_TIMEOUT(timeText() == zero, 4000);
    QVERIFY2(clockStands(), "the clock runs after a new deal");
}

void TestEndToEnd::keysPlayTheSquarePlayedLast()
{
    // A fresh deal: Tab brings the focus to the first square, Space clicks it once, through the
    // real program's own handling of keys (a key the game used reaches no control as well).
    dealAfresh();
    const QImage before = grab();
    key(QStringLiteral("Tab"));
    key(QStringLiteral("space"));
    const auto switched = [&] {
        const QImage after = grab();
        std::set<int> changed;
        for (int k = 1; k <= 25; ++k)
            if (isRed(before, k) != isRed(after, k))
                changed.insert(k);
        return changed;
    };
    QTRY_VERIFY_WITH_TIMEOUT(switched() == neighbourhood(1), 5000);
    QTest::qWait(500); // a second click, the key's release handled as the control's own, would undo it
    QCOMPARE(switched(), neighbourhood(1));
    key(QStringLiteral("ctrl+n"));
}

void TestEndToEnd::instructionsLeaveTheClockRunning()
{
    click(19);
    QVERIFY2(clockRuns(), "a click did not start the clock");
    key(QStringLiteral("ctrl+i"));
    const QString box = xdotool({"search", "--sync", "--onlyvisible", "--name", "^Instructions$"}).section('\n', 0, 0);
    QVERIFY2(!box.isEmpty(), "no message box titled Instructions appeared");
    // No window manager: the box stays where it opened, over the clock, unless moved aside.
    xdotool({"windowmove", "--sync", box, "700", "0"});
    QVERIFY2(clockRuns(), "the clock stopped while Instructions is open");
    xdotool({"windowfocus", "--sync", box});
    xdotool({"key", "Return"});
    QTRY_VERIFY_WITH_TIMEOUT(xdotool({"search", "--onlyvisible", "--name", "^Instructions$"}).isEmpty(), 5000);
    QVERIFY2(clockRuns(), "the clock stopped after Instructions");
}

std::array<bool, 25> TestEndToEnd::dealAfresh()
{
    // Red or not per square; none while any square shows something else (a box not yet painted over).
    const auto board = [this]() -> std::optional<Board> {
        const QImage shot = grab();
        Board red {};
        for (int k = 1; k <= 25; ++k) {
            const QColor color = shot.pixelColor(centre(k));
            if (color != QColor(255, 0, 0) && color != QColor(0, 255, 0))
                return std::nullopt;
            red[std::size_t(k - 1)] = color == QColor(255, 0, 0);
        }
        return red;
    };
    std::optional<Board> before = board();
    QDeadlineTimer painted(10000);
    while (!before && !painted.hasExpired()) {
        QTest::qWait(50);
        before = board();
    }
    key(QStringLiteral("ctrl+n"));
    painted.setRemainingTime(10000);
    std::optional<Board> now = board();
    while (!painted.hasExpired()) {
        QTest::qWait(50);
        const std::optional<Board> again = board();
        if (now && again == now && now != before)
            break;
        now = again;
    }
    return now.value_or(Board {});
}

void TestEndToEnd::playAllButTheWinningClick(int square)
{
    std::optional<std::set<int>> clicks;
    for (int deal = 0; deal < 100 && !(clicks && (!square || clicks->count(square))); ++deal)
        clicks = solve(dealAfresh());
    QVERIFY2(clicks && (!square || clicks->count(square)), "no deal in 100 is solved through the square");
    for (const int k : *clicks)
        if (k != square)
            click(k);
}

QString TestEndToEnd::openBox() const
{
    for (const QString& found : xdotool({"search", "--onlyvisible", "--name", "^Zarquel$"}).split('\n'))
        if (!found.isEmpty() && found != window)
            return found;
    return {};
}

QRect TestEndToEnd::area(const QString& id) const
{
    QMap<QString, int> at;
    for (const QString& line : xdotool({"getwindowgeometry", "--shell", id}).split('\n'))
        at[line.section('=', 0, 0)] = line.section('=', 1).toInt();
    return QRect(at["X"], at["Y"], at["WIDTH"], at["HEIGHT"]);
}

void TestEndToEnd::doubleClickThatWinsLeavesTheCongratulationOpen()
{
    // Away from the screen's edges, where the box stands centred on the board.
    xdotool({"windowmove", "--sync", window, "300", "200"});
    // Where OK appears: a win, and the frame and caption of the box's one button, all that stands
    // out from its background in its lower part (the message stands above it).
    playAllButTheWinningClick(0);
    QTRY_VERIFY_WITH_TIMEOUT(!openBox().isEmpty(), 15000);
    QTest::qWait(1000); // painted, and past any double-click time
    const QRect congratulation = area(openBox()).translated(-area(window).topLeft());
    const QImage shot = QGuiApplication::primaryScreen()->grabWindow(openBox().toULongLong()).toImage();
    const QColor background = shot.pixelColor(4 * scale, shot.height() - 4 * scale);
    QRect button;
    for (int y = shot.height() * 55 / 100; y < shot.height() - 3 * scale; ++y)
        for (int x = 3 * scale; x < shot.width() - 3 * scale; ++x)
            if (const QColor c = shot.pixelColor(x, y); std::abs(c.lightness() - background.lightness()) > 40)
                button |= QRect(x, y, 1, 1);
    // The middle of the part of OK that covers the most of a square.
    const QRect ok = button.translated(congratulation.topLeft()).adjusted(2, 2, -2, -2);
    QRect covered;
    int square = 0;
    for (int k = 1; k <= 25; ++k) {
        const QRect both = ok & QRect(centre(k) - QPoint(20, 20) * scale, QSize(41, 41) * scale);
        if (both.width() * both.height() > covered.width() * covered.height())
            std::tie(covered, square) = std::pair(both, k);
    }
    const QPoint onOk = square ? covered.center() : ok.center();
    xdotool({"mousemove", "--window", window, QString::number(onOk.x()), QString::number(onOk.y()), "click", "1"});
    QTRY_VERIFY2_WITH_TIMEOUT(openBox().isEmpty(), "no OK where the box's button was looked for", 5000);
    QVERIFY2(square, "OK lies over no square: no double click on the board can reach it");
    qInfo("OK appears over square %d", square);

    // One click on that square from solved, then a double click there: its second press comes as
    // soon as the box is up, lands on OK inside the double-click time, and must not close it.
    // Sent as one burst, press, release, press, as a double click comes: however late the box appears,
    // the second press belongs to the gesture that opened it.
    playAllButTheWinningClick(square);
    xdotool({"mousemove", "--window", window, QString::number(onOk.x()), QString::number(onOk.y()), "mousedown", "1",
             "mouseup", "1", "mousedown", "1", "mouseup", "1"});
    QTRY_VERIFY_WITH_TIMEOUT(!openBox().isEmpty(), 15000);
    QTest::qWait(1000); // time for a press that would close it to land
    const QString box = openBox();
    QVERIFY2(!box.isEmpty(), "the double click closed the congratulation");
    QCOMPARE(area(box).size(), congratulation.size());
    xdotool({"windowfocus", "--sync", box});
    xdotool({"key", "Return"});
    QTRY_VERIFY_WITH_TIMEOUT(openBox().isEmpty(), 5000);
}

void TestEndToEnd::ctrlXEndsTheProgramCleanly()
{
    key(QStringLiteral("ctrl+x"));
    QVERIFY2(game.waitForFinished(10000), "still running after Ctrl+X");
    QCOMPARE(game.exitStatus(), QProcess::NormalExit);
    QCOMPARE(game.exitCode(), 0);
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
