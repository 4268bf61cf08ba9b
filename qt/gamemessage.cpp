// Opens a message box centred over a given area, with no icon anywhere on it.
#include "gamemessage.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>

#include <algorithm>

GameMessage::GameMessage(const QString& text, const QString& title, const QRect& over, QWidget* parent)
    : QMessageBox(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent), over_(over)
{
    setTextFormat(Qt::PlainText);
    // Some themes put a tick on OK; the boxes carry no icon, the button included.
    button(QMessageBox::Ok)->setIcon(QIcon());
}

void GameMessage::showEvent(QShowEvent* event)
{
    // The box takes its final size here; placed before it reaches the screen.
    QMessageBox::showEvent(event);
    if (over_.isValid()) {
        const QRect frame = frameGeometry();
        QPoint topLeft = over_.center() - QPoint(frame.width() / 2, frame.height() / 2);
        // A box taller than the area still never climbs above it.
        topLeft.setY(std::max(topLeft.y(), over_.top()));
        // A box wider than the window must not leave the screen, as it would from a window at its edge.
        if (const QScreen* screen = QGuiApplication::screenAt(over_.center())) {
            const QRect room = screen->availableGeometry();
            topLeft.setX(std::clamp(topLeft.x(), room.left(), std::max(room.left(), room.right() + 1 - frame.width())));
            topLeft.setY(std::clamp(topLeft.y(), room.top(), std::max(room.top(), room.bottom() + 1 - frame.height())));
        }
        move(topLeft);
    }
}
