// One square on its own: what assistive technology hears, keyboard use and the focus mark.
#include "qtwindow.h"
#include "squarebutton.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QtTest>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

using namespace zarquel;

namespace {

std::vector<std::pair<QObject*, QAccessible::Event>> announced;

void recordAnnouncement(QAccessibleEvent* event)
{
    announced.emplace_back(event->object(), event->type());
}

} // namespace

class TestSquareButton : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void nameSaysWhereTheSquareIs_data();
    void nameSaysWhereTheSquareIs();
    void descriptionFollowsColourAndIsAnnounced_data();
    void descriptionFollowsColourAndIsAnnounced();
    void focusedSquareIsClickedByKeys_data();
    void focusedSquareIsClickedByKeys();
    void focusMarkOnlyWithFocusAndCentreStaysExact();
    void mouseClickLeavesNoFocus();

private:
    std::unique_ptr<QWidget> parent;
};

void TestSquareButton::initTestCase()
{
    // Offscreen has no screen reader; switch Qt's accessibility on as one would.
    QAccessible::installUpdateHandler(recordAnnouncement);
    QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
    QVERIFY(QAccessible::isActive());
}

void TestSquareButton::init()
{
    parent = std::make_unique<QWidget>();
    parent->resize(100, 100);
    // As in the window, something else holds the focus to begin with.
    auto* sink = new QPushButton(parent.get());
    sink->move(50, 50);
    sink->setFocus();
    announced.clear();
}

void TestSquareButton::cleanup()
{
    parent.reset();
}

void TestSquareButton::nameSaysWhereTheSquareIs_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::newRow("top left") << 1 << "Square 1, row 1, column 1";
    QTest::newRow("inside") << 7 << "Square 7, row 2, column 2";
    QTest::newRow("right edge") << 15 << "Square 15, row 3, column 5";
    QTest::newRow("bottom left") << 21 << "Square 21, row 5, column 1";
    QTest::newRow("bottom right") << 25 << "Square 25, row 5, column 5";
}

void TestSquareButton::nameSaysWhereTheSquareIs()
{
    QFETCH(int, index);
    QFETCH(QString, name);
    // Named from the window's table of controls as the window makes them.
    QtWindow window;
    SquareButton* square = nullptr;
    for (auto* made : window.findChildren<SquareButton*>(QStringLiteral("cmdSquare")))
        square = made->index() == index ? made : square;
    QVERIFY(square);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(square);
    QCOMPARE(accessible->text(QAccessible::Name), name);
    QCOMPARE(accessible->role(), QAccessible::Button);
    QVERIFY(accessible->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
}

void TestSquareButton::descriptionFollowsColourAndIsAnnounced_data()
{
    QTest::addColumn<int>("color");
    QTest::addColumn<QString>("description");
    QTest::newRow("green") << Green << "green";
    QTest::newRow("stray colour") << 0x563412 << "#123456";
}

void TestSquareButton::descriptionFollowsColourAndIsAnnounced()
{
    QFETCH(int, color);
    QFETCH(QString, description);
    auto* square = new SquareButton(5, parent.get());
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(square);
    QCOMPARE(accessible->text(QAccessible::Description), "red");
    announced.clear();

    square->setColor(color);
    QCOMPARE(accessible->text(QAccessible::Description), description);
    const auto heard = std::count(announced.begin(), announced.end(),
                                  std::pair<QObject*, QAccessible::Event>(square, QAccessible::DescriptionChanged));
    QCOMPARE(heard, 1);

    square->setColor(Red);
    QCOMPARE(accessible->text(QAccessible::Description), "red");
    announced.clear();
    square->setColor(Red); // no change, nothing to say
    QVERIFY(announced.empty());
}

void TestSquareButton::focusedSquareIsClickedByKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("clicks");
    QTest::newRow("space") << int(Qt::Key_Space) << 0 << 1;
    QTest::newRow("return") << int(Qt::Key_Return) << 0 << 1;
    QTest::newRow("keypad enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << 1;
    QTest::newRow("shift+space") << int(Qt::Key_Space) << int(Qt::ShiftModifier) << 1;
    QTest::newRow("a letter") << int(Qt::Key_A) << 0 << 0;
    // A button's own keys would click on these; the window says they do nothing.
    QTest::newRow("ctrl+space") << int(Qt::Key_Space) << int(Qt::ControlModifier) << 0;
    QTest::newRow("ctrl+return") << int(Qt::Key_Return) << int(Qt::ControlModifier) << 0;
}

void TestSquareButton::focusedSquareIsClickedByKeys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, clicks);
    // The window's keys reach a square before the button's own.
    QtWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    SquareButton* square = nullptr;
    for (auto* made : window.findChildren<SquareButton*>(QStringLiteral("cmdSquare")))
        square = made->index() == 13 ? made : square;
    square->setFocus(Qt::TabFocusReason);
    const SquareColor before = square->color();
    QTest::keyClick(square, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(square->color() != before, clicks == 1);
    QCOMPARE(window.session().clockRunning(), clicks == 1);
}

void TestSquareButton::focusMarkOnlyWithFocusAndCentreStaysExact()
{
    auto* square = new SquareButton(1, parent.get());
    square->setGeometry(0, 0, 41, 41);
    square->setColor(Green);
    parent->show();
    QVERIFY(QTest::qWaitForWindowExposed(parent.get()));

    const auto countOff = [&](const QImage& shot) {
        int off = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                off += shot.pixelColor(x, y) != QColor(0, 255, 0);
        return off;
    };
    QCOMPARE(countOff(square->grab().toImage()), 0);

    square->setFocus(Qt::TabFocusReason);
    QVERIFY(square->hasFocus());
    const QImage focused = square->grab().toImage();
    QVERIFY(countOff(focused) > 40);
    QCOMPARE(focused.pixelColor(20, 20), QColor(0, 255, 0));
}

void TestSquareButton::mouseClickLeavesNoFocus()
{
    auto* square = new SquareButton(1, parent.get());
    parent->show();
    QVERIFY(QTest::qWaitForWindowExposed(parent.get()));
    QSignalSpy clicked(square, &QPushButton::clicked);
    QTest::mouseClick(square, Qt::LeftButton);
    QCOMPARE(clicked.size(), 1);
    QVERIFY(!square->hasFocus());
}

QTEST_MAIN(TestSquareButton)
#include "tst_squarebutton.moc"
