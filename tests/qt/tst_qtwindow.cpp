// The real window on the offscreen platform: layout, colours, clicks, clock, menus and messages.
#include "qtboard.h"
#include "squarebutton.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProxyStyle>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <set>

using namespace zarquel;

class TestQtWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void windowHasDesignedClientAreaAndCannotBeResized();
    void controlsSitAtTheirDesignedPlaces_data();
    void controlsSitAtTheirDesignedPlaces();
    void opensWithFreshBoardStoppedClockAndHiddenFocus();
    void squaresShowExactlyTheirColour();
    void labelsAreYellowAndReadInFull();
    void smallLabelsShareTheDesignedFaceAndAreCrisp_data();
    void smallLabelsShareTheDesignedFaceAndAreCrisp();
    void timeKeepsItsDesignedSizeUpToFourDigits_data();
    void timeKeepsItsDesignedSizeUpToFourDigits();
    void clickSwitchesItsNeighbourhoodOnScreen_data();
    void clickSwitchesItsNeighbourhoodOnScreen();
    void winningClickCongratulatesThenDealsAfresh();
    void winBoxLeavesTitleAndFinalTimeInView_data();
    void winBoxLeavesTitleAndFinalTimeInView();
    void everyMessageBoxIsBareAndHandsTheKeyboardBack_data();
    void everyMessageBoxIsBareAndHandsTheKeyboardBack();
    void pauseStopsClockAndKeepsCount_data();
    void pauseStopsClockAndKeepsCount();
    void newGameMidGameDealsAndStopsClock();
    void helpBoxesLeaveRunningClockAlone_data();
    void helpBoxesLeaveRunningClockAlone();
    void otherKeysDoNothing_data();
    void otherKeysDoNothing();
    void clicksFasterThanASecondDoNotStallClock();
    void menusCarryTheirCaptionsAndShortcuts();
    void tabReachesSquaresAndAKeyClickReturnsFocus();
    void tabFromTheSinkReturnsToTheSquarePlayedLast_data();
    void tabFromTheSinkReturnsToTheSquarePlayedLast();
    void arrowsMoveAcrossTheBoardAndStopAtItsEdges_data();
    void arrowsMoveAcrossTheBoardAndStopAtItsEdges();
    void escapeLeavesMenuBarKeyboardModeAndPauses();
    void escapeInAnOpenBoxOrMenuClosesItWithoutPausing_data();
    void escapeInAnOpenBoxOrMenuClosesItWithoutPausing();
    void controlsTellAssistiveTechnologyWhatTheyAre();

private:
    SquareButton* square(int index) const;
    QLabel* label(const char* name) const { return window->findChild<QLabel*>(QLatin1String(name)); }
    QTimer* clock() const { return window->findChild<QTimer*>(QStringLiteral("tmrTime")); }
    QWidget* takeFocus() const { return window->findChild<QWidget*>(QStringLiteral("cmdTakeFocus")); }
    QAction* action(const char* name) const { return window->findChild<QAction*>(QLatin1String(name)); }
    void fill(SquareColor color);
    // Leaves the board one click on square 8 from solved.
    void setUpNearWin();
    // Opens the box `which` names (win, Instructions or About) and waits until it is closed.
    void openBox(const QString& which);
    // One second of the clock, delivered as tmrTime would: only while it runs.
    void tick();
    std::array<SquareColor, SquareCount> board() const;
    // Reads and closes the next message box, once `delay` ms into its being open.
    void whenMessageOpens(std::function<void(QMessageBox*)> inspect, int delay = 0);

    std::unique_ptr<QtWindow> window;
    bool messageHandled = false;
};

SquareButton* TestQtWindow::square(int index) const
{
    for (auto* button : window->findChildren<SquareButton*>(QStringLiteral("cmdSquare"))) {
        if (button->property("Index").toInt() == index)
            return button;
    }
    return nullptr;
}

void TestQtWindow::fill(SquareColor color)
{
    for (SquareIndex k = 1; k <= SquareCount; ++k)
        paintSquare(*window, k, color);
}

void TestQtWindow::setUpNearWin()
{
    fill(Red);
    for (int k : {3, 7, 8, 9, 13})
        paintSquare(*window, SquareIndex(k), Green);
}

void TestQtWindow::openBox(const QString& which)
{
    if (which == "win") {
        setUpNearWin();
        QTest::mouseClick(square(8), Qt::LeftButton);
    } else {
        QTest::keyClick(QApplication::focusWidget(), which == "About" ? Qt::Key_A : Qt::Key_I, Qt::ControlModifier);
    }
}

void TestQtWindow::tick()
{
    if (clock()->isActive())
        window->apply(window->session().tick());
}

std::array<SquareColor, SquareCount> TestQtWindow::board() const
{
    std::array<SquareColor, SquareCount> colors {};
    for (SquareIndex k = 1; k <= SquareCount; ++k)
        colors[k - 1] = square(k)->color(); // as shown
    return colors;
}

void TestQtWindow::whenMessageOpens(std::function<void(QMessageBox*)> inspect, int delay)
{
    messageHandled = false;
    QTimer::singleShot(delay, this, [this, inspect] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        messageHandled = true;
        inspect(box);
        box->button(QMessageBox::Ok)->click();
    });
}

void TestQtWindow::init()
{
    window = std::make_unique<QtWindow>();
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
}

void TestQtWindow::cleanup()
{
    window.reset();
}

void TestQtWindow::windowHasDesignedClientAreaAndCannotBeResized()
{
    QCOMPARE(window->windowTitle(), "Zarquel");
    QWidget* client = window->centralWidget();
    QCOMPARE(client->size(), QSize(264, 394));
    QVERIFY(client->geometry().top() >= window->menuBar()->geometry().bottom());
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QVERIFY(!window->windowIcon().isNull());
    QCOMPARE(window->windowIcon().pixmap(32).size(), QSize(32, 32));
    const QImage shot = client->grab().toImage();
    for (QPoint corner : {QPoint(1, 1), QPoint(262, 392), QPoint(1, 392)})
        QCOMPARE(shot.pixelColor(corner), QColor(Qt::black));
}

void TestQtWindow::controlsSitAtTheirDesignedPlaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("title") << "imgTitle" << 0 << QRect(50, 5, 162, 124);
    QTest::newRow("wasted") << "lblWasted" << 0 << QRect(16, 133, 145, 17);
    QTest::newRow("time") << "lblTime" << 0 << QRect(161, 128, 41, 25);
    QTest::newRow("seconds") << "lblSeconds" << 0 << QRect(208, 133, 43, 17);
    QTest::newRow("focus sink") << "cmdTakeFocus" << 0 << QRect(280, 184, 81, 33);
    QTest::newRow("top left square") << "cmdSquare" << 1 << QRect(16, 152, 41, 41);
    QTest::newRow("top right square") << "cmdSquare" << 5 << QRect(208, 152, 41, 41);
    QTest::newRow("centre square") << "cmdSquare" << 13 << QRect(112, 248, 41, 41);
    QTest::newRow("bottom left square") << "cmdSquare" << 21 << QRect(16, 344, 41, 41);
    QTest::newRow("bottom right square") << "cmdSquare" << 25 << QRect(208, 344, 41, 41);
}

void TestQtWindow::controlsSitAtTheirDesignedPlaces()
{
    QFETCH(QString, name);
    QFETCH(int, index);
    QFETCH(QRect, geometry);
    QWidget* widget = index ? square(index) : window->findChild<QWidget*>(name);
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget(), window->centralWidget());
    QCOMPARE(widget->geometry(), geometry);
}

void TestQtWindow::opensWithFreshBoardStoppedClockAndHiddenFocus()
{
    QCOMPARE(label("lblTime")->text(), "0");
    QVERIFY(!clock()->isActive());
    QCOMPARE(clock()->interval(), 1000);
    // The box's guard counts the system's own double-click time.
    QCOMPARE(window->session().doubleClickMs(), QApplication::doubleClickInterval());
    for (SquareColor color : board())
        QVERIFY(color == Red || color == Green);
    QCOMPARE(QApplication::focusWidget(), takeFocus());
    QVERIFY(takeFocus()->isVisible() && takeFocus()->isEnabled());
    QVERIFY(takeFocus()->x() >= window->centralWidget()->width());
    QCOMPARE(window->findChild<QLabel*>("imgTitle")->pixmap().size(), QSize(162, 124));
}

void TestQtWindow::squaresShowExactlyTheirColour()
{
    fill(Green);
    paintSquare(*window, 1, Red);
    paintSquare(*window, 7, 0x563412); // 0x00BBGGRR: red 0x12, green 0x34, blue 0x56
    QCOMPARE(window->session().color(7), 0x563412);
    const QImage shot = window->centralWidget()->grab().toImage();
    for (int k = 1; k <= SquareCount; ++k) {
        const QPoint centre = square(k)->geometry().center();
        const QColor expected = k == 1 ? QColor(255, 0, 0) : k == 7 ? QColor(0x12, 0x34, 0x56) : QColor(0, 255, 0);
        QCOMPARE(shot.pixelColor(centre), expected);
        QCOMPARE(shot.pixelColor(square(k)->geometry().topLeft() + QPoint(2, 2)), expected);
        QVERIFY(square(k)->text().isEmpty());
    }
}

void TestQtWindow::labelsAreYellowAndReadInFull()
{
    const QImage shot = window->centralWidget()->grab().toImage();
    const int top = label("lblTime")->geometry().top();
    for (const char* name : {"lblWasted", "lblTime", "lblSeconds"}) {
        QLabel* text = label(name);
        QVERIFY(QFontMetrics(text->font()).horizontalAdvance(text->text()) <= text->width());
        QVERIFY(qAbs(text->geometry().center().y() - label("lblTime")->geometry().center().y()) <= 2);
        QVERIFY(text->geometry().top() >= window->findChild<QWidget*>("imgTitle")->geometry().bottom() - 1);
        QVERIFY(top < square(1)->y());
        int yellow = 0;
        const QRect area = text->geometry();
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                yellow += shot.pixelColor(x, y).red() > 150 && shot.pixelColor(x, y).green() > 150
                          && shot.pixelColor(x, y).blue() < 60; // anti-aliased yellow
        QVERIFY2(yellow > 5, name);
    }
    // A long count shrinks rather than being cut off.
    showTime(*window, "2147483647");
    QVERIFY(QFontMetrics(label("lblTime")->font()).horizontalAdvance("2147483647") <= label("lblTime")->width());
}

void TestQtWindow::smallLabelsShareTheDesignedFaceAndAreCrisp_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("wasted") << "lblWasted";
    QTest::newRow("seconds") << "lblSeconds";
}

void TestQtWindow::smallLabelsShareTheDesignedFaceAndAreCrisp()
{
    QFETCH(QString, name);
    QLabel* text = label(qPrintable(name));
    // A face with the designed metrics, at the designed 8 points, the same for both.
    QCOMPARE(QFontInfo(text->font()).family(), "Liberation Sans");
    QCOMPARE(text->font().pointSizeF(), 8.0);
    QCOMPARE(text->font(), label("lblWasted")->font());
    const int width = QFontMetrics(text->font()).horizontalAdvance(text->text());
    QVERIFY2(width <= text->width() && width >= text->width() - 12, qPrintable(QString::number(width)));
    // Stems on whole pixels reach the designed yellow; blurred text never does.
    const QImage shot = text->grab().toImage();
    int pure = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            pure += shot.pixelColor(x, y) == QColor(255, 255, 0);
    QVERIFY2(pure >= 3 * text->text().size(), qPrintable(QString::number(pure)));
}

void TestQtWindow::timeKeepsItsDesignedSizeUpToFourDigits_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<bool>("designedSize");
    QTest::newRow("one digit") << "7" << true;
    QTest::newRow("four digits") << "9999" << true;
    QTest::newRow("five digits") << "10000" << false;
    QTest::newRow("largest count") << "2147483647" << false;
}

void TestQtWindow::timeKeepsItsDesignedSizeUpToFourDigits()
{
    QFETCH(QString, count);
    QFETCH(bool, designedSize);
    showTime(*window, count.toStdString());
    QLabel* time = label("lblTime");
    QCOMPARE(time->text(), count);
    QCOMPARE(QFontInfo(time->font()).family(), "Liberation Sans");
    QCOMPARE(time->font().pointSizeF() == 13.5, designedSize);
    QVERIFY(QFontMetrics(time->font()).horizontalAdvance(count) <= time->width());
}

void TestQtWindow::clickSwitchesItsNeighbourhoodOnScreen_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QList<int>>("switched");
    QTest::newRow("corner") << 1 << QList<int> {1, 2, 6};
    QTest::newRow("edge") << 10 << QList<int> {5, 9, 10, 15};
    QTest::newRow("centre") << 13 << QList<int> {8, 12, 13, 14, 18};
    QTest::newRow("bottom corner") << 21 << QList<int> {16, 21, 22};
}

void TestQtWindow::clickSwitchesItsNeighbourhoodOnScreen()
{
    QFETCH(int, index);
    QFETCH(QList<int>, switched);
    fill(Green);
    QTest::mouseClick(square(index), Qt::LeftButton);
    const QImage shot = window->centralWidget()->grab().toImage();
    for (int k = 1; k <= SquareCount; ++k) {
        const QColor expected = switched.contains(k) ? QColor(255, 0, 0) : QColor(0, 255, 0);
        QCOMPARE(shot.pixelColor(square(k)->geometry().center()), expected);
    }
    QCOMPARE(QApplication::focusWidget(), takeFocus());
    QVERIFY(clock()->isActive());
}

void TestQtWindow::winningClickCongratulatesThenDealsAfresh()
{
    fill(Red);
    for (int k : {1, 2, 6})
        paintSquare(*window, SquareIndex(k), Green);
    QTest::mouseClick(square(8), Qt::LeftButton); // the clock runs; 3, 7, 8, 9, 13 turn green
    tick();
    QCOMPARE(label("lblTime")->text(), "1");
    QTest::mouseClick(square(8), Qt::LeftButton); // one click from solved again

    QString text, title;
    bool clockRan = true, onlyOk = false;
    int redBehind = 0;
    whenMessageOpens([&](QMessageBox* box) {
        text = box->text();
        title = box->windowTitle();
        onlyOk = box->buttons().size() == 1 && box->icon() == QMessageBox::NoIcon;
        clockRan = clock()->isActive();
        tick();
        clockRan = clockRan || label("lblTime")->text() != "1";
        const auto behind = board();
        redBehind = int(std::count(behind.begin(), behind.end(), Red));
    });
    QTest::mouseClick(square(1), Qt::LeftButton);

    QVERIFY(messageHandled);
    QCOMPARE(text, "Congratulations!  You have turned every square red.");
    QCOMPARE(title, "Zarquel");
    QVERIFY(onlyOk);
    QVERIFY(!clockRan); // a second open, yet no tick
    QCOMPARE(redBehind, SquareCount);
    QCOMPARE(label("lblTime")->text(), "0");
    QVERIFY(!clock()->isActive());
    for (SquareColor color : board())
        QVERIFY(color == Red || color == Green);
}

void TestQtWindow::winBoxLeavesTitleAndFinalTimeInView_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<bool>("boardOffScreen");
    QTest::newRow("the usual face") << 0 << false;
    // A box taller than the board below the labels: it still starts below them.
    QTest::newRow("a large system face") << 36 << false;
    // The board's centre below the screen's bottom: the box still opens whole on the screen.
    QTest::newRow("the board hanging off the screen") << 0 << true;
}

void TestQtWindow::winBoxLeavesTitleAndFinalTimeInView()
{
    QFETCH(int, points);
    QFETCH(bool, boardOffScreen);
    const QRect screen = window->screen()->availableGeometry();
    if (boardOffScreen)
        window->move(screen.left() + 300, screen.bottom() - 200);
    const QFont usual = QApplication::font();
    QFont large = usual;
    large.setPointSize(points);
    if (points)
        QApplication::setFont(large);
    setUpNearWin();
    QTest::mouseClick(square(13), Qt::LeftButton);
    QTest::mouseClick(square(13), Qt::LeftButton);
    for (int second = 0; second < 37; ++second)
        tick();

    const auto onScreen = [](QWidget* widget) { return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size()); };
    QRect boxArea;
    QString timeShown;
    bool modalAndOwned = false;
    whenMessageOpens([&](QMessageBox* box) {
        boxArea = box->frameGeometry();
        timeShown = label("lblTime")->text();
        modalAndOwned = box->isModal() && box->parentWidget() == window.get()
                        && box->text() == "Congratulations!  You have turned every square red.";
    });
    QTest::mouseClick(square(8), Qt::LeftButton);
    QApplication::setFont(usual);

    QVERIFY(messageHandled);
    QVERIFY(modalAndOwned);
    QCOMPARE(timeShown, "37");
    QVERIFY2(screen.contains(boxArea), qPrintable(QStringLiteral("%1,%2").arg(boxArea.x()).arg(boxArea.y())));
    if (boardOffScreen)
        return;
    QVERIFY(!points || boxArea.height() > onScreen(square(25)).bottom() - onScreen(label("lblTime")).bottom());
    for (const char* name : {"imgTitle", "lblWasted", "lblTime", "lblSeconds"}) {
        QWidget* widget = window->findChild<QWidget*>(name);
        QVERIFY2(!boxArea.intersects(onScreen(widget)), name);
    }
    QVERIFY(boxArea.intersects(onScreen(square(13))));
}

// A desktop theme whose dialog buttons carry icons, as some do.
class IconButtonsStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override
    {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

void TestQtWindow::everyMessageBoxIsBareAndHandsTheKeyboardBack_data()
{
    QTest::addColumn<QString>("which");
    QTest::newRow("win") << "win";
    QTest::newRow("Instructions") << "Instructions";
    QTest::newRow("About") << "About";
}

void TestQtWindow::everyMessageBoxIsBareAndHandsTheKeyboardBack()
{
    QFETCH(QString, which);
    const QString usualStyle = QApplication::style()->name();
    QApplication::setStyle(new IconButtonsStyle);
    QVERIFY(!QApplication::style()->standardIcon(QStyle::SP_DialogOkButton).isNull());

    bool iconless = false;
    whenMessageOpens([&](QMessageBox* box) {
        iconless = box->icon() == QMessageBox::NoIcon && box->iconPixmap().isNull()
                   && box->buttons().size() == 1 && box->button(QMessageBox::Ok)->icon().isNull();
    });
    openBox(which);
    QApplication::setStyle(usualStyle);
    QVERIFY(messageHandled);
    QVERIFY(iconless);
    // The window has the keyboard again, and its shortcuts answer: Ctrl+N deals.
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::activeWindow(), window.get());
    QCOMPARE(QApplication::focusWidget(), takeFocus());
    paintSquare(*window, 1, 0x123456);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::ControlModifier);
    QVERIFY(window->session().color(1) != 0x123456);
}

void TestQtWindow::pauseStopsClockAndKeepsCount_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Ctrl+P") << "ctrl+p";
    QTest::newRow("File menu") << "menu";
    QTest::newRow("Escape") << "escape";
    QTest::newRow("Escape with modifiers") << "shift+ctrl+escape";
    QTest::newRow("Escape on a focused square") << "escape on square";
}

void TestQtWindow::pauseStopsClockAndKeepsCount()
{
    QFETCH(QString, how);
    fill(Green);
    QTest::mouseClick(square(13), Qt::LeftButton);
    tick();
    QCOMPARE(label("lblTime")->text(), "1");
    const auto before = board();

    if (how == "ctrl+p")
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::ControlModifier);
    else if (how == "menu")
        action("mnuPause")->trigger();
    else if (how == "escape")
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    else if (how == "shift+ctrl+escape")
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape, Qt::ShiftModifier | Qt::ControlModifier);
    else {
        square(4)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(square(4), Qt::Key_Escape);
    }

    QVERIFY(!clock()->isActive());
    QCOMPARE(board(), before);
    tick();
    QCOMPARE(label("lblTime")->text(), "1");
    // A click resumes from the shown count.
    QTest::mouseClick(square(13), Qt::LeftButton);
    tick();
    QCOMPARE(label("lblTime")->text(), "2");
}

void TestQtWindow::newGameMidGameDealsAndStopsClock()
{
    fill(Green);
    QTest::mouseClick(square(7), Qt::LeftButton);
    tick();
    QCOMPARE(label("lblTime")->text(), "1");
    paintSquare(*window, 25, 0x123456); // only a deal would overwrite this
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(label("lblTime")->text(), "0");
    QVERIFY(!clock()->isActive());
    for (SquareColor color : board())
        QVERIFY(color == Red || color == Green);
    tick();
    QCOMPARE(label("lblTime")->text(), "0");
}

void TestQtWindow::helpBoxesLeaveRunningClockAlone_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("Instructions") << int(Qt::Key_I) << "Instructions"
        << "You must make all 25 squares be RED at the same time, in as little time as possible.  "
           "This can be accomplished by clicking on the squares.  Each square, when clicked, will "
           "change itself and a predetermined set of squares near it into the opposite colors.  "
           "It is left to you to determine which squares are controlled by each of the 25 squares.";
    QTest::newRow("About") << int(Qt::Key_A) << "About Zarquel"
        << "Zarquel version 1.00\nWritten by the Zarquel developers\nCopyright 2026";
}

void TestQtWindow::helpBoxesLeaveRunningClockAlone()
{
    QFETCH(int, key);
    QFETCH(QString, title);
    QFETCH(QString, text);
    fill(Green);
    QTest::mouseClick(square(19), Qt::LeftButton);

    QString shownTitle, shownText, timeWhileOpen;
    whenMessageOpens([&](QMessageBox* box) {
        shownTitle = box->windowTitle();
        shownText = box->text();
        tick();
        timeWhileOpen = label("lblTime")->text();
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::ControlModifier);

    QVERIFY(messageHandled);
    QCOMPARE(shownTitle, title);
    QCOMPARE(shownText, text);
    QVERIFY(timeWhileOpen.toInt() >= 1); // ticks went on behind the box
    QVERIFY(clock()->isActive());
}

void TestQtWindow::otherKeysDoNothing_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("space") << int(Qt::Key_Space) << 0;
    // Plain arrows on cmdTakeFocus go to the square played last (below); held with Shift or Ctrl, nowhere.
    QTest::newRow("shift+down") << int(Qt::Key_Down) << int(Qt::ShiftModifier);
    QTest::newRow("ctrl+left") << int(Qt::Key_Left) << int(Qt::ControlModifier);
    QTest::newRow("tab-free letter") << int(Qt::Key_Q) << 0;
    QTest::newRow("alt letter") << int(Qt::Key_Z) << int(Qt::AltModifier);
    QTest::newRow("ctrl+shift+p") << int(Qt::Key_P) << int(Qt::ControlModifier | Qt::ShiftModifier);
    QTest::newRow("F1") << int(Qt::Key_F1) << 0;
    QTest::newRow("enter") << int(Qt::Key_Return) << 0;
}

void TestQtWindow::otherKeysDoNothing()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    fill(Green);
    QTest::mouseClick(square(13), Qt::LeftButton);
    const auto before = board();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(board(), before);
    QVERIFY(clock()->isActive());
    QCOMPARE(label("lblTime")->text(), "0");
    QCOMPARE(QApplication::focusWidget(), takeFocus());
}

void TestQtWindow::clicksFasterThanASecondDoNotStallClock()
{
    fill(Green); // clicking one square back and forth can never win
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < 3200) {
        QTest::mouseClick(square(13), Qt::LeftButton);
        QTest::qWait(400);
    }
    // Restarted by every click, the count would still read 0.
    QVERIFY2(label("lblTime")->text().toInt() >= 2, qPrintable(label("lblTime")->text()));
}

void TestQtWindow::menusCarryTheirCaptionsAndShortcuts()
{
    struct Item {
        const char* name;
        const char* caption;
        QKeySequence shortcut;
    };
    const Item items[] = {
        {"mnuPause", "&Pause Game", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {"mnuNewGame", "&New Game", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"mnuExit", "E&xit", QKeySequence(Qt::CTRL | Qt::Key_X)},
        {"mnuInstructions", "&Instructions", QKeySequence(Qt::CTRL | Qt::Key_I)},
        {"mnuAbout", "&About Zarquel", QKeySequence(Qt::CTRL | Qt::Key_A)},
    };
    for (const Item& item : items) {
        QAction* entry = action(item.name);
        QVERIFY2(entry, item.name);
        QCOMPARE(entry->text(), item.caption);
        QCOMPARE(entry->shortcut(), item.shortcut);
        QVERIFY(entry->isEnabled() && entry->isVisible() && !entry->isCheckable());
    }
    auto* file = window->findChild<QMenu*>("mnuFile");
    auto* help = window->findChild<QMenu*>("mnuHelp");
    QCOMPARE(file->title(), "&File");
    QCOMPARE(help->title(), "&Help");
    QCOMPARE(file->actions().size(), 4);
    QVERIFY(file->actions().at(2)->isSeparator());
    QCOMPARE(file->actions().at(2), action("mnuLine"));
    QCOMPARE(window->menuBar()->actions(), (QList<QAction*> {file->menuAction(), help->menuAction()}));
}

void TestQtWindow::tabReachesSquaresAndAKeyClickReturnsFocus()
{
    fill(Green);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), square(1));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), square(2));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    for (int k = 1; k <= SquareCount; ++k)
        QCOMPARE(window->session().color(SquareIndex(k)), (k == 1 || k == 2 || k == 3 || k == 7) ? Red : Green);
    QCOMPARE(QApplication::focusWidget(), takeFocus());
    QVERIFY(clock()->isActive());
}

void TestQtWindow::tabFromTheSinkReturnsToTheSquarePlayedLast_data()
{
    QTest::addColumn<QString>("played");  // "mouse 13", "keys 7" (Tab there, Space), "new 13" (then Ctrl+N) or nothing
    QTest::addColumn<int>("key");         // Tab, Backtab (Shift+Tab) or an arrow
    QTest::addColumn<int>("reached");
    QTest::addColumn<int>("then");        // after one more press of the same key; 0 is the sink
    QTest::newRow("fresh board, Tab") << "" << int(Qt::Key_Tab) << 1 << 2;
    QTest::newRow("fresh board, Shift+Tab") << "" << int(Qt::Key_Backtab) << 1 << 0;
    QTest::newRow("after a mouse click, Tab") << "mouse 13" << int(Qt::Key_Tab) << 13 << 14;
    QTest::newRow("after a mouse click, Shift+Tab") << "mouse 13" << int(Qt::Key_Backtab) << 13 << 12;
    QTest::newRow("after Space on a square, Tab") << "keys 7" << int(Qt::Key_Tab) << 7 << 8;
    QTest::newRow("last square, Tab") << "mouse 25" << int(Qt::Key_Tab) << 25 << 0;
    QTest::newRow("new game after a click, Tab") << "new 13" << int(Qt::Key_Tab) << 1 << 2;
    // An arrow on the sink needs no Tab first.
    QTest::newRow("fresh board, Right") << "" << int(Qt::Key_Right) << 1 << 2;
    QTest::newRow("after a mouse click, Down") << "mouse 13" << int(Qt::Key_Down) << 13 << 18;
    QTest::newRow("after Space on a square, Left") << "keys 7" << int(Qt::Key_Left) << 7 << 6;
    QTest::newRow("after a mouse click, Up") << "mouse 3" << int(Qt::Key_Up) << 3 << 3;
}

void TestQtWindow::tabFromTheSinkReturnsToTheSquarePlayedLast()
{
    QFETCH(QString, played);
    QFETCH(int, key);
    QFETCH(int, reached);
    QFETCH(int, then);
    fill(Green);
    const int index = played.section(' ', 1).toInt();
    if (played.startsWith("mouse") || played.startsWith("new")) {
        QTest::mouseClick(square(index), Qt::LeftButton);
        if (played.startsWith("new"))
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::ControlModifier);
    } else if (played.startsWith("keys")) {
        for (int k = 0; k < index; ++k)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), square(index));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    }
    QCOMPARE(QApplication::focusWidget(), takeFocus());

    const auto press = [&] {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key),
                        key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
    };
    press();
    QCOMPARE(QApplication::focusWidget(), square(reached));
    press();
    QCOMPARE(QApplication::focusWidget(), then ? square(then) : takeFocus());
}

void TestQtWindow::arrowsMoveAcrossTheBoardAndStopAtItsEdges_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("to");
    QTest::newRow("down a row") << 2 << int(Qt::Key_Down) << 7;
    QTest::newRow("up a row") << 13 << int(Qt::Key_Up) << 8;
    QTest::newRow("left") << 7 << int(Qt::Key_Left) << 6;
    QTest::newRow("right") << 7 << int(Qt::Key_Right) << 8;
    QTest::newRow("right across no row end") << 5 << int(Qt::Key_Right) << 5;
    QTest::newRow("left across no row start") << 11 << int(Qt::Key_Left) << 11;
    QTest::newRow("up from the top") << 3 << int(Qt::Key_Up) << 3;
    QTest::newRow("down from the bottom") << 24 << int(Qt::Key_Down) << 24;
    QTest::newRow("corner") << 25 << int(Qt::Key_Right) << 25;
}

void TestQtWindow::arrowsMoveAcrossTheBoardAndStopAtItsEdges()
{
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, to);
    square(from)->setFocus(Qt::TabFocusReason);
    const auto before = board();
    QTest::keyClick(square(from), Qt::Key(key));
    QCOMPARE(QApplication::focusWidget(), square(to));
    QCOMPARE(board(), before);
    QVERIFY(!clock()->isActive());
}

void TestQtWindow::escapeLeavesMenuBarKeyboardModeAndPauses()
{
    fill(Green);
    QTest::mouseClick(square(13), Qt::LeftButton);
    // A lone Alt puts the menu bar in keyboard mode, with the focus on it.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Alt);
    QCOMPARE(QApplication::focusWidget(), window->menuBar());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!clock()->isActive());
    QCOMPARE(QApplication::focusWidget(), takeFocus());
    // Space reaches the board again: Tab to square 13, Space clicks it.
    const auto before = board();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY(board() != before);
    QVERIFY(clock()->isActive());
}

void TestQtWindow::escapeInAnOpenBoxOrMenuClosesItWithoutPausing_data()
{
    QTest::addColumn<QString>("which");
    QTest::newRow("Instructions box") << "Instructions";
    QTest::newRow("About box") << "About";
    QTest::newRow("win box") << "win";
    QTest::newRow("File menu") << "mnuFile";
    QTest::newRow("Help menu") << "mnuHelp";
}

void TestQtWindow::escapeInAnOpenBoxOrMenuClosesItWithoutPausing()
{
    QFETCH(QString, which);
    fill(Green);
    QTest::mouseClick(square(19), Qt::LeftButton);
    bool closed = false, running = false;
    const auto pressEscapeIn = [&](QWidget* open) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus && focus->window() == open ? focus : open, Qt::Key_Escape);
        closed = !open->isVisible();
        running = clock()->isActive();
        if (!closed) // never leave a box open behind a failure
            open->close();
    };
    if (which.startsWith("mnu")) {
        auto* menu = window->findChild<QMenu*>(which);
        window->menuBar()->setActiveAction(menu->menuAction());
        QVERIFY(menu->isVisible());
        pressEscapeIn(menu);
    } else {
        QTimer::singleShot(0, this, [&] {
            if (QWidget* open = QApplication::activeModalWidget())
                pressEscapeIn(open);
        });
        openBox(which);
    }
    QVERIFY(closed);
    QCOMPARE(running, which != "win"); // a win stops the clock before its box opens
    QCOMPARE(clock()->isActive(), which != "win");
}

void TestQtWindow::controlsTellAssistiveTechnologyWhatTheyAre()
{
    const auto text = [](QObject* object, QAccessible::Text kind) {
        return QAccessible::queryAccessibleInterface(object)->text(kind);
    };
    QCOMPARE(text(label("lblWasted"), QAccessible::Name), "You've wasted this much time:");
    QCOMPARE(text(label("lblSeconds"), QAccessible::Name), "seconds");
    QCOMPARE(text(label("lblTime"), QAccessible::Name), "Seconds wasted");
    QCOMPARE(text(label("imgTitle"), QAccessible::Name), "Zarquel");
    QVERIFY(!text(takeFocus(), QAccessible::Name).isEmpty());
    QCOMPARE(text(square(7), QAccessible::Name), "Square 7, row 2, column 2");
    // The count itself is readable, and follows the clock.
    QCOMPARE(text(label("lblTime"), QAccessible::Description), "0");
    QTest::mouseClick(square(1), Qt::LeftButton);
    tick();
    QCOMPARE(text(label("lblTime"), QAccessible::Description), "1");
}

QTEST_MAIN(TestQtWindow)
#include "tst_qtwindow.moc"
