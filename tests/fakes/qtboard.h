// Sets up a position on the Qt window: one square's colour, through the session so the board shown follows.
#pragma once

#include "qtwindow.h"

inline void paintSquare(QtWindow& window, zarquel::SquareIndex square, zarquel::SquareColor color)
{
    std::array<zarquel::SquareColor, zarquel::SquareCount> colors {};
    for (zarquel::SquareIndex k = 1; k <= zarquel::SquareCount; ++k)
        colors[static_cast<std::size_t>(k - 1)] = k == square ? color : window.session().color(k);
    window.apply(window.session().arrange(colors));
}

// The time as the session would send it.
inline void showTime(QtWindow& window, const std::string& text)
{
    zarquel::window::Reply reply;
    reply.time = text;
    window.apply(reply);
}
