// The page's fixed texts, written into index.html at build time from the game's own.
#pragma once

#include <string>
#include <string_view>

namespace zarquel::web {

// `page` with each ${name} replaced, its texts escaped for HTML: ${AppTitle}, ${Wasted},
// ${Seconds}, ${TakeFocus}; ${squares} the 25 square buttons with their spoken names; and
// ${mnuFile} .. ${mnuAbout}, which stand for the end of a menu item's opening tag: its access key
// and shortcut attributes, then its caption (the access key underlined) and shortcut. Other
// ${...} are left as they are.
std::string fillPage(std::string_view page);

} // namespace zarquel::web
