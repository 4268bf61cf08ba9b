// The page's fixed parts, written into index.html and zarquel.css at build time from the window's description.
#pragma once

#include <string>
#include <string_view>

namespace zarquel::web {

// `page` with each ${name} replaced, texts escaped for HTML: ${AppTitle}, ${Wasted}, ${Seconds},
// ${TakeFocus}; ${Policy}, the page's Content-Security-Policy; ${menubar}, the whole menu bar;
// ${controls}, every control of the window's table but the squares, and ${squares}, the 25 square
// buttons, each with its screen-reader name and description; and ${layout}, the stylesheet rules that
// place and colour every control. Other ${...} stay as they are.
std::string fillPage(std::string_view page);

} // namespace zarquel::web
