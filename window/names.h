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
inline std::string colorName(SquareColor color)
{
    if (color == Red || color == Green)
        return color == Red ? "red" : "green";
    static constexpr char Digits[] = "0123456789abcdef";
    std::string name = "#";
    for (const int shift : {0, 8, 16}) // 0x00BBGGRR read out as #rrggbb
        name += {Digits[(color >> (shift + 4)) & 0xF], Digits[(color >> shift) & 0xF]};
    return name;
}

} // namespace zarquel::window::names
