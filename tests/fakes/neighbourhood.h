// The squares a click should switch, worked out from the board's geometry rather than the game's table.
#pragma once

#include <set>

inline std::set<int> neighbourhood(int square)
{
    constexpr int side = 5;
    const int row = (square - 1) / side;
    const int column = (square - 1) % side;
    std::set<int> result {square};
    if (row > 0) result.insert(square - side);
    if (row < side - 1) result.insert(square + side);
    if (column > 0) result.insert(square - 1);
    if (column < side - 1) result.insert(square + 1);
    return result;
}
