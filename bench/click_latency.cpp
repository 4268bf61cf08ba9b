// Click latency and memory growth: click-to-repainted-board times over 10,000 clicks, resident memory over 10,000 deals.
#include "qtwindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QtTest>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

using namespace zarquel;

namespace {

// --quick: a few of each, to show the program still runs; nothing is judged.
int Clicks = 10000;
int Deals = 10000;
int WarmUp = 200;

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

std::vector<int> neighbourhood(int square)
{
    const int row = (square - 1) / BoardSide, column = (square - 1) % BoardSide;
    std::vector<int> result {square};
    if (row > 0) result.push_back(square - BoardSide);
    if (row < BoardSide - 1) result.push_back(square + BoardSide);
    if (column > 0) result.push_back(square - 1);
    if (column < BoardSide - 1) result.push_back(square + 1);
    return result;
}

// Counts the paint events each square gets, so the timing can prove the repaint happened.
class PaintCounter : public QObject {
public:
    std::array<int, SquareCount + 1> paints {};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints[std::size_t(watched->property("Index").toInt())];
        return false;
    }
};

double percentile(const std::vector<double>& sorted, double fraction)
{
    const auto rank = std::size_t(std::ceil(fraction * double(sorted.size())));
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

} // namespace

int main(int argc, char* argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool quick = app.arguments().contains(QStringLiteral("--quick"));
    if (quick)
        Clicks = 50, Deals = 20, WarmUp = 10;

    QtWindow window;
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        return 2;
    std::array<QAbstractButton*, SquareCount + 1> squares {};
    PaintCounter counter;
    for (auto* square : window.findChildren<QAbstractButton*>(QStringLiteral("cmdSquare"))) {
        squares[std::size_t(square->property("Index").toInt())] = square;
        square->installEventFilter(&counter);
    }
    auto* newGame = window.findChild<QAction*>(QStringLiteral("mnuNewGame"));
    if (!newGame || std::count(squares.begin() + 1, squares.end(), nullptr))
        return 2;

    std::mt19937 rng(20260501);
    std::uniform_int_distribution<int> anySquare(1, SquareCount);
    // A winning click would open a modal box and stall the run.
    const auto winsOn = [&](int k) {
        int red = 0;
        for (int s = 1; s <= SquareCount; ++s) {
            const auto hood = neighbourhood(k);
            const bool flips = std::find(hood.begin(), hood.end(), s) != hood.end();
            red += (window.session().color(SquareIndex(s)) == Red) != flips;
        }
        return red == SquareCount;
    };

    using Clock = std::chrono::steady_clock;
    std::vector<double> micros;
    micros.reserve(Clicks);
    int extraPasses = 0;
    const long beforeClicks = residentKiB();
    for (int i = -WarmUp; i < Clicks; ++i) { // the first few warm up
        int k = anySquare(rng);
        while (winsOn(k))
            k = anySquare(rng);
        const auto hood = neighbourhood(k);
        std::vector<int> paintsBefore;
        for (int s : hood)
            paintsBefore.push_back(counter.paints[std::size_t(s)]);
        const auto painted = [&] {
            for (std::size_t j = 0; j < hood.size(); ++j) {
                if (counter.paints[std::size_t(hood[j])] == paintsBefore[j])
                    return false;
            }
            return true;
        };

        const auto start = Clock::now();
        QTest::mouseClick(squares[std::size_t(k)], Qt::LeftButton);
        // One pass of the event loop paints the changed squares into the
        // window's backing store and flushes it to the platform.
        QCoreApplication::processEvents();
        while (!painted()) {
            ++extraPasses;
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
        const auto end = Clock::now();
        if (i >= 0)
            micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    const long afterClicks = residentKiB();

    std::sort(micros.begin(), micros.end());
    const double median = percentile(micros, 0.5);
    const double p99 = percentile(micros, 0.99);
    std::printf("click latency over %d clicks (mouse press to repainted board, offscreen):\n"
                "  median  %8.1f us   target < 1000 us  %s\n"
                "  p99     %8.1f us   target < 4000 us  %s\n"
                "  max     %8.1f us\n"
                "  clicks needing more than one event-loop pass to repaint: %d\n"
                "  resident memory before and after the clicks: %ld KiB, %ld KiB\n",
                Clicks, median, median < 1000 ? "met" : "MISSED", p99, p99 < 4000 ? "met" : "MISSED",
                micros.back(), extraPasses, beforeClicks, afterClicks);

    for (int i = 0; i < 10; ++i) {
        newGame->trigger();
        QCoreApplication::processEvents();
    }
    const long afterTen = residentKiB();
    for (int i = 10; i < Deals; ++i) {
        newGame->trigger();
        QCoreApplication::processEvents();
    }
    const long afterAll = residentKiB();
    const long growth = afterAll - afterTen;
    std::printf("resident memory over %d deals (New Game, each repainted):\n"
                "  after 10      %ld KiB\n"
                "  after %d   %ld KiB\n"
                "  growth        %+ld KiB   target <= 1024 KiB  %s\n",
                Deals, afterTen, Deals, afterAll, growth, growth <= 1024 ? "met" : "MISSED");

    const bool met = median < 1000 && p99 < 4000 && growth <= 1024;
    return met || quick ? 0 : 1;
}
