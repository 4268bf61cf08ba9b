// Where the game's message box opens, and which pointer presses it takes.
#pragma once

#include "layout.h"

#include <cstdint>

namespace zarquel::window {

// A box `width` by `height` goes over the board and centred on it, but never above `labelsBottom`,
// so the title and the time (the final one, after a win) stay in view; then it is moved whole into
// `workArea`, the part of the screen windows may use, even if that covers the labels. All in one
// unit: screen pixels, or CSS pixels on the page.
Rect placeMessageBox(int width, int height, const Rect& board, int labelsBottom, const Rect& workArea);

// The double-click time where the system cannot say (a browser): Windows' usual one.
inline constexpr int UsualDoubleClickMs = 500;

// A double click on a winning square is one gesture aimed at the board: its second press must not
// land on the congratulation's OK and close it unseen. So a pointer press within the double-click
// time of the box appearing is ignored (one stamped earlier too); keys act at once.
class PressGuard {
public:
    PressGuard() = default;
    explicit PressGuard(int doubleClickMs) : doubleClickMs_(doubleClickMs) {}

    void boxShown(std::int64_t nowMs) { shownAt_ = nowMs; }
    bool takesPress(std::int64_t nowMs) const { return nowMs - shownAt_ >= doubleClickMs_; }

private:
    std::int64_t doubleClickMs_ = UsualDoubleClickMs;
    std::int64_t shownAt_ = 0;
};

} // namespace zarquel::window
