// Where the game's message box opens, and how a label's text is fitted to its place.
#pragma once

#include "layout.h"

#include <span>

namespace zarquel::window {

// A box `width` by `height` goes over the board and centred on it, but never above `labelsBottom`,
// so the title and the time (the final one, after a win) stay in view; then it is moved whole into
// `workArea`, the part of the screen windows may use, even if that covers the labels. All in one
// unit: screen pixels, or CSS pixels on the page.
Rect placeMessageBox(int width, int height, const Rect& board, int labelsBottom, const Rect& workArea);

// The box's rectangle for a client area whose top left is at (`left`, `top`) on the screen, laid out
// at `dpi` (96 is one pixel for 15 twips; the page's scale times 96 on a touch screen). The work area
// is the one of `workAreas` under the board's centre, or the nearest when none is; with none at all
// the box only goes over the board.
Rect placeBox(int width, int height, int left, int top, double dpi, std::span<const Rect> workAreas);

// The double-click time where the system cannot say (a browser): Windows' usual one.
inline constexpr int UsualDoubleClickMs = 500;

// A face and the letter spacing it is drawn with (in pixels; 0 or less).
struct Fit {
    double points;
    double spacing;
};

// One rule for every label: the designed size if the text fits it, its letters drawn a shade closer
// (down to `tightest` pixels apart) where whole-pixel rounding makes it a pixel or two too wide, and
// only then half a point smaller at a time, down to 4 points. `fits(const Fit&)` is the toolkit's measure.
template <typename Measure>
Fit fitLabel(double designedPoints, double tightest, Measure fits)
{
    Fit fit {designedPoints, 0};
    for (; fit.points > 4; fit.points -= 0.5)
        for (fit.spacing = 0; fit.spacing >= tightest - 1e-9; fit.spacing -= 0.05)
            if (fits(static_cast<const Fit&>(fit)))
                return fit;
    return {4, tightest};
}

} // namespace zarquel::window
