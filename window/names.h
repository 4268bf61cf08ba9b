// What a screen reader is told of the window's controls, and of a square's colour.
#pragma once

#include "squares.h"
#include "texts.h"

#include <string>
#include <string_view>

namespace zarquel::window::names {

// The hidden focus button, where the keyboard waits, is named by its caption (a name must hold
// the words shown); this says what it is for.
inline constexpr std::string_view cmdTakeFocusHelp = "Click the squares to turn them all red";
// The count itself is lblTime's value or description; this is what it counts.
inline constexpr std::string_view lblTime = "Seconds wasted";
inline constexpr std::string_view imgTitle = texts::AppTitle;
// A square's name is texts::squareName(index); its description is its colour:

// "red", "green", or "#rrggbb" for a colour the game never writes.
std::string colorName(SquareColor color);

} // namespace zarquel::window::names
