// Every control of the window, from one table: what it is, its name and id, where it sits, what it shows and what a screen reader hears.
#pragma once

#include "layout.h"

#include <span>
#include <string>
#include <string_view>

namespace zarquel::window {

// The time is a label of its own kind: centred, and its text and description are the count.
enum class ControlKind { FocusButton, Label, Time, Image, Square };

struct Control {
    ControlKind kind;
    std::string_view name;    // the object name or element id a tester sees; the 25 squares share cmdSquare
    int id;                   // the toolkit's control id; a square's is SquareIdBase + its index
    SquareIndex index;        // 1..25 for a square, 0 otherwise
    Rect twips;
    std::string caption;      // the text shown (never painted on a square or the image)
    std::string accessibleName;
    std::string description;  // a square's is its colour, changing with every paint
    double points;            // the face's designed size, for what shows text
    int tabOrder;             // 1 first; 0 for what the keyboard never stops on
};

inline constexpr int SquareIdBase = 100;
inline constexpr int FocusButtonId = 100;

// cmdTakeFocus, the labels, imgTitle, then cmdSquare 1..25, in the order they are made.
std::span<const Control> controls();
const Control& control(std::string_view name);
const Control& square(SquareIndex index);

// "red", "green", or "#rrggbb" for a colour the game never writes: a square's description.
std::string colorName(SquareColor color);

} // namespace zarquel::window
