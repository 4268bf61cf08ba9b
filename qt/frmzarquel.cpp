// Builds the window from its fixed layout and routes its events to the game.
#include "frmzarquel.h"

#include "gamemessage.h"
#include "squarebutton.h"
#include "texts.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <initializer_list>

using namespace zarquel;

namespace {

QString q(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// The layout is designed in twips; 15 make a pixel at 96 dots per inch.
constexpr int px(int twips) { return twips / 15; }

QRect twipRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

constexpr QSize ClientSize(px(3960), px(5910));
const QColor Yellow(255, 255, 0);

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Yellow);
    label->setPalette(palette);
    return label;
}

// The designed face at a designed size. Where it is missing, as on most systems,
// Liberation Sans stands in: its widths fit the designed boxes.
QFont designedFont(qreal points)
{
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Normal);
    font.setPointSizeF(points);
    // The designed face is a bitmap one: whole pixels of pure yellow, never a dim blur.
    font.setStyleStrategy(QFont::NoAntialias);
    // Full hinting keeps letters evenly spaced at normal density; on dense screens it
    // squeezes some (a gap after the w) and the plain outline is the better one.
    font.setHintingPreference(qApp->devicePixelRatio() > 1 ? QFont::PreferDefaultHinting
                                                           : QFont::PreferFullHinting);
    return font;
}

bool fits(const QLabel* label, const QFont& font)
{
    return QFontMetricsF(font).horizontalAdvance(label->text()) <= label->width();
}

// One font for all the labels given: the designed size if the texts fit it, with the
// letters drawn a shade closer where whole-pixel rounding makes a text a pixel or two too
// wide; only a face much wider than the designed one makes the size itself shrink.
void fitDesignedFont(std::initializer_list<QLabel*> labels, qreal designedPointSize)
{
    QFont font = designedFont(designedPointSize);
    const auto allFit = [&] {
        return std::all_of(labels.begin(), labels.end(), [&](QLabel* label) { return fits(label, font); });
    };
    for (qreal size = designedPointSize; size > 4; size -= 0.5) {
        font.setPointSizeF(size);
        for (qreal spacing = 0; spacing >= -0.25; spacing -= 0.05) {
            font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
            if (allFit()) {
                for (QLabel* label : labels)
                    label->setFont(font);
                return;
            }
        }
    }
    for (QLabel* label : labels)
        label->setFont(font);
}

} // namespace

frmZarquel::frmZarquel(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmZarquel"));
    setWindowTitle(q(texts::AppTitle));
    // Every size added is decoded at once and handed to the window system;
    // launchers take the large ones from the installed icon theme instead.
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addFile(QStringLiteral(":/icon-%1.png").arg(size), QSize(size, size));
    setWindowIcon(icon);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(ClientSize);
    client->setAutoFillBackground(true);
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, Qt::black);
    client->setPalette(palette);
    setCentralWidget(client);

    buildBoard(client);
    buildActions();
    // The client area is designed to the pixel: the player can't resize it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // Keys reach the window before whichever control has the focus.
    qApp->installEventFilter(this);

    // Dealt before the window is first shown, so the all-red design board never appears.
    game_.Deal();
}

frmZarquel::~frmZarquel()
{
    qApp->removeEventFilter(this);
}

void frmZarquel::buildBoard(QWidget* client)
{
    cmdTakeFocus = new QPushButton(q(texts::TakeFocus), client);
    cmdTakeFocus->setObjectName(QStringLiteral("cmdTakeFocus"));
    // Beyond the right edge of the client area: never seen, yet it can hold the focus.
    cmdTakeFocus->setGeometry(twipRect(4200, 2760, 1215, 495));
    cmdTakeFocus->setAutoDefault(false);
    cmdTakeFocus->setAccessibleName(tr("Game"));
    cmdTakeFocus->setAccessibleDescription(tr("Click the squares to turn them all red"));

    lblWasted = makeLabel(client, "lblWasted", q(texts::Wasted), twipRect(240, 1995, 2175, 255));
    lblSeconds = makeLabel(client, "lblSeconds", q(texts::Seconds), twipRect(3120, 1995, 645, 255));
    lblTime = makeLabel(client, "lblTime", QStringLiteral("0"), twipRect(2415, 1920, 615, 375));
    // The window's default face: the designed 8 points.
    fitDesignedFont({lblWasted, lblSeconds}, 8);
    lblTime->setAlignment(Qt::AlignCenter);
    lblTime->setAccessibleName(tr("Seconds wasted"));
    lblTime->setAccessibleDescription(lblTime->text());
    fitTimeText();

    imgTitle = new QLabel(client);
    imgTitle->setObjectName(QStringLiteral("imgTitle"));
    imgTitle->setGeometry(twipRect(750, 75, 2430, 1860));
    imgTitle->setAccessibleName(q(texts::AppTitle));
    showBanner();

    QWidget* previous = cmdTakeFocus;
    for (int row = 0; row < BoardSide; ++row) {
        for (int column = 0; column < BoardSide; ++column) {
            const SquareIndex index = squareAt(row, column);
            auto* square = new SquareButton(index, client);
            square->setObjectName(QStringLiteral("cmdSquare"));
            square->setProperty("Index", int(index));
            square->setGeometry(px(240 + 720 * column), px(2280 + 720 * row), px(615), px(615));
            connect(square, &QPushButton::clicked, this, [this, index] {
                game_.SquareClick(index);
                // Every click starts the clock, so a stopped one means a win dealt a fresh board.
                lastClicked_ = tmrTime->isActive() ? index : 1;
            });
            setTabOrder(previous, square);
            previous = square;
            cmdSquare[static_cast<std::size_t>(index - 1)] = square;
        }
    }
    cmdTakeFocus->setFocus();

    tmrTime = new QTimer(this);
    tmrTime->setObjectName(QStringLiteral("tmrTime"));
    tmrTime->setInterval(1000);
    // A coarse timer may drift by up to 5 %, which a seconds count would show.
    tmrTime->setTimerType(Qt::PreciseTimer);
    connect(tmrTime, &QTimer::timeout, this, [this] { game_.ClockTick(); });
}

void frmZarquel::showBanner()
{
    // Drawn twice over for dense screens rather than blurred up from the small one.
    const qreal ratio = devicePixelRatioF() > 1.0 ? 2.0 : 1.0;
    if (ratio == bannerRatio_)
        return;
    bannerRatio_ = ratio;
    QPixmap banner(ratio > 1.0 ? QStringLiteral(":/banner@2x.gif") : QStringLiteral(":/banner.gif"));
    banner.setDevicePixelRatio(ratio);
    imgTitle->setPixmap(banner);
}

void frmZarquel::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Moving to a screen of another density swaps the banner for the right one.
    if (windowHandle()) {
        connect(windowHandle(), &QWindow::screenChanged, this, &frmZarquel::showBanner, Qt::UniqueConnection);
        showBanner();
    }
}

void frmZarquel::buildActions()
{
    QMenu* mnuFile = menuBar()->addMenu(q(texts::MenuFile));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuPause = mnuFile->addAction(q(texts::MenuPause), this, [this] { game_.PauseClock(); });
    QAction* mnuNewGame = mnuFile->addAction(q(texts::MenuNewGame), this, [this] {
        game_.Deal();
        lastClicked_ = 1; // a fresh board: Tab starts again at the first square
    });
    QAction* mnuLine = mnuFile->addSeparator();
    QAction* mnuExit = mnuFile->addAction(q(texts::MenuExit), this, [] { QApplication::exit(0); });

    QMenu* mnuHelp = menuBar()->addMenu(q(texts::MenuHelp));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    QAction* mnuInstructions = mnuHelp->addAction(q(texts::MenuInstructions), this, [this] {
        showMessage(std::string(texts::Instructions), std::string(texts::InstructionsTitle));
    });
    QAction* mnuAbout = mnuHelp->addAction(q(texts::MenuAbout), this, [this] {
        showMessage(std::string(texts::About), std::string(texts::AboutTitle));
    });

    mnuPause->setObjectName(QStringLiteral("mnuPause"));
    mnuNewGame->setObjectName(QStringLiteral("mnuNewGame"));
    mnuLine->setObjectName(QStringLiteral("mnuLine"));
    mnuExit->setObjectName(QStringLiteral("mnuExit"));
    mnuInstructions->setObjectName(QStringLiteral("mnuInstructions"));
    mnuAbout->setObjectName(QStringLiteral("mnuAbout"));

    // Every shortcut in one place, spelled out: standard keys such as
    // QKeySequence::Quit map to nothing on some desktops.
    mnuPause->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    mnuNewGame->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    mnuInstructions->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    mnuAbout->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    // Escape (with any modifiers) is caught in eventFilter() and triggers mnuPause.
}

bool frmZarquel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    // Only keys meant for this window: an open menu or message box keeps its own Escape.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (key == Qt::Key_Escape && widget && widget->window() == this) {
        mnuPause->trigger();
        // The menu bar, focused after a lone Alt, also takes Escape to give the board its keys back.
        return !qobject_cast<QMenuBar*>(widget);
    }
    const bool arrow = key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
    if (!arrow)
        return QMainWindow::eventFilter(watched, event);
    // Buttons pass the focus on with the arrow keys; the sink must keep it
    // (only Tab leaves it on purpose), or a square would wear a focus mark.
    if (watched == cmdTakeFocus)
        return true;
    if (auto* square = qobject_cast<SquareButton*>(watched); square && square->window() == this)
        return moveFocusAcrossBoard(square, key);
    return QMainWindow::eventFilter(watched, event);
}

bool frmZarquel::moveFocusAcrossBoard(const SquareButton* from, int key)
{
    // Up and down by rows, left and right by columns; the edges stop the focus.
    int row = (from->index() - 1) / BoardSide;
    int column = (from->index() - 1) % BoardSide;
    row += key == Qt::Key_Down ? 1 : key == Qt::Key_Up ? -1 : 0;
    column += key == Qt::Key_Right ? 1 : key == Qt::Key_Left ? -1 : 0;
    if (row >= 0 && row < BoardSide && column >= 0 && column < BoardSide)
        cmdSquare[static_cast<std::size_t>(squareAt(row, column) - 1)]->setFocus(Qt::TabFocusReason);
    return true;
}

bool frmZarquel::focusNextPrevChild(bool next)
{
    // After a click the focus waits on the sink; Tab (or Shift+Tab) goes back to the
    // square played last, so a keyboard player never walks the board from square 1 again.
    if (QApplication::focusWidget() == cmdTakeFocus) {
        cmdSquare[static_cast<std::size_t>(lastClicked_ - 1)]->setFocus(next ? Qt::TabFocusReason
                                                                              : Qt::BacktabFocusReason);
        return true;
    }
    return QMainWindow::focusNextPrevChild(next);
}

SquareColor frmZarquel::squareColor(SquareIndex square) const
{
    return cmdSquare.at(static_cast<std::size_t>(square - 1))->color();
}

void frmZarquel::setSquareColor(SquareIndex square, SquareColor color)
{
    cmdSquare.at(static_cast<std::size_t>(square - 1))->setColor(color);
}

void frmZarquel::enableClock()
{
    // Starting an active QTimer would restart its second; leave it running.
    if (!tmrTime->isActive())
        tmrTime->start();
}

void frmZarquel::disableClock()
{
    tmrTime->stop();
}

void frmZarquel::setTimeText(const std::string& text)
{
    lblTime->setText(QString::fromStdString(text));
    // The name stays "Seconds wasted"; the count itself is read from here.
    lblTime->setAccessibleDescription(lblTime->text());
    fitTimeText();
}

void frmZarquel::fitTimeText()
{
    // Long counts shrink rather than being cut off.
    fitDesignedFont({lblTime}, 13.5);
}

void frmZarquel::focusSink()
{
    cmdTakeFocus->setFocus(Qt::OtherFocusReason);
}

void frmZarquel::showMessage(const std::string& text, const std::string& title)
{
    // CR LF separates lines in the game's texts; a lone CR would show as a glyph.
    QString body = QString::fromStdString(text);
    body.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    // Over the board, so the title and the time (the final one, after a win) stay in view.
    const QRect board(cmdSquare.front()->mapToGlobal(QPoint(0, 0)),
                      cmdSquare.back()->mapToGlobal(cmdSquare.back()->rect().bottomRight()));
    GameMessage box(body, title.empty() ? q(texts::AppTitle) : QString::fromStdString(title), board, this);
    box.exec();
    // Without a window manager the keyboard would stay with the closed box.
    activateWindow();
}
