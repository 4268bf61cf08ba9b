// The window's controls as designed, and the names a screen reader reads.
#include "controls.h"

#include "texts.h"

#include <stdexcept>
#include <vector>

namespace zarquel::window {

namespace {

std::vector<Control> made()
{
    using K = ControlKind;
    const std::string none;
    // The hidden focus button is named by its caption (a name must hold the words shown); the
    // description says what it is for. The count is lblTime's description; its name says what it counts.
    std::vector<Control> list {
        {K::FocusButton, "cmdTakeFocus", FocusButtonId, 0, layout::cmdTakeFocus, std::string(texts::TakeFocus),
         std::string(texts::TakeFocus), "Click the squares to turn them all red", layout::LabelPoints, 1},
        {K::Label, "lblWasted", 201, 0, layout::lblWasted, std::string(texts::Wasted), std::string(texts::Wasted),
         none, layout::LabelPoints, 0},
        {K::Label, "lblSeconds", 202, 0, layout::lblSeconds, std::string(texts::Seconds),
         std::string(texts::Seconds), none, layout::LabelPoints, 0},
        {K::Time, "lblTime", 203, 0, layout::lblTime, "0", "Seconds wasted", "0", layout::TimePoints, 0},
        {K::Image, "imgTitle", 204, 0, layout::imgTitle, none, std::string(texts::AppTitle), none, 0, 0},
    };
    for (SquareIndex index = 1; index <= SquareCount; ++index)
        list.push_back({K::Square, "cmdSquare", SquareIdBase + index, index, layout::cmdSquare(index), none,
                        texts::squareName(index), colorName(Red), 0, 1 + index});
    return list;
}

} // namespace

std::span<const Control> controls()
{
    static const std::vector<Control> list = made();
    return list;
}

const Control& control(std::string_view name)
{
    for (const Control& c : controls())
        if (c.name == name)
            return c;
    throw std::out_of_range("no control " + std::string(name));
}

const Control& square(SquareIndex index)
{
    return controls()[controls().size() - SquareCount + static_cast<std::size_t>(index - 1)];
}

std::string colorName(SquareColor color)
{
    if (color == Red || color == Green)
        return color == Red ? "red" : "green";
    static constexpr char Digits[] = "0123456789abcdef";
    std::string name = "#";
    for (const int shift : {0, 8, 16}) // 0x00BBGGRR read out as #rrggbb
        name += {Digits[(color >> (shift + 4)) & 0xF], Digits[(color >> shift) & 0xF]};
    return name;
}

} // namespace zarquel::window
