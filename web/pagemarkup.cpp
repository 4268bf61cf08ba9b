// The page's markup and geometry from the window's description, so the browser shows them without waiting for the game.
#include "pagemarkup.h"

#include "controls.h"
#include "menus.h"
#include "texts.h"

#include <optional>

namespace zarquel::web {

using namespace zarquel::window;

namespace {

// What the page allows itself: its own files, its one inline script by its hash, and compiling its own WebAssembly.
std::string policy(std::string_view scriptHash)
{
    const std::string hash = scriptHash.empty() ? "" : " 'sha256-" + std::string(scriptHash) + "'";
    return "default-src 'self'; script-src 'self'" + hash + " 'wasm-unsafe-eval'; object-src 'none'; base-uri 'none'";
}

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

std::string attribute(std::string_view name, std::string_view value)
{
    return " " + std::string(name) + "=\"" + escaped(value) + "\"";
}

// The end of a menu entry's button: its access key and shortcut attributes, then its caption
// with the access key underlined, and the shortcut beside it.
std::string entry(std::string_view caption, std::string_view shortcut)
{
    const auto at = caption.find('&');
    std::string out = attribute("data-key", std::string(1, accessKey(caption)));
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
        out += attribute("aria-keyshortcuts", keys);
    }
    out += "><span>" + escaped(caption.substr(0, at)) + "<u>" + escaped(caption.substr(at + 1, 1)) + "</u>" +
           escaped(caption.substr(at + 2)) + "</span>";
    if (!shortcut.empty())
        out += "<span class=\"shortcut\">" + escaped(shortcut) + "</span>";
    return out + "</button>\n";
}

// A desktop menu bar's markup: one tab stop for the whole bar, the items reached with the arrows.
std::string menubar()
{
    std::string out = "<div id=\"menubar\" role=\"menubar\"" + attribute("aria-label", texts::AppTitle) + ">\n";
    for (const Menu& menu : MenuBar) {
        const std::string popup = std::string(menu.name) + "Menu";
        out += "<div class=\"menu\">\n<button" + attribute("id", menu.name) +
               " type=\"button\" role=\"menuitem\" aria-haspopup=\"menu\" aria-expanded=\"false\"" +
               attribute("aria-controls", popup) + (&menu == MenuBar ? "" : " tabindex=\"-1\"") +
               entry(menu.caption, {});
        out += "<div" + attribute("id", popup) + " role=\"menu\"" + attribute("aria-labelledby", menu.name) + " hidden>\n";
        for (const MenuItem& item : menu.items) {
            if (item.caption.empty()) {
                out += "<hr" + attribute("id", item.name) + " role=\"separator\">\n";
                continue;
            }
            out += "<button" + attribute("id", item.name) + " type=\"button\" role=\"menuitem\" tabindex=\"-1\"" +
                   attribute("data-command", std::to_string(item.id)) +
                   entry(item.caption, shortcutText(item.command, Host::Page));
        }
        out += "</div>\n</div>\n";
    }
    return out + "</div>";
}

// Every control of the table, with the names and descriptions a screen reader reads; the squares
// go in the board's grid, the rest where layoutRules puts them.
std::string markup(bool squares)
{
    std::string out;
    for (const Control& c : controls()) {
        const std::string id = attribute("id", c.index ? std::string(c.name) + std::to_string(c.index) : c.name);
        const std::string description = c.description.empty() ? "" : attribute("aria-description", c.description);
        if ((c.kind == ControlKind::Square) != squares)
            continue;
        switch (c.kind) {
        case ControlKind::FocusButton:
            out += "<button" + id + " type=\"button\"" + description + ">" + escaped(c.caption) + "</button>\n";
            break;
        case ControlKind::Label:
            out += "<div" + id + " class=\"label\">" + escaped(c.caption) + "</div>\n";
            break;
        case ControlKind::Time:
            out += "<div" + id + " class=\"label\" role=\"timer\"" + attribute("aria-label", c.accessibleName) + ">" +
                   escaped(c.caption) + "</div>\n";
            break;
        case ControlKind::Image:
            out += "<h1><img" + id + " src=\"banner.gif\" srcset=\"banner.gif 1x, banner@2x.gif 2x\"" +
                   attribute("alt", c.accessibleName) + "></h1>\n";
            break;
        case ControlKind::Square:
            out += "<button" + id + " type=\"button\"" + attribute("aria-label", c.accessibleName) + "></button>" +
                   (c.index % BoardSide || c.index == SquareCount ? "" : "\n");
            break;
        }
    }
    return out;
}

// 13.5, not 13.500000.
std::string number(double value)
{
    std::string text = std::to_string(value);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.')
        text.pop_back();
    return text;
}

std::string px(int twips)
{
    return std::to_string(pixels(twips)) + "px";
}

std::string cssColor(SquareColor color)
{
    return "rgb(" + std::to_string(color & 0xFF) + " " + std::to_string((color >> 8) & 0xFF) + " " +
           std::to_string((color >> 16) & 0xFF) + ")";
}

// Every control where the layout puts it, in CSS pixels (twips / 15); a label's line is its height.
std::string layoutRules()
{
    const Rect& client = layout::ClientArea;
    std::string out = ":root { --background: " + cssColor(layout::Background) + "; --label: " +
                      cssColor(layout::LabelColor) + "; }\n" + "#page, #frmZarquel { width: " + px(client.width) +
                      "; }\n" + "#frmZarquel { height: " + px(client.height) + "; }\n" +
                      "body { font-size: " + number(layout::LabelPoints) + "pt; }\n";
    for (const Control& c : controls()) {
        if (c.kind == ControlKind::Square)
            continue;
        const Rect& twips = c.twips;
        out += "#" + std::string(c.name) + " { left: " + px(twips.left) + "; top: " + px(twips.top) +
               "; width: " + px(twips.width) + "; height: " + px(twips.height) + "; line-height: " + px(twips.height) +
               "; }\n";
    }
    const Rect square = layout::cmdSquare(1);
    const std::string side = px(square.width);
    out += "#lblTime { font-size: " + number(layout::TimePoints) + "pt; }\n";
    out += "#board { left: " + px(layout::Board.left) + "; top: " + px(layout::Board.top) +
           "; grid-template-columns: repeat(" + std::to_string(BoardSide) + ", " + side + "); grid-auto-rows: " + side +
           "; gap: " + px(layout::SquarePitch - square.width) + "; }\n";
    out += "#board button { width: " + side + "; height: " + side + "; }";
    return out;
}

std::optional<std::string> value(std::string_view name, const PageScript& script)
{
    const struct {
        std::string_view name;
        std::string_view text;
    } texts[] {
        {"AppTitle", texts::AppTitle},       {"Wasted", texts::Wasted},          {"Seconds", texts::Seconds},
        {"TakeFocus", texts::TakeFocus},
    };
    for (const auto& text : texts)
        if (text.name == name)
            return escaped(text.text);
    if (name == "menubar")
        return menubar();
    if (name == "controls" || name == "squares")
        return markup(name == "squares");
    if (name == "layout")
        return layoutRules();
    if (name == "Policy")
        return escaped(policy(script.sha256));
    // Raw: a script element's text is not HTML.
    if (name == "script")
        return std::string(script.text);
    return std::nullopt;
}

} // namespace

std::string fillPage(std::string_view page, const PageScript& script)
{
    std::string out;
    std::size_t from = 0;
    for (auto open = page.find("${"); open != page.npos; open = page.find("${", from)) {
        const auto close = page.find('}', open);
        if (close == page.npos)
            break;
        const auto filled = value(page.substr(open + 2, close - open - 2), script);
        // A name not ours stays as it was.
        out += page.substr(from, open - from);
        out += filled ? *filled : std::string(page.substr(open, close + 1 - open));
        from = close + 1;
    }
    out += page.substr(from);
    return out;
}

} // namespace zarquel::web
