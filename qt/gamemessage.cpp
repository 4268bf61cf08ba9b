// Opens a message box over the board, with no icon anywhere on it, deaf to the rest of a double click.
#include "gamemessage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QIcon>
#include <QScreen>

#include <chrono>
#include <limits>

using zarquel::window::Rect;

namespace {

std::int64_t nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

GameMessage::GameMessage(const QString& text, const QString& title, const QRect& board, int labelsBottom,
                         QWidget* parent)
    : QMessageBox(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent), board_(board),
      labelsBottom_(labelsBottom), guard_(QApplication::doubleClickInterval())
{
    setTextFormat(Qt::PlainText);
    // Some themes put a tick on OK; the boxes carry no icon, the button included.
    button(QMessageBox::Ok)->setIcon(QIcon());
    button(QMessageBox::Ok)->installEventFilter(this);
}

void GameMessage::showEvent(QShowEvent* event)
{
    // The box takes its final size here; placed before it reaches the screen.
    QMessageBox::showEvent(event);
    guard_.boxShown(nowMs());
    // A screenless platform puts no bounds on where it goes.
    constexpr int Far = std::numeric_limits<int>::max() / 4;
    Rect room {-Far, -Far, 2 * Far, 2 * Far};
    if (const QScreen* screen = QGuiApplication::screenAt(board_.center())) {
        const QRect work = screen->availableGeometry();
        room = {work.x(), work.y(), work.width(), work.height()};
    }
    const QRect frame = frameGeometry();
    const Rect at = zarquel::window::placeMessageBox(frame.width(), frame.height(),
                                                     {board_.x(), board_.y(), board_.width(), board_.height()},
                                                     labelsBottom_, room);
    move(at.left, at.top);
}

bool GameMessage::eventFilter(QObject* watched, QEvent* event)
{
    const bool press = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (press && !guard_.takesPress(nowMs()))
        return true;
    return QMessageBox::eventFilter(watched, event);
}
