// Painting, pointer presses and accessible description of a square.
#include "squarebutton.h"

#include "controls.h"

#include <QMouseEvent>
#include <QPainter>

#include <utility>

using namespace zarquel;

SquareButton::SquareButton(SquareIndex index, QWidget* parent) : QPushButton(parent), index_(index)
{
    // Reachable with Tab, but a mouse click never leaves a focus mark.
    setFocusPolicy(Qt::TabFocus);
    setProperty("Index", int(index));
    setAccessibleDescription(QString::fromStdString(window::colorName(color_)));
}

QColor SquareButton::toQColor(SquareColor color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

void SquareButton::setColor(SquareColor color)
{
    if (color == color_)
        return;
    color_ = color;
    // Qt announces the new description to assistive technology itself.
    setAccessibleDescription(QString::fromStdString(window::colorName(color)));
    update();
}

std::optional<window::PressTime> SquareButton::takePress()
{
    return std::exchange(press_, std::nullopt);
}

void SquareButton::mousePressEvent(QMouseEvent* event)
{
    // The event's own time: the guard on a box counts from it, however late the box appears.
    press_ = static_cast<window::PressTime>(event->timestamp());
    QPushButton::mousePressEvent(event);
}

void SquareButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(color_));
    if (hasFocus()) {
        // Drawn inside the edge so the centre keeps its exact colour.
        QPen pen(Qt::black, 2, Qt::DashLine);
        painter.setPen(pen);
        painter.drawRect(QRectF(rect()).adjusted(4, 4, -4, -4));
        painter.setPen(QPen(Qt::white, 2, Qt::DashLine, Qt::FlatCap));
        painter.drawRect(QRectF(rect()).adjusted(7, 7, -7, -7));
    }
}
