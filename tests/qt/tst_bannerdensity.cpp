// The title banner at fractional scales and across screens of different density.
#include "qtwindow.h"

#include <QLabel>
#include <QScreen>
#include <QWindow>
#include <QtTest>

class TestBannerDensity : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void bannerComesFromTheSourceForTheScale();
    void movingToAScreenOfAnotherDensitySwapsTheBanner_data();
    void movingToAScreenOfAnotherDensitySwapsTheBanner();

private:
    QScreen* screenNamed(const QString& name) const;
    QPixmap banner() const;
    std::unique_ptr<QtWindow> window;
};

// The CTest entry sets QT_SCALE_FACTOR and two offscreen screens, "plain" at
// 96 dpi and "dense" at 192 dpi (see tests/CMakeLists.txt).
static qreal scaleFactor()
{
    const QByteArray value = qgetenv("QT_SCALE_FACTOR");
    return value.isEmpty() ? 1.0 : value.toDouble();
}

// Any density above one deserves the banner drawn at twice the size.
static QSize expectedSourceSize(qreal ratio)
{
    return ratio > 1.0 ? QSize(324, 248) : QSize(162, 124);
}

QScreen* TestBannerDensity::screenNamed(const QString& name) const
{
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen->name() == name)
            return screen;
    }
    return nullptr;
}

QPixmap TestBannerDensity::banner() const
{
    return window->findChild<QLabel*>(QStringLiteral("imgTitle"))->pixmap();
}

void TestBannerDensity::initTestCase()
{
    QVERIFY2(screenNamed("plain") && screenNamed("dense"), "run with the two-screen offscreen configuration");
    window = std::make_unique<QtWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestBannerDensity::bannerComesFromTheSourceForTheScale()
{
    window->windowHandle()->setScreen(screenNamed("plain"));
    QCOMPARE(window->devicePixelRatioF(), scaleFactor());
    QCOMPARE(banner().size(), expectedSourceSize(scaleFactor()));
    // Whatever the source, the banner keeps its place and size in the layout.
    QCOMPARE(banner().deviceIndependentSize(), QSizeF(162, 124));
}

void TestBannerDensity::movingToAScreenOfAnotherDensitySwapsTheBanner_data()
{
    QTest::addColumn<QStringList>("route");
    QTest::newRow("to the dense screen") << QStringList {"plain", "dense"};
    QTest::newRow("back to the plain screen") << QStringList {"dense", "plain"};
    QTest::newRow("there and back") << QStringList {"plain", "dense", "plain"};
}

void TestBannerDensity::movingToAScreenOfAnotherDensitySwapsTheBanner()
{
    QFETCH(QStringList, route);
    for (const QString& name : route) {
        window->windowHandle()->setScreen(screenNamed(name));
        QCoreApplication::processEvents();
        const qreal ratio = scaleFactor() * (name == "dense" ? 2.0 : 1.0);
        QCOMPARE(window->devicePixelRatioF(), ratio);
        QVERIFY2(banner().size() == expectedSourceSize(ratio), qPrintable(name));
        QCOMPARE(banner().deviceIndependentSize(), QSizeF(162, 124));
    }
}

QTEST_MAIN(TestBannerDensity)
#include "tst_bannerdensity.moc"
