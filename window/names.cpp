// The colour a screen reader hears for a square.
#include "names.h"

namespace zarquel::window::names {

std::string colorName(SquareColor color)
{
    if (color == Red)
        return "red";
    if (color == Green)
        return "green";
    // 0x00BBGGRR read out as #rrggbb.
    static constexpr char Digits[] = "0123456789abcdef";
    std::string name = "#";
    for (const int shift : {0, 8, 16}) {
        const int byte = (color >> shift) & 0xFF;
        name += Digits[byte >> 4];
        name += Digits[byte & 0xF];
    }
    return name;
}

} // namespace zarquel::window::names
