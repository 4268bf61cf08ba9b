// Clock accuracy: the real window and its real timer under a stream of clicks, shown count against the wall clock.
#include "qtboard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

using namespace zarquel;

namespace {

QAbstractButton* findSquare(const QtWindow& window, int index)
{
    for (auto* square : window.findChildren<QAbstractButton*>(QStringLiteral("cmdSquare"))) {
        if (square->property("Index").toInt() == index)
            return square;
    }
    return nullptr;
}

} // namespace

int main(int argc, char* argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral(
        "Runs the game's window with its real one-second timer while a square is clicked every "
        "300 to 700 ms, then compares the seconds shown with the wall clock."));
    options.addHelpOption();
    const QCommandLineOption secondsOption(QStringLiteral("seconds"), QStringLiteral("How long to run (default 60)."),
                                           QStringLiteral("N"), QStringLiteral("60"));
    options.addOption(secondsOption);
    const QCommandLineOption quickOption(QStringLiteral("quick"), QStringLiteral("One second, judged by nothing."));
    options.addOption(quickOption);
    options.process(app);
    bool valid = false;
    const bool quick = options.isSet(quickOption);
    const int seconds = quick ? 1 : options.value(secondsOption).toInt(&valid);
    valid = valid || quick;
    if (!valid || seconds < 1) {
        std::fprintf(stderr, "clock_accuracy: --seconds wants a whole number of at least 1\n");
        return 2;
    }

    QtWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 2;
    auto* time = window.findChild<QLabel*>(QStringLiteral("lblTime"));
    QAbstractButton* square = findSquare(window, 13);
    if (!time || !square)
        return 2;
    // From all green, one square clicked back and forth can never win.
    for (int k = 1; k <= SquareCount; ++k)
        paintSquare(window, SquareIndex(k), Green);

    std::mt19937 rng(20260501);
    std::uniform_int_distribution<int> gap(300, 700);
    QElapsedTimer wall;
    int clicks = 0;
    int worst = 0;
    long long samples = 0;

    const auto shown = [&] { return time->text().toInt(); };
    const auto whole = [&] { return int(wall.elapsed() / 1000); };

    QTimer clicker;
    clicker.setSingleShot(true);
    clicker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        QTest::mouseClick(square, Qt::LeftButton);
        ++clicks;
        clicker.start(gap(rng));
    });

    // Between clicks and ticks alike, the shown count against the wall clock.
    QTimer sampler;
    sampler.setTimerType(Qt::PreciseTimer);
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        worst = std::max(worst, std::abs(shown() - whole()));
        ++samples;
    });

    // Tick k is due k seconds after the first click, which started the timer.
    auto* tmrTime = window.findChild<QTimer*>(QStringLiteral("tmrTime"));
    if (!tmrTime)
        return 2;
    std::vector<double> lateness; // ms, one per tick
    QObject::connect(tmrTime, &QTimer::timeout, [&] {
        lateness.push_back(wall.nsecsElapsed() / 1e6 - 1000.0 * window.session().game().ElapsedSeconds());
    });

    QTimer progress;
    progress.setTimerType(Qt::PreciseTimer);
    QObject::connect(&progress, &QTimer::timeout, [&] {
        std::printf("  %7.3f s  shown %d\n", wall.nsecsElapsed() / 1e9, shown());
        std::fflush(stdout);
    });

    // Read half-way through the last second: a tick due on the boundary itself
    // would otherwise make the reading a coin toss.
    int result = 0;
    QTimer::singleShot(seconds * 1000 + 500, Qt::PreciseTimer, &app, [&] {
        const double elapsed = wall.nsecsElapsed() / 1e9;
        const int count = shown();
        const int difference = count - int(elapsed);
        const bool within = std::abs(difference) <= 1 && worst <= 1;
        const auto [early, late] = std::minmax_element(lateness.begin(), lateness.end());
        std::printf("clock accuracy over %d s with %d clicks (one every 300-700 ms):\n"
                    "  wall clock since the first click  %.3f s (%d whole seconds)\n"
                    "  count shown                       %d  (ElapsedSeconds %d)\n"
                    "  difference                        %+d\n"
                    "  worst |shown - whole seconds|     %d over %lld samples every 50 ms\n"
                    "  tick k against k s after click 1  %+.1f ms to %+.1f ms over %zu ticks (last %+.1f ms)\n"
                    "  target |difference| <= 1          %s\n",
                    seconds, clicks, elapsed, int(elapsed), count, window.session().game().ElapsedSeconds(), difference,
                    worst, samples, lateness.empty() ? 0.0 : *early, lateness.empty() ? 0.0 : *late,
                    lateness.size(), lateness.empty() ? 0.0 : lateness.back(), within ? "met" : "MISSED");
        result = within || quick ? 0 : 1;
        app.exit(result);
    });

    std::printf("running the clock for %d s...\n", seconds);
    std::fflush(stdout);
    wall.start();
    QTest::mouseClick(square, Qt::LeftButton);
    clicks = 1;
    clicker.start(gap(rng));
    sampler.start(50);
    progress.start(10000);
    app.exec();
    return result;
}
