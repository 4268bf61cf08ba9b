// Builds the window from the shared table of controls and menus, hands Qt's events to the session and shows its replies.
#include "qtwindow.h"

#include "controls.h"
#include "gamemessage.h"
#include "menus.h"
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
#include <vector>

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

// The designed face at a designed size. Where it is missing, as on most systems,
// Liberation Sans stands in: its widths fit the designed boxes.
QFont designedFont(const Fit& fit)
{
    QFont::insertSubstitutions(q(layout::Face), {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
    QFont font(q(layout::Face));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Normal);
    font.setPointSizeF(fit.points);
    font.setLetterSpacing(QFont::AbsoluteSpacing, fit.spacing);
    // The designed face is a bitmap one: whole pixels of pure yellow, never a dim blur.
    font.setStyleStrategy(QFont::NoAntialias);
    // Full hinting keeps letters evenly spaced at normal density; on dense screens it
    // squeezes some (a gap after the w) and the plain outline is the better one.
    font.setHintingPreference(qApp->devicePixelRatio() > 1 ? QFont::PreferDefaultHinting
                                                           : QFont::PreferFullHinting);
    return font;
}

// One font for all the labels given, by the window's rule.
void fitLabels(const std::vector<QLabel*>& labels, double points)
{
    const Fit fit = fitLabel(points, -0.25, [&](const Fit& at) {
        const QFontMetricsF metrics(designedFont(at));
        return std::all_of(labels.begin(), labels.end(),
                           [&](QLabel* label) { return metrics.horizontalAdvance(label->text()) <= label->width(); });
    });
    for (QLabel* label : labels)
        label->setFont(designedFont(fit));
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

QtWindow::QtWindow(QWidget* parent) : QMainWindow(parent), session_(Host::Desktop, QApplication::doubleClickInterval())
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

    buildControls(client);
    buildMenus();
    // The client area is designed to the pixel: the player can't resize it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("tmrTime"));
    timer_->setInterval(1000);
    // A coarse timer may drift by up to 5 %, which a seconds count would show.
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, [this] { apply(session_.tick()); });

    // Keys reach the window before whichever control has the focus.
    qApp->installEventFilter(this);
    apply(session_.start());
}

QtWindow::~QtWindow()
{
    qApp->removeEventFilter(this);
}

void QtWindow::buildControls(QWidget* client)
{
    std::vector<QLabel*> small;
    std::vector<QWidget*> tabOrder;
    for (const Control& control : controls()) {
        QWidget* widget = nullptr;
        if (control.kind == ControlKind::Square) {
            auto* square = new SquareButton(control.index, client);
            const SquareIndex index = control.index;
            connect(square, &QPushButton::clicked, this, [this, square, index] {
                apply(session_.click(index, square->takePress()));
            });
            squares_[static_cast<std::size_t>(index - 1)] = square;
            widget = square;
        } else if (control.kind == ControlKind::FocusButton) {
            sink_ = new QPushButton(q(control.caption), client);
            widget = sink_;
        } else {
            auto* label = new QLabel(q(control.caption), client);
            QPalette palette = label->palette();
            palette.setColor(QPalette::WindowText, SquareButton::toQColor(layout::LabelColor));
            label->setPalette(palette);
            if (control.kind == ControlKind::Label)
                small.push_back(label);
            if (control.kind == ControlKind::Time) {
                label->setAlignment(Qt::AlignCenter);
                time_ = label;
            }
            if (control.kind == ControlKind::Image)
                banner_ = label;
            widget = label;
        }
        widget->setObjectName(q(control.name));
        widget->setGeometry(place(control.twips));
        widget->setAccessibleName(q(control.accessibleName));
        widget->setAccessibleDescription(q(control.description));
        if (control.tabOrder)
            tabOrder.push_back(widget);
    }
    // The table lists them in tab order already.
    for (std::size_t k = 1; k < tabOrder.size(); ++k)
        setTabOrder(tabOrder[k - 1], tabOrder[k]);
    // The hidden button takes the focus of the widgets it is made before; the table gives the order.
    fitLabels(small, layout::LabelPoints);
    fitLabels({time_}, control("lblTime").points);
    showBanner();
    sink_->setFocus();
}

void QtWindow::showBanner()
{
    // Drawn twice over for dense screens rather than blurred up from the small one.
    const qreal ratio = devicePixelRatioF() > 1.0 ? 2.0 : 1.0;
    if (ratio == bannerRatio_)
        return;
    bannerRatio_ = ratio;
    QPixmap banner(ratio > 1.0 ? QStringLiteral(":/banner@2x.gif") : QStringLiteral(":/banner.gif"));
    banner.setDevicePixelRatio(ratio);
    banner_->setPixmap(banner);
}

void QtWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Moving to a screen of another density swaps the banner for the right one.
    if (windowHandle()) {
        connect(windowHandle(), &QWindow::screenChanged, this, &QtWindow::showBanner, Qt::UniqueConnection);
        showBanner();
    }
}

void QtWindow::buildMenus()
{
    for (const Menu& menu : MenuBar) {
        QMenu* popup = menuBar()->addMenu(q(menu.caption));
        popup->setObjectName(q(menu.name));
        for (const MenuItem& item : menu.items) {
            const int id = item.id;
            QAction* action = item.caption.empty()
                                  ? popup->addSeparator()
                                  : popup->addAction(q(item.caption), this, [this, id] { apply(session_.menu(id)); });
            action->setObjectName(q(item.name));
            // Spelled out, never a standard key: QKeySequence::Quit maps to nothing on some desktops.
            action->setShortcut(QKeySequence(q(shortcutText(item.command, Host::Desktop))));
        }
    }
}

Focus QtWindow::focusOf(const QObject* widget) const
{
    if (widget == sink_)
        return Focus::sink();
    if (const auto* square = qobject_cast<const SquareButton*>(widget))
        return Focus::at(square->index());
    return Focus::elsewhere();
}

bool QtWindow::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    // Only keys meant for this window: an open menu or message box keeps its own.
    if (event->type() != QEvent::KeyPress || !widget || widget->window() != this)
        return QMainWindow::eventFilter(watched, event);
    const Reply reply = session_.key(keyPress(*static_cast<QKeyEvent*>(event)), focusOf(watched));
    apply(reply);
    // The menu bar, focused after a lone Alt, also takes Escape to give the board its keys back.
    return reply.consumed && !qobject_cast<QMenuBar*>(widget);
}

void QtWindow::apply(const Reply& reply)
{
    for (const Paint& paint : reply.paint)
        squares_.at(static_cast<std::size_t>(paint.square - 1))->setColor(paint.color);
    if (reply.time) {
        time_->setText(q(*reply.time));
        // The name says what the count is; the count itself is read from here.
        time_->setAccessibleDescription(time_->text());
        // Long counts shrink rather than being cut off.
        fitLabels({time_}, control("lblTime").points);
    }
    if (reply.clock)
        *reply.clock ? timer_->start() : timer_->stop();
    if (reply.focus && reply.focus->on == Focus::On::Square)
        squares_.at(static_cast<std::size_t>(reply.focus->square - 1))->setFocus(Qt::TabFocusReason);
    else if (reply.focus)
        sink_->setFocus(Qt::OtherFocusReason);
    if (reply.box) {
        openBox(*reply.box);
        apply(session_.boxClosed());
    }
    if (reply.exit)
        QApplication::exit(0);
}

void QtWindow::openBox(const Box& box)
{
    // CR LF separates lines in the game's texts; a lone CR would show as a glyph.
    QString body = q(box.text);
    body.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    GameMessage message(body, q(box.title), session_, centralWidget(), this);
    message.exec();
    // Without a window manager the keyboard would stay with the closed box.
    activateWindow();
}
