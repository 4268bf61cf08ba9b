// The window as designed: every control's place in twips, its colours and faces, and the one conversion to pixels.
#pragma once

#include "squares.h"

#include <string_view>

namespace zarquel::window {

// A rectangle by its left and top edges and its size.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    constexpr int right() const { return left + width; }
    constexpr int bottom() const { return top + height; }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// 1440 twips make an inch, so 15 make a pixel at the usual 96 dots per inch (and a CSS pixel).
inline constexpr int PlainDpi = 96;

// Device pixels at `dpi`, halves rounded away from zero as Windows' MulDiv rounds them.
constexpr int pixels(int twips, int dpi = PlainDpi)
{
    const long long scaled = static_cast<long long>(twips) * dpi;
    return static_cast<int>((scaled >= 0 ? scaled + 720 : scaled - 720) / 1440);
}

// Each edge and size converted on its own, so every square comes out the same size.
constexpr Rect pixels(const Rect& twips, int dpi = PlainDpi)
{
    return {pixels(twips.left, dpi), pixels(twips.top, dpi), pixels(twips.width, dpi), pixels(twips.height, dpi)};
}

namespace layout {

// From the top left of the client area; the player cannot resize it.
inline constexpr Rect ClientArea {0, 0, 3960, 5910};
// Beyond the client area's right edge: never seen, yet it holds the keyboard focus.
inline constexpr Rect cmdTakeFocus {4200, 2760, 1215, 495};
inline constexpr Rect lblWasted {240, 1995, 2175, 255};
inline constexpr Rect lblSeconds {3120, 1995, 645, 255};
inline constexpr Rect lblTime {2415, 1920, 615, 375};
inline constexpr Rect imgTitle {750, 75, 2430, 1860};

inline constexpr int SquareSide = 615;
inline constexpr int SquarePitch = 720; // a square and the 105-twip gap after it
inline constexpr Rect Board {240, 2280, SquarePitch * (BoardSide - 1) + SquareSide,
                             SquarePitch * (BoardSide - 1) + SquareSide};

constexpr Rect cmdSquare(SquareIndex index)
{
    const int row = (index - 1) / BoardSide;
    const int column = (index - 1) % BoardSide;
    return {Board.left + SquarePitch * column, Board.top + SquarePitch * row, SquareSide, SquareSide};
}

// 0x00BBGGRR, as the squares' colours.
inline constexpr SquareColor Background = 0x000000;
inline constexpr SquareColor LabelColor = 0x00FFFF; // yellow

// The designed face; each toolkit puts a face of the same widths in its place where it is missing.
inline constexpr std::string_view Face = "MS Sans Serif";
// lblWasted, lblSeconds and cmdTakeFocus: the window's default size.
inline constexpr double LabelPoints = 8;
inline constexpr double TimePoints = 13.5;

} // namespace layout

} // namespace zarquel::window
