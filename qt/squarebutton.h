// One square of the board: a button that is nothing but its colour.
#pragma once

#include "squares.h"

#include <QPushButton>

// Painted by hand so the colour on screen is exactly the colour stored,
// whatever the widget style would make of a coloured button.
class SquareButton final : public QPushButton {
    Q_OBJECT

public:
    SquareButton(zarquel::SquareIndex index, QWidget* parent);

    zarquel::SquareIndex index() const { return index_; }
    zarquel::SquareColor color() const { return color_; }
    void setColor(zarquel::SquareColor color);

    static QColor toQColor(zarquel::SquareColor color);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    zarquel::SquareIndex index_;
    zarquel::SquareColor color_ = zarquel::Red;
};
