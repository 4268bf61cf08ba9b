// The real generator and clock behind the deal.
#include "chance.h"

#include <QThread>
#include <QTime>
#include <QtTest>

#include <vector>

using namespace zarquel;

class TestChance : public QObject {
    Q_OBJECT

private slots:
    void sameSeedRepeatsTheSequence();
    void seedsAFewMillisecondsApartDiffer();
    void valuesStayInsideUnitInterval();
    void timeOfDayMatchesTheWallClock();
    void timeOfDayKeepsTheFractionOfTheSecond();
};

static std::vector<float> draw(StandardRandomSource& random, int count)
{
    std::vector<float> values;
    for (int i = 0; i < count; ++i)
        values.push_back(random.next());
    return values;
}

void TestChance::sameSeedRepeatsTheSequence()
{
    StandardRandomSource random;
    random.reseed(1234.5f);
    const auto first = draw(random, 25);
    random.reseed(1234.5f);
    QVERIFY(draw(random, 25) == first);
}

void TestChance::seedsAFewMillisecondsApartDiffer()
{
    StandardRandomSource random;
    random.reseed(50000.0f);
    const auto first = draw(random, 25);
    random.reseed(std::nextafter(50000.0f, 60000.0f));
    QVERIFY(draw(random, 25) != first);
}

void TestChance::valuesStayInsideUnitInterval()
{
    StandardRandomSource random;
    random.reseed(0.0f);
    float lowest = 1.0f;
    float highest = 0.0f;
    for (int i = 0; i < 1'000'000; ++i) {
        const float r = random.next();
        QVERIFY(r >= 0.0f && r < 1.0f);
        lowest = std::min(lowest, r);
        highest = std::max(highest, r);
    }
    QVERIFY(lowest < 1e-4f);
    QVERIFY(highest > 1.0f - 1e-4f);
}

void TestChance::timeOfDayMatchesTheWallClock()
{
    const double expected = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
    const double seconds = SystemTimeOfDay().secondsSinceMidnight();
    QVERIFY(seconds >= 0.0 && seconds < 86400.0);
    // Around midnight the two readings may sit on either side of it.
    QVERIFY2(std::abs(seconds - expected) < 2.0 || std::abs(seconds - expected) > 86398.0,
             qPrintable(QString("%1 vs %2").arg(seconds).arg(expected)));
}

void TestChance::timeOfDayKeepsTheFractionOfTheSecond()
{
    // A reading cut to whole seconds is always whole; a true one almost never is.
    // Readings a few milliseconds apart, up to three seconds' worth, settle it.
    const SystemTimeOfDay timeOfDay;
    bool fractionSeen = false;
    for (int reading = 0; reading < 300 && !fractionSeen; ++reading) {
        const float seconds = timeOfDay.secondsSinceMidnight();
        fractionSeen = seconds != std::floor(seconds);
        if (!fractionSeen)
            QThread::msleep(10);
    }
    QVERIFY(fractionSeen);
}

QTEST_APPLESS_MAIN(TestChance)
#include "tst_chance.moc"
