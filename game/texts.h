// The words the player reads, shared by every window so they stay word for word alike.
#pragma once

#include <string>
#include <string_view>

#ifndef ZARQUEL_VERSION
#error "ZARQUEL_VERSION comes from the build"
#endif

namespace zarquel::texts {

inline constexpr std::string_view AppTitle = "Zarquel";
inline constexpr std::string_view Wasted = "You've wasted this much time:";
inline constexpr std::string_view Seconds = "seconds";
inline constexpr std::string_view TakeFocus = "For Focus";

// Menu captions: the ampersand marks the access key.
inline constexpr std::string_view MenuFile = "&File";
inline constexpr std::string_view MenuPause = "&Pause Game";
inline constexpr std::string_view MenuNewGame = "&New Game";
inline constexpr std::string_view MenuExit = "E&xit";
inline constexpr std::string_view MenuHelp = "&Help";
inline constexpr std::string_view MenuInstructions = "&Instructions";
inline constexpr std::string_view MenuAbout = "&About Zarquel";

inline constexpr std::string_view WinMessage = "Congratulations!  You have turned every square red.";

inline constexpr std::string_view InstructionsTitle = "Instructions";
inline constexpr std::string_view Instructions =
    "You must make all 25 squares be RED at the same time, in as little time as possible.  "
    "This can be accomplished by clicking on the squares.  "
    "Each square, when clicked, will change itself and a predetermined set of squares near it "
    "into the opposite colors.  "
    "It is left to you to determine which squares are controlled by each of the 25 squares.";

inline constexpr std::string_view AboutTitle = "About Zarquel";
// Three lines joined by CR LF.
inline constexpr std::string_view About = "Zarquel version " ZARQUEL_VERSION "\r\n"
                                          "Written by the Zarquel developers\r\n"
                                          "Copyright 2026";

// What a screen reader calls square `index` (1..25); never painted.
inline std::string squareName(int index)
{
    const int row = (index - 1) / 5 + 1;
    const int column = (index - 1) % 5 + 1;
    return "Square " + std::to_string(index) + ", row " + std::to_string(row) + ", column " +
           std::to_string(column);
}

} // namespace zarquel::texts
