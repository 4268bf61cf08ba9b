// Builds the window from the shared layout and menus, and turns Qt's events into the window's input.
#include "frmzarquel.h"

#include "gamemessage.h"
#include "layout.h"
#include "names.h"
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
using namespace zarquel::window;

namespace {

QString q(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// Qt lays out in pixels of 96 dots per inch and scales them to the screen itself.
QRect place(const Rect& twips)
{
    const Rect at = pixels(twips);
    return QRect(at.left, at.top, at.width, at.height);
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const Rect& twips)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(place(twips));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, SquareButton::toQColor(layout::LabelColor));
    label->setPalette(palette);
    return label;
}

// The designed face at a designed size. Where it is missing, as on most systems,
// Liberation Sans stands in: its widths fit the designed boxes.
QFont designedFont(qreal points)
{
    QFont::insertSubstitutions(q(layout::Face), {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
    QFont font(q(layout::Face));
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

// Qt's key as the window's. Meta, like Alt, is the system's, never the game's.
KeyPress keyPress(const QKeyEvent& event)
{
    const int qtKey = event.key();
    int code = qtKey >= Qt::Key_Space && qtKey <= Qt::Key_Z ? qtKey : 0;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        code = key::F1 + (qtKey - Qt::Key_F1);
    for (const auto& [from, to] : {std::pair {Qt::Key_Escape, key::Escape}, {Qt::Key_Tab, key::Tab},
                                   {Qt::Key_Backtab, key::Tab}, {Qt::Key_Return, key::Enter},
                                   {Qt::Key_Enter, key::Enter}, {Qt::Key_Left, key::Left},
                                   {Qt::Key_Up, key::Up}, {Qt::Key_Right, key::Right}, {Qt::Key_Down, key::Down}})
        code = qtKey == from ? to : code;
    const Qt::KeyboardModifiers held = event.modifiers();
    return {code, held.testFlag(Qt::ControlModifier), held.testFlag(Qt::ShiftModifier),
            held.testFlag(Qt::AltModifier) || held.testFlag(Qt::MetaModifier)};
}

} // namespace

frmZarquel::frmZarquel(QWidget* parent) : QMainWindow(parent), Form(Host::Desktop)
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
    client->setFixedSize(place(layout::ClientArea).size());
    client->setAutoFillBackground(true);
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, SquareButton::toQColor(layout::Background));
    client->setPalette(palette);
    setCentralWidget(client);

    buildBoard(client);
    buildMenus();
    // The client area is designed to the pixel: the player can't resize it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // Keys reach the window before whichever control has the focus.
    qApp->installEventFilter(this);

    // Dealt before the window is first shown, so the all-red design board never appears.
    game().Deal();
}

frmZarquel::~frmZarquel()
{
    qApp->removeEventFilter(this);
}

void frmZarquel::buildBoard(QWidget* client)
{
    cmdTakeFocus = new QPushButton(q(texts::TakeFocus), client);
    cmdTakeFocus->setObjectName(QStringLiteral("cmdTakeFocus"));
    cmdTakeFocus->setGeometry(place(layout::cmdTakeFocus));
    cmdTakeFocus->setAutoDefault(false);
    cmdTakeFocus->setAccessibleDescription(q(names::cmdTakeFocusHelp));

    lblWasted = makeLabel(client, "lblWasted", q(texts::Wasted), layout::lblWasted);
    lblSeconds = makeLabel(client, "lblSeconds", q(texts::Seconds), layout::lblSeconds);
    lblTime = makeLabel(client, "lblTime", QStringLiteral("0"), layout::lblTime);
    fitDesignedFont({lblWasted, lblSeconds}, layout::LabelPoints);
    lblTime->setAlignment(Qt::AlignCenter);
    lblTime->setAccessibleName(q(names::lblTime));
    lblTime->setAccessibleDescription(lblTime->text());
    fitTimeText();

    imgTitle = new QLabel(client);
    imgTitle->setObjectName(QStringLiteral("imgTitle"));
    imgTitle->setGeometry(place(layout::imgTitle));
    imgTitle->setAccessibleName(q(names::imgTitle));
    showBanner();

    QWidget* previous = cmdTakeFocus;
    for (SquareIndex index = 1; index <= SquareCount; ++index) {
        auto* square = new SquareButton(index, client);
        square->setObjectName(QStringLiteral("cmdSquare"));
        square->setProperty("Index", int(index));
        square->setGeometry(place(layout::cmdSquare(index)));
        connect(square, &QPushButton::clicked, this, [this, index] { click(index); });
        setTabOrder(previous, square);
        previous = square;
        cmdSquare[static_cast<std::size_t>(index - 1)] = square;
    }
    cmdTakeFocus->setFocus();

    tmrTime = new QTimer(this);
    tmrTime->setObjectName(QStringLiteral("tmrTime"));
    tmrTime->setInterval(1000);
    // A coarse timer may drift by up to 5 %, which a seconds count would show.
    tmrTime->setTimerType(Qt::PreciseTimer);
    connect(tmrTime, &QTimer::timeout, this, [this] { tick(); });
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

void frmZarquel::buildMenus()
{
    for (const Menu& menu : MenuBar) {
        QMenu* popup = menuBar()->addMenu(q(menu.caption));
        popup->setObjectName(q(menu.name));
        for (const MenuItem& item : menu.items) {
            const Command command = item.command;
            QAction* action = item.caption.empty()
                                  ? popup->addSeparator()
                                  : popup->addAction(q(item.caption), this, [this, command] { choose(command); });
            action->setObjectName(q(item.name));
            // Spelled out, never a standard key: QKeySequence::Quit maps to nothing on some desktops.
            action->setShortcut(QKeySequence(q(shortcutText(command, Host::Desktop))));
        }
    }
}

bool frmZarquel::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    // Only keys meant for this window: an open menu or message box keeps its own.
    if (event->type() != QEvent::KeyPress || !widget || widget->window() != this)
        return QMainWindow::eventFilter(watched, event);
    int focus = watched == cmdTakeFocus ? FocusOnSink : FocusElsewhere;
    if (auto* square = qobject_cast<SquareButton*>(watched))
        focus = square->index();
    const bool taken = key(keyPress(*static_cast<QKeyEvent*>(event)), focus);
    // The menu bar, focused after a lone Alt, also takes Escape to give the board its keys back.
    return taken && !qobject_cast<QMenuBar*>(widget);
}

void frmZarquel::paintSquare(SquareIndex square, SquareColor color)
{
    cmdSquare.at(static_cast<std::size_t>(square - 1))->setColor(color);
}

void frmZarquel::runTimer(bool on)
{
    on ? tmrTime->start() : tmrTime->stop();
}

void frmZarquel::setTimeText(const std::string& text)
{
    lblTime->setText(QString::fromStdString(text));
    // The name says what the count is; the count itself is read from here.
    lblTime->setAccessibleDescription(lblTime->text());
    fitTimeText();
}

void frmZarquel::fitTimeText()
{
    // Long counts shrink rather than being cut off.
    fitDesignedFont({lblTime}, layout::TimePoints);
}

void frmZarquel::focusSink()
{
    cmdTakeFocus->setFocus(Qt::OtherFocusReason);
}

void frmZarquel::focusSquare(SquareIndex square)
{
    cmdSquare.at(static_cast<std::size_t>(square - 1))->setFocus(Qt::TabFocusReason);
}

void frmZarquel::exitGame()
{
    QApplication::exit(0);
}

void frmZarquel::openBox(const std::string& text, const std::string& title)
{
    // CR LF separates lines in the game's texts; a lone CR would show as a glyph.
    QString body = QString::fromStdString(text);
    body.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const QRect board(cmdSquare.front()->mapToGlobal(QPoint(0, 0)),
                      cmdSquare.back()->mapToGlobal(cmdSquare.back()->rect().bottomRight()));
    const int labelsBottom = lblTime->mapToGlobal(lblTime->rect().bottomLeft()).y() + 1;
    GameMessage box(body, QString::fromStdString(title), board, labelsBottom, this);
    box.exec();
    // Without a window manager the keyboard would stay with the closed box.
    activateWindow();
}
