// Opens a message box with no icon anywhere on it where the window's rule places it, and asks the session which presses count.
#include "gamemessage.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QScreen>

#include <vector>

using zarquel::window::Rect;

GameMessage::GameMessage(const QString& text, const QString& title, const zarquel::window::Session& session,
                         QWidget* client, QWidget* parent)
    : QMessageBox(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent), session_(session), client_(client)
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
    std::vector<Rect> workAreas;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect work = screen->availableGeometry();
        workAreas.push_back({work.x(), work.y(), work.width(), work.height()});
    }
    const QPoint origin = client_->mapToGlobal(QPoint(0, 0));
    const QRect frame = frameGeometry();
    const Rect at = zarquel::window::placeBox(frame.width(), frame.height(), origin.x(), origin.y(),
                                              zarquel::window::PlainDpi, workAreas);
    move(at.left, at.top);
}

bool GameMessage::eventFilter(QObject* watched, QEvent* event)
{
    const bool press = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (press && !session_.boxTakesPress(static_cast<zarquel::window::PressTime>(
                     static_cast<QMouseEvent*>(event)->timestamp())))
        return true;
    return QMessageBox::eventFilter(watched, event);
}
