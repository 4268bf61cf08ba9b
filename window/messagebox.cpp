// Placing the message box over the board, clear of the labels and whole on the screen.
#include "messagebox.h"

#include <algorithm>
#include <limits>

namespace zarquel::window {

namespace {

int scaled(int twips, double dpi)
{
    const double at = twips * dpi / 1440;
    return static_cast<int>(at >= 0 ? at + 0.5 : at - 0.5);
}

// How far a point is from a rectangle, squared; 0 inside it.
long long distance(const Rect& area, int x, int y)
{
    const long long dx = x < area.left ? area.left - x : x >= area.right() ? x - area.right() + 1 : 0;
    const long long dy = y < area.top ? area.top - y : y >= area.bottom() ? y - area.bottom() + 1 : 0;
    return dx * dx + dy * dy;
}

} // namespace

Rect placeMessageBox(int width, int height, const Rect& board, int labelsBottom, const Rect& workArea)
{
    const int top = std::max(board.top, labelsBottom);
    Rect box {board.left + (board.width - width) / 2, top + (board.bottom() - top - height) / 2, width, height};
    // Taller than the board below the labels, it still never climbs over them.
    box.top = std::max(box.top, top);
    // Whole on the screen comes first: a window at a screen edge must not push OK out of reach.
    box.left = std::clamp(box.left, workArea.left, std::max(workArea.left, workArea.right() - width));
    box.top = std::clamp(box.top, workArea.top, std::max(workArea.top, workArea.bottom() - height));
    return box;
}

Rect placeBox(int width, int height, int left, int top, double dpi, std::span<const Rect> workAreas)
{
    const Rect& b = layout::Board;
    const Rect board {left + scaled(b.left, dpi), top + scaled(b.top, dpi), scaled(b.width, dpi),
                      scaled(b.height, dpi)};
    // The labels' row ends where the tallest of them, the time, ends.
    const int labelsBottom = top + scaled(layout::lblTime.bottom(), dpi);
    const int x = board.left + board.width / 2, y = board.top + board.height / 2;
    constexpr int Far = std::numeric_limits<int>::max() / 4;
    Rect room {-Far, -Far, 2 * Far, 2 * Far};
    long long nearest = std::numeric_limits<long long>::max();
    for (const Rect& area : workAreas) {
        if (distance(area, x, y) < nearest) {
            nearest = distance(area, x, y);
            room = area;
        }
    }
    return placeMessageBox(width, height, board, labelsBottom, room);
}

} // namespace zarquel::window
