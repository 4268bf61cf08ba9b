// The page's fixed texts in its markup, so the browser shows them without waiting for the game.
#include "pagemarkup.h"

#include "keyboard.h"
#include "squares.h"
#include "texts.h"

#include <cctype>
#include <optional>

namespace zarquel::web {

namespace {

std::string escaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

// "&Pause Game" with "Ctrl+P": the letter after & underlined, the shortcut beside it.
std::string menuItem(std::string_view caption, std::string_view shortcut)
{
    const auto at = caption.find('&');
    const char letter = caption.at(at + 1);
    std::string out = " data-key=\"";
    out += escaped(std::string(1, char(std::toupper(static_cast<unsigned char>(letter))))) + "\"";
    if (!shortcut.empty()) {
        // As ARIA spells keys: "Ctrl+N, F2" is "Control+N F2".
        std::string keys;
        for (std::size_t i = 0; i < shortcut.size(); ++i) {
            if (shortcut.substr(i, 4) == "Ctrl")
                keys += "Control", i += 3;
            else if (shortcut.substr(i, 2) == ", ")
                keys += ' ', ++i;
            else
                keys += shortcut[i];
        }
        out += " aria-keyshortcuts=\"" + escaped(keys) + "\"";
    }
    out += "><span>" + escaped(caption.substr(0, at)) + "<u>" + escaped(std::string(1, letter)) + "</u>" +
           escaped(caption.substr(at + 2)) + "</span>";
    if (!shortcut.empty())
        out += "<span class=\"shortcut\">" + escaped(shortcut) + "</span>";
    return out;
}

std::string squares()
{
    std::string out;
    for (int index = 1; index <= SquareCount; ++index) {
        out += "<button id=\"cmdSquare" + std::to_string(index) + "\" type=\"button\" aria-label=\"" +
               escaped(texts::squareName(index)) + "\"></button>";
        if (index % 5 == 0 && index < SquareCount)
            out += '\n';
    }
    return out;
}

std::optional<std::string> value(std::string_view name)
{
    const struct {
        std::string_view name;
        std::string_view caption;
        Command command;
    } menu[] = {
        {"mnuFile", texts::MenuFile, Command::None},
        {"mnuPause", texts::MenuPause, Command::Pause},
        {"mnuNewGame", texts::MenuNewGame, Command::NewGame},
        {"mnuExit", texts::MenuExit, Command::Exit},
        {"mnuHelp", texts::MenuHelp, Command::None},
        {"mnuInstructions", texts::MenuInstructions, Command::Instructions},
        {"mnuAbout", texts::MenuAbout, Command::About},
    };
    for (const auto& item : menu) {
        if (item.name == name)
            return menuItem(item.caption, shortcutText(item.command));
    }
    if (name == "AppTitle")
        return escaped(texts::AppTitle);
    if (name == "Wasted")
        return escaped(texts::Wasted);
    if (name == "Seconds")
        return escaped(texts::Seconds);
    if (name == "TakeFocus")
        return escaped(texts::TakeFocus);
    if (name == "squares")
        return squares();
    return std::nullopt;
}

} // namespace

std::string fillPage(std::string_view page)
{
    std::string out;
    std::size_t from = 0;
    for (auto open = page.find("${"); open != page.npos; open = page.find("${", from)) {
        const auto close = page.find('}', open);
        if (close == page.npos)
            break;
        const auto filled = value(page.substr(open + 2, close - open - 2));
        // A name not ours stays as it was.
        out += page.substr(from, open - from);
        out += filled ? *filled : std::string(page.substr(open, close + 1 - open));
        from = close + 1;
    }
    out += page.substr(from);
    return out;
}

} // namespace zarquel::web
