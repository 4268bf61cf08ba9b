// The real game in a real X server, driven by the real mouse and keyboard: the Linux binary, or
// any other command in ZARQUEL_COMMAND (the Windows exe under Wine), at ZARQUEL_E2E_SCALE if given.
#include "neighbourhood.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QtTest>

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
    clientTop = before.height() - 394 * scale;
    QCOMPARE(before.pixelColor(1, clientTop + 1), QColor(Qt::black));
    QVERIFY(before.pixelColor(1, clientTop - 2) != QColor(Qt::black)); // the menu bar

    for (int k = 1; k <= 25; ++k) {
        const QColor color = before.pixelColor(centre(k));
        QVERIFY2(color == QColor(255, 0, 0) || color == QColor(0, 255, 0),
                 qPrintable(QString("square %1 shows %2").arg(k).arg(color.name())));
    }
    zero = timeText();
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

void TestEndToEnd::ctrlXEndsTheProgramCleanly()
{
    key(QStringLiteral("ctrl+x"));
    QVERIFY2(game.waitForFinished(10000), "still running after Ctrl+X");
    QCOMPARE(game.exitStatus(), QProcess::NormalExit);
    QCOMPARE(game.exitCode(), 0);
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
