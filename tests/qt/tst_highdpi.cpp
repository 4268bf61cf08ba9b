// The window at double scale: twice the size, exact colours, crisp edges and sharp pictures.
#include "qtwindow.h"
#include "squarebutton.h"

#include <QLabel>
#include <QtTest>

using namespace zarquel;

class TestHighDpi : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void windowIsExactlyTwiceTheDesignedSize();
    void squaresAreExactWithCrispEdges_data();
    void squaresAreExactWithCrispEdges();
    void bannerAndIconComeFromSourcesDrawnForTheScale();

private:
    SquareButton* square(int index) const;
    std::unique_ptr<QtWindow> window;
    QImage shot;
};

SquareButton* TestHighDpi::square(int index) const
{
    for (auto* button : window->findChildren<SquareButton*>(QStringLiteral("cmdSquare"))) {
        if (button->property("Index").toInt() == index)
            return button;
    }
    return nullptr;
}

void TestHighDpi::initTestCase()
{
    QCOMPARE(qgetenv("QT_SCALE_FACTOR"), QByteArray("2"));
    window = std::make_unique<QtWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(window->devicePixelRatioF(), 2.0);
    shot = window->centralWidget()->grab().toImage();
}

void TestHighDpi::windowIsExactlyTwiceTheDesignedSize()
{
    QCOMPARE(shot.size(), QSize(528, 788));
    QCOMPARE(window->centralWidget()->size(), QSize(264, 394));
}

void TestHighDpi::squaresAreExactWithCrispEdges_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("top left") << 1;
    QTest::newRow("centre") << 13;
    QTest::newRow("bottom right") << 25;
}

void TestHighDpi::squaresAreExactWithCrispEdges()
{
    QFETCH(int, index);
    const QRect logical = square(index)->geometry();
    const QRect physical(logical.topLeft() * 2, logical.size() * 2);
    const QColor color = SquareButton::toQColor(square(index)->color());
    // Every physical pixel inside is the colour; the ones just outside are the black gap.
    for (int y = physical.top(); y <= physical.bottom(); ++y) {
        QCOMPARE(shot.pixelColor(physical.left(), y), color);
        QCOMPARE(shot.pixelColor(physical.right(), y), color);
        QCOMPARE(shot.pixelColor(physical.left() - 1, y), QColor(Qt::black));
        QCOMPARE(shot.pixelColor(physical.right() + 1, y), QColor(Qt::black));
    }
    QCOMPARE(shot.pixelColor(physical.center()), color);
}

void TestHighDpi::bannerAndIconComeFromSourcesDrawnForTheScale()
{
    const QPixmap banner = window->findChild<QLabel*>(QStringLiteral("imgTitle"))->pixmap();
    QCOMPARE(banner.devicePixelRatio(), 2.0);
    QCOMPARE(banner.size(), QSize(324, 248));
    // Not the small banner blown up: a blow-up repeats every pixel in 2 x 2 blocks.
    const QImage image = banner.toImage();
    int unlikeNeighbours = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            unlikeNeighbours += image.pixel(x, y) != image.pixel(x + 1, y) || image.pixel(x, y) != image.pixel(x, y + 1);
    QVERIFY(unlikeNeighbours > 50);

    const QPixmap icon = window->windowIcon().pixmap(QSize(32, 32), 2.0);
    QCOMPARE(icon.size(), QSize(64, 64));
    QVERIFY(window->windowIcon().availableSizes().contains(QSize(64, 64)));
}

QTEST_MAIN(TestHighDpi)
#include "tst_highdpi.moc"
