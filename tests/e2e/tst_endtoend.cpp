// The real zarquel binary in a real X server, driven by the real mouse and keyboard.
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
    void ctrlXEndsTheProgramCleanly();

private:
    QImage grab() const;
    // The centre of square k, in window pixels.
    QPoint centre(int square) const;
    bool isRed(const QImage& shot, int square) const;

    QProcess game;
    QString window;
    int scale = 1;
    int clientTop = 0;
};

void TestEndToEnd::initTestCase()
{
    QVERIFY2(qEnvironmentVariableIsSet("DISPLAY"), "needs an X server: run under xvfb-run");
    scale = qEnvironmentVariableIntValue("QT_SCALE_FACTOR") > 1 ? qEnvironmentVariableIntValue("QT_SCALE_FACTOR") : 1;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    game.setProcessEnvironment(environment);
    game.setProcessChannelMode(QProcess::ForwardedChannels);
    game.start(QStringLiteral(ZARQUEL_BINARY), {});
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

void TestEndToEnd::ctrlXEndsTheProgramCleanly()
{
    xdotool({"key", "--clearmodifiers", "ctrl+x"});
    QVERIFY2(game.waitForFinished(10000), "still running after Ctrl+X");
    QCOMPARE(game.exitStatus(), QProcess::NormalExit);
    QCOMPARE(game.exitCode(), 0);
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
