// The page's fixed parts, written into index.html and zarquel.css at build time from the window's description.
#pragma once

#include <string>
#include <string_view>

namespace zarquel::web {

// The page's one script, written into it whole, and its SHA-256 in base64 for the policy.
struct PageScript {
    std::string_view text;
    std::string_view sha256;
};

// `page` with each ${name} replaced, texts escaped for HTML: ${AppTitle}, ${Wasted}, ${Seconds},
// ${TakeFocus}; ${script}, the script's text; ${Policy}, the Content-Security-Policy that lets it run;
// ${menubar}, the whole menu bar; ${controls}, every control of the window's table but the squares, and
// ${squares}, the 25 square buttons, each with its screen-reader name and description; and ${layout},
// the stylesheet rules that place and colour every control. Other ${...} stay as they are.
std::string fillPage(std::string_view page, const PageScript& script = {});

} // namespace zarquel::web
