// Soak test: the real window through fifty thousand random actions, every invariant checked after each.
#include "qtboard.h"
#include "neighbourhood.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <array>
#include <climits>
#include <optional>
#include <random>
#include <set>

using namespace zarquel;

namespace {

constexpr int ActionCount = 50000;
// Pinned, so a failing run names an action that the next run repeats.
constexpr std::mt19937::result_type Seed = 20260501;

using Board = std::array<SquareColor, SquareCount>;

const QString WinTitle = QStringLiteral("Zarquel");
const QString WinText = QStringLiteral("Congratulations!  You have turned every square red.");


// What an action does, as far as the model of the game needs to know.
struct Effect {
    explicit Effect(QString what) : name(std::move(what)) {}

    QString name;
    std::optional<Board> preset;    // the board is set by hand first
    std::optional<long long> click; // a square click reaches the game, with this index
    bool deals = false;
    bool pauses = false;
    bool ticks = false;             // one tick, delivered only while the clock runs
    bool eventLoop = false;         // the real timer may tick meanwhile
    QString helpTitle;              // a help box opens
};

// The state the model expects once the action is over.
struct Prediction {
    Board board {};
    bool running = false;
    bool dealt = false;
    QStringList titles; // the boxes that should open, in order
};

Prediction predict(const Effect& effect, const Board& start, bool running)
{
    Prediction next;
    next.board = start;
    next.running = running;
    if (!effect.helpTitle.isEmpty())
        next.titles << effect.helpTitle;
    if (effect.click) {
        next.running = true; // every click, even a stray one, (re)starts the clock
        if (isSquareIndex(*effect.click)) {
            for (int s : neighbourhood(int(*effect.click)))
                next.board[s - 1] = next.board[s - 1] == Red ? Green : Red;
        }
        if (std::all_of(next.board.begin(), next.board.end(), [](SquareColor c) { return c == Red; })) {
            next.titles << WinTitle;
            next.dealt = true;
        }
    }
    if (effect.deals)
        next.dealt = true;
    if (next.dealt || effect.pauses)
        next.running = false;
    return next;
}

struct Message {
    QString title;
    QString text;
};

// The offscreen platform says this once for every box it shows; thousands of
// copies would bury anything that matters.
QtMessageHandler forward = nullptr;
void dropSizeHintNotice(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!message.contains(QLatin1String("does not support propagateSizeHints")))
        forward(type, context, message);
}

} // namespace

class TestSoak : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void randomActionsKeepEveryInvariant();

private:
    Board board() const;
    QWidget* focusOrWindow() const;
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }
    Qt::KeyboardModifiers randomModifiers();

    // Each performs one random action and says what it was.
    Effect clickAnywhere();
    Effect clickSquare();
    Effect wrongIndex();
    Effect newGame();
    Effect pause();
    Effect pressOnFocus();
    Effect otherKey();
    Effect tick();
    Effect idle();
    Effect help();
    Effect forcedWin();

    // Sets any preset board, notes the state before the action and
    // arranges for the boxes the model expects to be read and closed.
    void begin(const Effect& effect);
    void closeOpenBox();
    void verify(const Effect& effect, int step);

    std::unique_ptr<QtWindow> window;
    QWidget* client = nullptr;
    QTimer* clock = nullptr;
    QLabel* time = nullptr;
    QWidget* sink = nullptr;
    QAction* mnuNewGame = nullptr;
    QAction* mnuPause = nullptr;
    QAction* mnuInstructions = nullptr;
    QAction* mnuAbout = nullptr;
    std::array<QAbstractButton*, SquareCount> squares {};
    QTimer watchdog;
    std::mt19937 rng {Seed};

    Board before {};
    bool wasRunning = false;
    int secondsBefore = 0;
    Prediction expected;
    std::vector<Message> shown;

    int wins = 0;
    int squareClicks = 0;
    int ticks = 0;
    int boxes = 0;
};

void TestSoak::initTestCase()
{
    forward = qInstallMessageHandler(dropSizeHintNotice);
    window = std::make_unique<QtWindow>();
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    client = window->centralWidget();
    clock = window->findChild<QTimer*>(QStringLiteral("tmrTime"));
    time = window->findChild<QLabel*>(QStringLiteral("lblTime"));
    sink = window->findChild<QWidget*>(QStringLiteral("cmdTakeFocus"));
    mnuNewGame = window->findChild<QAction*>(QStringLiteral("mnuNewGame"));
    mnuPause = window->findChild<QAction*>(QStringLiteral("mnuPause"));
    mnuInstructions = window->findChild<QAction*>(QStringLiteral("mnuInstructions"));
    mnuAbout = window->findChild<QAction*>(QStringLiteral("mnuAbout"));
    QVERIFY(client && clock && time && sink && mnuNewGame && mnuPause && mnuInstructions && mnuAbout);
    for (auto* square : window->findChildren<QAbstractButton*>(QStringLiteral("cmdSquare"))) {
        const int index = square->property("Index").toInt();
        QVERIFY(isSquareIndex(index) && !squares[index - 1]);
        squares[index - 1] = square;
    }
    // A box the model did not expect would wait for ever: this closes it, and
    // verify() then fails on it.
    watchdog.setInterval(250);
    connect(&watchdog, &QTimer::timeout, this, &TestSoak::closeOpenBox);
    watchdog.start();
}

void TestSoak::cleanupTestCase()
{
    window.reset();
}

Board TestSoak::board() const
{
    Board colors {};
    for (int k = 1; k <= SquareCount; ++k)
        colors[k - 1] = window->session().color(SquareIndex(k));
    return colors;
}

// Where the keyboard's keys land.
QWidget* TestSoak::focusOrWindow() const
{
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus : window.get();
}

Qt::KeyboardModifiers TestSoak::randomModifiers()
{
    static const Qt::KeyboardModifiers choices[] = {
        Qt::NoModifier, Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier,
        Qt::MetaModifier, Qt::ControlModifier | Qt::ShiftModifier, Qt::ControlModifier | Qt::AltModifier,
    };
    return choices[pick(0, int(std::size(choices)) - 1)];
}

void TestSoak::begin(const Effect& effect)
{
    if (effect.preset) {
        for (int k = 1; k <= SquareCount; ++k)
            paintSquare(*window, SquareIndex(k), (*effect.preset)[k - 1]);
    }
    before = board();
    wasRunning = clock->isActive();
    secondsBefore = window->session().game().ElapsedSeconds();
    expected = predict(effect, before, wasRunning);
    shown.clear();
    // Runs once the box's own event loop has started.
    for (qsizetype i = 0; i < expected.titles.size(); ++i)
        QTimer::singleShot(0, this, &TestSoak::closeOpenBox);
}

void TestSoak::closeOpenBox()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box)
        return;
    shown.push_back({box->windowTitle(), box->text()});
    box->button(QMessageBox::Ok)->click();
}

Effect TestSoak::clickAnywhere()
{
    const QPoint point(pick(0, client->width() - 1), pick(0, client->height() - 1));
    QWidget* target = client->childAt(point);
    if (!target)
        target = client;
    Effect effect {QStringLiteral("click at (%1, %2) on %3").arg(point.x()).arg(point.y()).arg(target->objectName())};
    if (const QVariant index = target->property("Index"); index.isValid())
        effect.click = index.toInt();
    begin(effect);
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->mapFrom(client, point));
    return effect;
}

Effect TestSoak::clickSquare()
{
    const int k = pick(1, SquareCount);
    QAbstractButton* square = squares[k - 1];
    const QPoint point(pick(0, square->width() - 1), pick(0, square->height() - 1));
    Effect effect {QStringLiteral("click on square %1 at (%2, %3)").arg(k).arg(point.x()).arg(point.y())};
    effect.click = k;
    begin(effect);
    QTest::mouseClick(square, Qt::LeftButton, Qt::NoModifier, point);
    return effect;
}

Effect TestSoak::wrongIndex()
{
    // Some of these land on a real square if cut down to 16 or 32 bits.
    static const long long indices[] = {0, 26, -5, -1, 65537, 65536 + 13, 65536 + 25, -65536 + 7,
                                        INT_MAX, INT_MIN, LLONG_MAX, LLONG_MIN, (1LL << 32) + 3};
    const long long k = indices[pick(0, int(std::size(indices)) - 1)];
    Effect effect {QStringLiteral("SquareClick(%1)").arg(k)};
    effect.click = k;
    begin(effect);
    window->apply(window->session().click(k));
    return effect;
}

Effect TestSoak::newGame()
{
    const bool byMenu = pick(0, 1);
    Effect effect {byMenu ? QStringLiteral("New Game by menu") : QStringLiteral("New Game by Ctrl+N")};
    effect.deals = true;
    begin(effect);
    if (byMenu)
        mnuNewGame->trigger();
    else
        QTest::keyClick(focusOrWindow(), Qt::Key_N, Qt::ControlModifier);
    return effect;
}

Effect TestSoak::pause()
{
    const int way = pick(0, 2);
    const Qt::KeyboardModifiers modifiers = randomModifiers();
    Effect effect {way == 0 ? QStringLiteral("Pause by menu")
                   : way == 1 ? QStringLiteral("Pause by Ctrl+P")
                              : QStringLiteral("Pause by Escape with modifiers %1").arg(int(modifiers))};
    effect.pauses = true;
    begin(effect);
    if (way == 0)
        mnuPause->trigger();
    else if (way == 1)
        QTest::keyClick(focusOrWindow(), Qt::Key_P, Qt::ControlModifier);
    else
        QTest::keyClick(focusOrWindow(), Qt::Key_Escape, modifiers);
    return effect;
}

Effect TestSoak::pressOnFocus()
{
    static const Qt::Key keys[] = {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter};
    const Qt::Key key = keys[pick(0, 2)];
    QWidget* focus = focusOrWindow();
    Effect effect {QStringLiteral("key %1 on %2").arg(QKeySequence(key).toString(), focus->objectName())};
    // Space, Return and Enter press a focused square; on the sink they do nothing.
    if (const QVariant index = focus->property("Index"); index.isValid())
        effect.click = index.toInt();
    begin(effect);
    QTest::keyClick(focus, key);
    return effect;
}

Effect TestSoak::otherKey()
{
    static const Qt::Key keys[] = {
        Qt::Key_A, Qt::Key_B, Qt::Key_E, Qt::Key_F, Qt::Key_H, Qt::Key_I, Qt::Key_N, Qt::Key_P,
        Qt::Key_Q, Qt::Key_X, Qt::Key_Z, Qt::Key_0, Qt::Key_5, Qt::Key_9, Qt::Key_Tab, Qt::Key_Tab,
        Qt::Key_Backtab, Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Home,
        Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Delete, Qt::Key_Backspace,
        Qt::Key_Insert, Qt::Key_F2, Qt::Key_F5, Qt::Key_F9, Qt::Key_Plus, Qt::Key_Minus,
    };
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    for (;;) {
        key = keys[pick(0, int(std::size(keys)) - 1)];
        modifiers = randomModifiers();
        const bool letter = key >= Qt::Key_A && key <= Qt::Key_Z;
        // Ctrl with P, N, X, I or A is a menu command; Alt with a letter opens a menu.
        const bool command = (modifiers & Qt::ControlModifier)
                             && (key == Qt::Key_P || key == Qt::Key_N || key == Qt::Key_X
                                 || key == Qt::Key_I || key == Qt::Key_A);
        if (!command && !(letter && (modifiers & Qt::AltModifier)))
            break;
    }
    QWidget* focus = focusOrWindow();
    Effect effect {QStringLiteral("key %1 on %2").arg(QKeySequence(key | modifiers).toString(), focus->objectName())};
    begin(effect);
    QTest::keyClick(focus, key, modifiers);
    return effect;
}

Effect TestSoak::tick()
{
    Effect effect {QStringLiteral("timer tick")};
    effect.ticks = true;
    begin(effect);
    // The event a running QTimer gets each interval: it goes through the
    // timer's own timeout signal and the window's connection to it. A stopped
    // timer gets none, just as the real one.
    if (clock->isActive()) {
        QTimerEvent event(clock->timerId());
        QCoreApplication::sendEvent(clock, &event);
    }
    return effect;
}

Effect TestSoak::idle()
{
    Effect effect {QStringLiteral("idle")};
    effect.eventLoop = true;
    begin(effect);
    QCoreApplication::processEvents();
    return effect;
}

Effect TestSoak::help()
{
    const bool about = pick(0, 1);
    const bool byMenu = pick(0, 1);
    Effect effect {QStringLiteral("%1 by %2").arg(about ? "About" : "Instructions", byMenu ? "menu" : "Ctrl key")};
    effect.helpTitle = about ? QStringLiteral("About Zarquel") : QStringLiteral("Instructions");
    effect.eventLoop = true;
    begin(effect);
    if (byMenu)
        (about ? mnuAbout : mnuInstructions)->trigger();
    else
        QTest::keyClick(focusOrWindow(), about ? Qt::Key_A : Qt::Key_I, Qt::ControlModifier);
    return effect;
}

Effect TestSoak::forcedWin()
{
    const int k = pick(1, SquareCount);
    Board preset {};
    preset.fill(Red);
    for (int s : neighbourhood(k))
        preset[s - 1] = Green;
    Effect effect {QStringLiteral("winning click on square %1").arg(k)};
    effect.preset = preset;
    effect.click = k;
    begin(effect);
    QTest::mouseClick(squares[k - 1], Qt::LeftButton);
    return effect;
}

void TestSoak::verify(const Effect& effect, int step)
{
    const QString where = QStringLiteral("action %1 (%2)").arg(step).arg(effect.name);
    const auto say = [&](const char* what) { return qPrintable(where + QLatin1String(": ") + QLatin1String(what)); };

    const Board now = board();
    for (SquareColor color : now)
        QVERIFY2(color == Red || color == Green, say("a square is neither red nor green"));
    QVERIFY2(clock->isActive() == expected.running, say(expected.running ? "the clock is stopped" : "the clock runs"));

    const int seconds = window->session().game().ElapsedSeconds();
    QVERIFY2(time->text() == QString::number(seconds), say("lblTime does not show the count"));
    if (expected.dealt) {
        QVERIFY2(seconds == 0, say("a deal left the count standing"));
    } else {
        QVERIFY2(now == expected.board, say("the board is not what the action makes of it"));
        const int tick = effect.ticks && wasRunning ? 1 : 0;
        // Real ticks can land only while an event loop runs and the clock is on.
        if (effect.eventLoop && wasRunning)
            QVERIFY2(seconds >= secondsBefore + tick, say("the count went down"));
        else
            QVERIFY2(seconds == secondsBefore + tick, say("the count moved by other than its ticks"));
    }

    QStringList titles;
    for (const Message& message : shown)
        titles << message.title;
    QVERIFY2(titles == expected.titles,
             say(qPrintable(QStringLiteral("boxes shown [%1], expected [%2]")
                                .arg(titles.join(", "), expected.titles.join(", ")))));
    if (expected.dealt && effect.click)
        QVERIFY2(shown.back().text == WinText, say("the win message is wrong"));

    if (effect.click) {
        QVERIFY2(QApplication::focusWidget() == sink, say("the focus is not on cmdTakeFocus after a click"));
        if (!expected.dealt)
            QVERIFY2(window->session().game().RedCount() == std::count(now.begin(), now.end(), Red),
                     say("RedCount does not match the board"));
    }
}

void TestSoak::randomActionsKeepEveryInvariant()
{
    // Out of 1000; message boxes are slow, so they are a small share.
    struct Weighted {
        int weight;
        Effect (TestSoak::*action)();
    };
    const Weighted table[] = {
        {300, &TestSoak::clickAnywhere}, {200, &TestSoak::clickSquare}, {50, &TestSoak::wrongIndex},
        {35, &TestSoak::newGame},        {70, &TestSoak::pause},        {50, &TestSoak::pressOnFocus},
        {95, &TestSoak::otherKey},       {155, &TestSoak::tick},        {15, &TestSoak::idle},
        {15, &TestSoak::help},           {15, &TestSoak::forcedWin},
    };
    int total = 0;
    for (const Weighted& entry : table)
        total += entry.weight;
    QCOMPARE(total, 1000);

    for (int step = 1; step <= ActionCount; ++step) {
        int roll = pick(0, total - 1);
        const Weighted* chosen = table;
        while (roll >= chosen->weight)
            roll -= (chosen++)->weight;
        const Effect effect = (this->*chosen->action)();
        if (!shown.empty() && !window->isActiveWindow()) {
            // What a window manager does once a box closes; this platform has none.
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window.get()));
        }
        verify(effect, step);
        if (QTest::currentTestFailed())
            return;
        squareClicks += effect.click && isSquareIndex(*effect.click);
        ticks += effect.ticks && wasRunning;
        boxes += int(shown.size());
        wins += expected.dealt && effect.click;
    }
    qInfo("soak: %d actions, %d wins, %d square clicks, %d ticks, %d message boxes",
          ActionCount, wins, squareClicks, ticks, boxes);
    QVERIFY(wins > 100);
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
