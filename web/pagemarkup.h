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

// `script` (emscripten's output) preceded by the module `wasm` it loads, as a string of one character per
// byte: a third smaller gzipped than base64, and compiled at once, so the board is dealt in the same task;
// Chromium compiles its functions with it (a compile hint).
std::string moduleScript(std::string_view wasm, std::string_view script);

} // namespace zarquel::web
