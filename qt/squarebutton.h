// One square of the board: a button that is nothing but its colour.
#pragma once

#include "session.h"

#include <QPushButton>

#include <optional>

// Painted by hand so the colour on screen is exactly the colour stored, whatever the widget style
// would make of a coloured button. Its keys are the window's (the session decides them all).
class SquareButton final : public QPushButton {
    Q_OBJECT

public:
    SquareButton(zarquel::SquareIndex index, QWidget* parent);

    zarquel::SquareIndex index() const { return index_; }
    zarquel::SquareColor color() const { return color_; }
    void setColor(zarquel::SquareColor color);
    // The pointer press behind the click being handled, once; none for a click by other means.
    std::optional<zarquel::window::PressTime> takePress();

    static QColor toQColor(zarquel::SquareColor color);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    zarquel::SquareIndex index_;
    zarquel::SquareColor color_ = zarquel::Red;
    std::optional<zarquel::window::PressTime> press_;
};
