// Painting, keyboard use and accessible description of a square.
#include "squarebutton.h"

#include "names.h"
#include "texts.h"

#include <QKeyEvent>
#include <QPainter>

using namespace zarquel;

namespace {

QString colorName(SquareColor color)
{
    return QString::fromStdString(window::names::colorName(color));
}

} // namespace

SquareButton::SquareButton(SquareIndex index, QWidget* parent) : QPushButton(parent), index_(index)
{
    // Reachable with Tab, but a mouse click never leaves a focus mark.
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(QString::fromStdString(texts::squareName(index)));
    setAccessibleDescription(colorName(color_));
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
    setAccessibleDescription(colorName(color));
    update();
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

void SquareButton::keyPressEvent(QKeyEvent* event)
{
    // Space is the button's own; Enter should click a focused square too.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}
