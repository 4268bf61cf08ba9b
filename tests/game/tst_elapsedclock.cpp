// The seconds count: plain digits, and a top it never passes.
#include "elapsedclock.h"

#include <QtTest>

using zarquel::ElapsedClock;

class TestElapsedClock : public QObject {
    Q_OBJECT

private slots:
    void textIsPlainDigits_data();
    void textIsPlainDigits();
    void countStopsAtTheTopInsteadOfWrapping();
    void resetReturnsToZero();
};

void TestElapsedClock::textIsPlainDigits_data()
{
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0 << "0";
    QTest::newRow("a minute less one") << 59 << "59";
    QTest::newRow("a minute") << 60 << "60";
    QTest::newRow("an hour") << 3600 << "3600";
    QTest::newRow("no grouping") << 1234567 << "1234567";
    QTest::newRow("top") << ElapsedClock::Top << "2147483647";
}

void TestElapsedClock::textIsPlainDigits()
{
    QFETCH(int, seconds);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(ElapsedClock(seconds).text()), text);
}

void TestElapsedClock::countStopsAtTheTopInsteadOfWrapping()
{
    ElapsedClock clock(ElapsedClock::Top - 2);
    QVERIFY(clock.tick());
    QVERIFY(clock.tick());
    QCOMPARE(clock.seconds(), ElapsedClock::Top);
    for (int i = 0; i < 3; ++i) {
        QVERIFY(!clock.tick());
        QCOMPARE(clock.seconds(), ElapsedClock::Top);
    }
}

void TestElapsedClock::resetReturnsToZero()
{
    ElapsedClock clock(ElapsedClock::Top);
    clock.reset();
    QCOMPARE(clock.seconds(), 0);
    QVERIFY(clock.tick());
    QCOMPARE(clock.text(), "1");
}

QTEST_APPLESS_MAIN(TestElapsedClock)
#include "tst_elapsedclock.moc"
