// Square numbering, square colours and the table of which squares a click switches.
#pragma once

#include <array>
#include <cstdint>

namespace zarquel {

// 1..25, row by row from the top left.
using SquareIndex = std::int16_t;
// 0x00BBGGRR: red lives in the low byte.
using SquareColor = std::int32_t;

inline constexpr SquareColor Red = 255;        // 0x0000FF
inline constexpr SquareColor Green = 65280;    // 0x00FF00

inline constexpr int BoardSide = 5;
inline constexpr int SquareCount = BoardSide * BoardSide;

constexpr bool isSquareIndex(long long value)
{
    return value >= 1 && value <= SquareCount;
}

constexpr SquareIndex squareAt(int row, int column)
{
    return static_cast<SquareIndex>(BoardSide * row + column + 1);
}

// The squares one click switches, in the order they repaint.
struct ToggleRow {
    std::uint8_t size;
    std::array<SquareIndex, 5> squares;

    constexpr const SquareIndex* begin() const { return squares.data(); }
    constexpr const SquareIndex* end() const { return squares.data() + size; }
};

// Row k-1 belongs to square k. The orders are part of the game's look:
// they decide how a click ripples across the board.
inline constexpr std::array<ToggleRow, SquareCount> ToggleTable {{
    {3, {1, 2, 6}},
    {4, {2, 1, 7, 3}},
    {4, {2, 3, 4, 8}},
    {4, {3, 4, 5, 9}},
    {3, {5, 4, 10}},
    {4, {1, 6, 7, 11}},
    {5, {2, 6, 7, 8, 12}},
    {5, {3, 7, 8, 9, 13}},
    {5, {4, 8, 9, 10, 14}},
    {4, {5, 10, 9, 15}},
    {4, {6, 12, 11, 16}},
    {5, {7, 11, 12, 13, 17}},
    {5, {8, 12, 13, 14, 18}},
    {5, {14, 9, 19, 13, 15}},
    {4, {10, 14, 15, 20}},
    {4, {11, 17, 16, 21}},
    {5, {12, 16, 17, 18, 22}},
    {5, {13, 17, 18, 19, 23}},
    {5, {14, 18, 19, 20, 24}},
    {4, {15, 19, 20, 25}},
    {3, {16, 21, 22}},
    {4, {21, 22, 23, 17}},
    {4, {22, 23, 24, 18}},
    {4, {23, 24, 25, 19}},
    {3, {20, 25, 24}},
}};

} // namespace zarquel
