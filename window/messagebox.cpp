// Placing the message box over the board, clear of the labels and whole on the screen.
#include "messagebox.h"

#include <algorithm>

namespace zarquel::window {

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

} // namespace zarquel::window
