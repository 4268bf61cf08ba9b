// The window's decisions, toolkit-free: layout and controls, menus and keys, the session's replies, box places, the guard, label fitting.
// The same source runs natively, as a Windows exe under Wine, and under node from the page's build.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include "controls.h"
#include "fakechance.h"
#include "menus.h"
#include "messagebox.h"
#include "neighbourhood.h"
#include "session.h"

#include <array>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

using namespace zarquel;
using namespace zarquel::window;

namespace zarquel::window {
doctest::String toString(const Rect& r)
{
    std::string text = "{";
    for (const int value : {r.left, r.top, r.width, r.height})
        text += std::to_string(value) + ", ";
    text.resize(text.size() - 2);
    text += "}";
    return text.c_str();
}
} // namespace zarquel::window

namespace {

enum Modifier { None = 0, Ctrl = 1, Shift = 2, Alt = 4 };

KeyPress press(int code, int modifiers = None)
{
    return {code, (modifiers & Ctrl) != 0, (modifiers & Shift) != 0, (modifiers & Alt) != 0};
}

std::string where(Focus focus)
{
    return focus.on == Focus::On::Sink ? "sink" : focus.on == Focus::On::Square ? std::to_string(focus.square) : "away";
}

// A key's outcome in words: "taken: Pause, to sink", "taken: to 13", "taken: click 7", "taken" or "passed".
std::string describe(const KeyOutcome& o)
{
    static const char* const commands[] {"", "Pause", "NewGame", "Exit", "Instructions", "About"};
    std::string parts = commands[int(o.command)];
    const auto add = [&](bool when, const std::string& part) { parts += when ? (parts.empty() ? "" : ", ") + part : ""; };
    add(o.click, "click " + std::to_string(o.click));
    add(o.moves, "to " + where(o.to));
    return (o.consumed ? "taken" : "passed") + (parts.empty() ? "" : ": " + parts);
}

// A reply in words, in the order a front end applies it: "paint 5; time 0; clock off; focus sink; box Zarquel; exit; taken".
std::string describe(const Reply& r)
{
    std::vector<std::string> parts;
    if (!r.paint.empty())
        parts.push_back("paint " + std::to_string(r.paint.size()));
    if (r.time)
        parts.push_back("time " + *r.time);
    if (r.clock)
        parts.push_back(*r.clock ? "clock on" : "clock off");
    if (r.focus)
        parts.push_back("focus " + where(*r.focus));
    if (r.box)
        parts.push_back("box " + r.box->title);
    if (r.exit)
        parts.push_back("exit");
    if (r.consumed)
        parts.push_back("taken");
    std::string out;
    for (const std::string& part : parts)
        out += (out.empty() ? "" : "; ") + part;
    return out;
}

std::array<SquareColor, SquareCount> greenAt(const std::set<int>& green)
{
    std::array<SquareColor, SquareCount> colors {};
    for (int k = 1; k <= SquareCount; ++k)
        colors[std::size_t(k - 1)] = green.count(k) ? Green : Red;
    return colors;
}

int menuId(Command command)
{
    for (const Menu& menu : MenuBar)
        for (const MenuItem& item : menu.items)
            if (item.command == command && !item.caption.empty())
                return item.id;
    return 0;
}

} // namespace

TEST_CASE("the layout is the design in pixels at any density, and every control is in the table")
{
    const struct {
        Rect twips, expected, pixels;
    } rows[] {
        {layout::ClientArea, {0, 0, 3960, 5910}, {0, 0, 264, 394}},
        {layout::cmdTakeFocus, {4200, 2760, 1215, 495}, {280, 184, 81, 33}},
        {layout::lblWasted, {240, 1995, 2175, 255}, {16, 133, 145, 17}},
        {layout::lblSeconds, {3120, 1995, 645, 255}, {208, 133, 43, 17}},
        {layout::lblTime, {2415, 1920, 615, 375}, {161, 128, 41, 25}},
        {layout::imgTitle, {750, 75, 2430, 1860}, {50, 5, 162, 124}},
        {layout::Board, {240, 2280, 3495, 3495}, {16, 152, 233, 233}},
        {layout::cmdSquare(1), {240, 2280, 615, 615}, {16, 152, 41, 41}},
        {layout::cmdSquare(13), {1680, 3720, 615, 615}, {112, 248, 41, 41}},
        {layout::cmdSquare(25), {3120, 5160, 615, 615}, {208, 344, 41, 41}},
    };
    for (const auto& row : rows) {
        CHECK(row.twips == row.expected);
        CHECK(pixels(row.twips) == row.pixels);
    }
    // Halves away from zero, as Windows rounds; every square one size at every density.
    for (const auto& [twips, dpi, expected] : {std::tuple {615, 120, 51}, {615, 144, 62}, {3960, 192, 528}, {7, 96, 0},
                                               {8, 96, 1}, {-105, 144, -11}}) {
        CHECK(pixels(twips, dpi) == expected);
        CHECK(pixels(layout::cmdSquare(1), dpi).width == pixels(layout::cmdSquare(25), dpi).width);
    }

    // Every control, its place, what it shows and what a screen reader hears, in tab order.
    std::vector<std::string> listed;
    for (const Control& c : controls())
        if (c.kind != ControlKind::Square)
            listed.push_back(std::string(c.name));
    CHECK(listed == std::vector<std::string> {"cmdTakeFocus", "lblWasted", "lblSeconds", "lblTime", "imgTitle"});
    const Control& sink = control("cmdTakeFocus");
    CHECK(sink.kind == ControlKind::FocusButton);
    CHECK(sink.caption == "For Focus");
    CHECK(sink.accessibleName == "For Focus");
    CHECK(sink.description == "Click the squares to turn them all red");
    CHECK(sink.twips == layout::cmdTakeFocus);
    const Control& time = control("lblTime");
    CHECK(time.kind == ControlKind::Time);
    CHECK(time.accessibleName == "Seconds wasted");
    CHECK(time.description == "0");
    CHECK(time.points == 13.5);
    CHECK(control("lblWasted").caption == "You've wasted this much time:");
    CHECK(control("lblSeconds").twips == layout::lblSeconds);
    CHECK(control("lblSeconds").points == 8);
    CHECK(control("imgTitle").accessibleName == "Zarquel");
    CHECK(control("imgTitle").twips == layout::imgTitle);
    CHECK_THROWS(control("cmdNothing"));
    std::set<int> ids;
    int tab = 1;
    for (SquareIndex k = 1; k <= SquareCount; ++k) {
        const Control& s = square(k);
        CHECK(s.kind == ControlKind::Square);
        CHECK(s.index == k);
        CHECK(s.name == "cmdSquare");
        CHECK(s.twips == layout::cmdSquare(k));
        CHECK(s.id == SquareIdBase + k);
        CHECK(s.tabOrder == ++tab);
    }
    CHECK(square(7).accessibleName == "Square 7, row 2, column 2");
    CHECK(square(25).accessibleName == "Square 25, row 5, column 5");
    CHECK(sink.tabOrder == 1);
    for (const Control& c : controls()) {
        CHECK_MESSAGE(ids.insert(c.id).second, c.name);
        CHECK_MESSAGE(!c.accessibleName.empty(), c.name);
        CHECK((c.tabOrder != 0) == (c.kind == ControlKind::FocusButton || c.kind == ControlKind::Square));
    }
    for (const auto& [color, name] : {std::pair {Red, "red"}, {Green, "green"}, {0x563412, "#123456"}, {0, "#000000"},
                                       {0xEFCDAB, "#abcdef"}})
        CHECK(colorName(color) == name);
}

TEST_CASE("every command has one item with its own id, and every shown shortcut gives it")
{
    std::map<Command, int> items;
    std::set<int> ids;
    std::vector<std::string> captions;
    for (const Menu& menu : MenuBar) {
        captions.push_back(std::string(menu.caption));
        std::set<char> letters;
        for (const MenuItem& item : menu.items) {
            CHECK((item.caption.empty()) == (item.command == Command::None)); // the separator alone has no caption
            items[item.command] += !item.caption.empty();
            CHECK(ids.insert(item.id).second);
            CHECK(commandOf(item.id) == item.command);
            CHECK_MESSAGE((item.caption.empty() || !letters.count(accessKey(item.caption))), "two items share an access key");
            letters.insert(accessKey(item.caption));
        }
    }
    CHECK(captions == std::vector<std::string> {"&File", "&Help"});
    for (const int stranger : {0, -1, 1000, 1005, 1013, 101})
        CHECK(commandOf(stranger) == Command::None);
    for (const Command command : {Command::Pause, Command::NewGame, Command::Exit, Command::Instructions, Command::About}) {
        CHECK(items[command] == 1);
        // What the menu shows and what the keys do must never drift apart.
        for (const Host host : {Host::Desktop, Host::Page}) {
            std::string shown = shortcutText(command, host);
            for (std::size_t from = 0; from < shown.size();) {
                const std::size_t end = std::min(shown.find(", ", from), shown.size());
                const std::string keys = shown.substr(from, end - from);
                const KeyPress pressed = keys == "F2" ? press(key::F2) : press(keys.back(), Ctrl);
                CHECK_MESSAGE((keys == "F2" || keys.size() == 6), keys);
                CHECK(keyOutcome(pressed, Focus::sink(), 1, host).command == command);
                from = end + 2;
            }
        }
    }
    // A browser tab may keep Ctrl+N, so only the page shows F2 too.
    CHECK(shortcutText(Command::NewGame, Host::Desktop) == "Ctrl+N");
    CHECK(shortcutText(Command::NewGame, Host::Page) == "Ctrl+N, F2");
    CHECK(keysHelp().find("Ctrl+P, Escape     pause the clock\n") != std::string::npos);
}

TEST_CASE("keys do what the window says")
{
    struct Row {
        std::string name;
        KeyPress key;
        Focus focus;
        int last;
        bool page;
        std::string outcome;
    };
    std::vector<Row> rows;
    const auto row = [&](const std::string& name, KeyPress key, Focus focus, int last, bool page, const std::string& outcome) {
        rows.push_back({name, key, focus, last, page, outcome});
    };
    const Focus sink = Focus::sink(), away = Focus::elsewhere();
    // Menu commands wherever the focus is; F2 only on the page.
    row("Ctrl+P", press('P', Ctrl), sink, 1, false, "taken: Pause");
    row("F2 on the page", press(key::F2), Focus::at(7), 1, true, "taken: NewGame");
    row("F2 on the desktop", press(key::F2), Focus::at(7), 1, false, "passed");
    row("Ctrl+A from the menu bar", press('A', Ctrl), away, 1, false, "taken: About");
    // Alt and F10 are the menu bar's (and a browser's own); other keys are the toolkit's.
    for (const auto& [name, key] : {std::pair {"Alt+F", press('F', Alt)}, {"F10", press(key::F10)}, {"P", press('P')},
                                    {"Ctrl+Shift+N", press('N', Ctrl | Shift)}, {"Ctrl+Alt+P", press('P', Ctrl | Alt)},
                                    {"Ctrl+F2", press(key::F2, Ctrl)}, {"Ctrl+Tab", press(key::Tab, Ctrl)}})
        for (const Focus focus : {sink, Focus::at(13), away})
            row(std::string(name) + " at " + where(focus), key, focus, 13, true, "passed");
    // Escape pauses whatever is held; from the menu bar it also gives the board its keys back.
    for (int modifiers = 0; modifiers < 8; ++modifiers)
        for (const Focus focus : {sink, Focus::at(13), away})
            row("Escape " + std::to_string(modifiers) + " at " + where(focus), press(key::Escape, modifiers), focus, 1,
                modifiers % 2, focus == away ? "taken: Pause, to sink" : "taken: Pause");
    // From the sink Tab either way, or an arrow, goes to the square played last, never off the board.
    for (const int last : {1, 13, 25, 0, 26})
        for (const auto& [name, key] : {std::pair {"Tab", press(key::Tab)}, {"Shift+Tab", press(key::Tab, Shift)},
                                        {"Up", press(key::Up)}, {"Left", press(key::Left)}})
            row(std::string(name) + " from the sink, last " + std::to_string(last), key, sink, last, last % 2,
                "taken: to " + std::to_string(last % 26 ? last : 1));
    row("Tab from the menu bar", press(key::Tab), away, 13, false, "passed");
    row("Down from the menu bar", press(key::Down), away, 13, false, "passed");
    row("Space from the menu bar", press(key::Space), away, 13, false, "passed");
    // Square by square, then the sink; past the last square the page lets the browser go on.
    row("Tab on a square", press(key::Tab), Focus::at(7), 13, true, "taken: to 8");
    row("Shift+Tab on a square", press(key::Tab, Shift), Focus::at(7), 13, false, "taken: to 6");
    row("Tab on the last square", press(key::Tab), Focus::at(25), 13, false, "taken: to sink");
    row("Tab on the page's last square", press(key::Tab), Focus::at(25), 13, true, "passed");
    row("Tab on the page's 24th square", press(key::Tab), Focus::at(24), 13, true, "taken: to 25");
    row("Shift+Tab on the page's first square", press(key::Tab, Shift), Focus::at(1), 13, true, "taken: to sink");
    // Arrows in two dimensions, stopping at the edges: from each square, Left, Up, Right and Down.
    const int arrows[] {key::Left, key::Up, key::Right, key::Down};
    for (const auto& move : {std::array {1, 1, 1, 2, 6}, {10, 9, 5, 10, 15}, {13, 12, 8, 14, 18}, {21, 21, 16, 22, 21},
                             {25, 24, 20, 25, 25}})
        for (int k = 0; k < 4; ++k)
            row("arrow " + std::to_string(arrows[k]) + " from " + std::to_string(move[0]), press(arrows[k]),
                Focus::at(SquareIndex(move[0])), 1, k % 2, "taken: to " + std::to_string(move[std::size_t(k) + 1]));
    row("Shift+Down on a square", press(key::Down, Shift), Focus::at(13), 1, false, "taken");
    row("Ctrl+Down on a square", press(key::Down, Ctrl), Focus::at(13), 1, false, "taken");
    row("Ctrl+Up on the sink", press(key::Up, Ctrl), sink, 1, true, "taken");
    row("Alt+Left, a browser's Back", press(key::Left, Alt), Focus::at(13), 1, true, "passed");
    // Space and Enter click a focused square, and nothing else; held with Ctrl they do nothing at all,
    // where a button would click.
    row("Space on a square", press(key::Space), Focus::at(13), 1, false, "taken: click 13");
    row("Shift+Enter on a square", press(key::Enter, Shift), Focus::at(25), 1, true, "taken: click 25");
    row("Ctrl+Space on a square", press(key::Space, Ctrl), Focus::at(13), 1, false, "taken");
    row("Ctrl+Enter on a square", press(key::Enter, Ctrl), Focus::at(1), 1, true, "taken");
    row("Space on the sink", press(key::Space), sink, 13, false, "passed");
    row("Ctrl+Space on the sink", press(key::Space, Ctrl), sink, 13, false, "passed");
    row("Space on no square", press(key::Space), Focus::at(0), 13, false, "passed");
    for (const Row& r : rows) {
        CAPTURE(r.name);
        CHECK(describe(keyOutcome(r.key, r.focus, SquareIndex(r.last), r.page ? Host::Page : Host::Desktop)) == r.outcome);
    }
}

TEST_CASE("a box goes over the board below the labels, whole in the work area of the screen under the board")
{
    // A client area at (100, 100): the board 116..349 across, 252..485 down; the labels end at 253.
    const Rect screen {0, 0, 1280, 1000};
    const struct {
        std::string name;
        int width, height, left, top;
        double dpi;
        std::vector<Rect> workAreas;
        Rect placed;
    } rows[] {
        {"centred on the board", 200, 100, 100, 100, 96, {screen}, {132, 319, 200, 100}},
        {"taller than the board below the labels", 200, 300, 100, 100, 96, {screen}, {132, 253, 200, 300}},
        {"wider than the board", 400, 100, 100, 100, 96, {screen}, {33, 319, 400, 100}},
        {"at twice the density", 200, 100, 100, 100, 192, {screen}, {265, 588, 200, 100}},
        {"on a scaled page", 200, 100, 0, 0, 96 * 2.5, {screen}, {231, 623, 200, 100}},
        {"window hanging off the bottom of the work area", 200, 100, 100, 800, 96, {screen}, {132, 900, 200, 100}},
        {"window off the right edge", 200, 100, 1150, 100, 96, {screen}, {1080, 319, 200, 100}},
        {"work area below a top panel", 200, 100, 100, -250, 96, {{0, 40, 1280, 960}}, {132, 40, 200, 100}},
        {"work area above a bottom panel", 200, 100, 100, 650, 96, {{0, 0, 1280, 960}}, {132, 860, 200, 100}},
        {"box larger than the screen", 2000, 1200, 100, 100, 96, {screen}, {0, 0, 2000, 1200}},
        // The board's centre decides the screen; off every screen, the nearest one.
        {"board on the second screen", 200, 100, 1300, 100, 96, {screen, {1280, 0, 1024, 768}}, {1332, 319, 200, 100}},
        {"board below every screen", 200, 100, 300, 548, 96, {{0, 0, 1024, 768}}, {332, 668, 200, 100}},
        {"board across two stacked screens, its centre on the lower", 200, 100, 100, 798, 96,
         {{0, 0, 1280, 1000}, {0, 1000, 1280, 1000}}, {132, 1017, 200, 100}},
        {"board between two screens, nearer the right", 200, 100, 1100, 900, 96,
         {{0, 0, 1024, 768}, {1300, 700, 1024, 768}}, {1300, 1119, 200, 100}},
        {"no screen at all", 200, 100, 300, 5000, 96, {}, {332, 5219, 200, 100}},
    };
    for (const auto& row : rows) {
        CAPTURE(row.name);
        CHECK(placeBox(row.width, row.height, row.left, row.top, row.dpi, row.workAreas) == row.placed);
    }
    // A box never covers the time unless the screen leaves no other room.
    const Rect placed = placeBox(240, 120, 0, 0, 96, std::vector<Rect> {screen});
    CHECK(placed.top >= pixels(layout::lblTime).bottom());
}

TEST_CASE("a label keeps its designed size where its text fits, closes up its letters, and only then shrinks")
{
    std::vector<std::pair<double, double>> asked;
    // A text `width` wide at 8 points, scaled with the size, narrower by `letters` times the spacing.
    const auto measure = [&](double width, int letters, double room) {
        asked.clear();
        return fitLabel(8, -0.25, [&, width, letters, room](const Fit& at) {
            asked.emplace_back(at.points, at.spacing);
            return width * at.points / 8 + letters * at.spacing <= room;
        });
    };
    Fit fit = measure(140, 29, 145);
    CHECK(fit.points == 8);
    CHECK(fit.spacing == 0);
    CHECK(asked.size() == 1);
    fit = measure(147, 29, 145); // two pixels too wide: 0.1 px closer is enough
    CHECK(fit.points == 8);
    CHECK(fit.spacing == doctest::Approx(-0.1));
    fit = measure(160, 29, 145); // far too wide for spacing alone
    CHECK(fit.points == 7.5);
    CHECK(fit.spacing == doctest::Approx(-0.2));
    CHECK(asked.size() == 11); // six spacings at 8 points, then five at 7.5
    fit = measure(1000, 29, 145);
    CHECK(fit.points == 4);
    // A toolkit that cannot space letters is asked each size once.
    asked.clear();
    fit = fitLabel(13.5, 0, [&](const Fit& at) {
        asked.emplace_back(at.points, at.spacing);
        return at.points <= 11;
    });
    CHECK(fit.points == 11);
    CHECK(asked.size() == 6);
}

TEST_CASE("a session deals first, plays clicks, keys and menus, and remembers the square played last")
{
    ScriptedRandom random({0.1f, 0.9f});
    FixedTimeOfDay timeOfDay;
    Session session(Host::Desktop, 500, &random, timeOfDay);
    // Dealt before the window shows: every square painted, the clock stopped at 0, the focus on the sink.
    Reply reply = session.start();
    CHECK(describe(reply) == "paint 25; time 0; clock off; focus sink");
    CHECK(reply.paint[1].square == 2);
    CHECK(reply.paint[1].color == Green);
    CHECK(session.color(1) == Red);
    CHECK(random.seeds == std::vector<float> {timeOfDay.seconds});

    session.arrange(greenAt(neighbourhood(13)));
    // A click plays the game, starts the clock once (a running one keeps its second), and is where
    // the keyboard comes back to.
    reply = session.click(7);
    CHECK(describe(reply) == "paint 5; clock on; focus sink");
    CHECK(reply.paint.front().square == 2); // in the table's order: the squares ripple
    CHECK(describe(session.click(7)) == "paint 5; focus sink");
    CHECK(describe(session.key(press(key::Down), Focus::sink())) == "focus 7; taken");
    // Space on a square clicks it and makes it the square played last.
    CHECK(describe(session.key(press(key::Space), Focus::at(18))) == "paint 5; focus sink; taken");
    CHECK(session.color(23) == Green);
    CHECK(session.lastPlayed() == 18);
    CHECK(describe(session.key(press(key::Tab, Shift), Focus::sink())) == "focus 18; taken");
    // A number naming no square plays nothing, yet counts as a click; the square played last stays.
    CHECK(describe(session.click(65536 + 13)) == "focus sink");
    CHECK(session.lastPlayed() == 18);
    CHECK(describe(session.tick()) == "time 1");
    // Help opens a box and leaves the clock running; the menu's id says which.
    reply = session.menu(menuId(Command::Instructions));
    CHECK(describe(reply) == "box Instructions");
    CHECK(reply.box->kind == BoxKind::Instructions);
    CHECK(reply.box->text == texts::Instructions);
    CHECK(session.boxOpen());
    CHECK(describe(session.tick()) == "time 2");
    CHECK(describe(session.boxClosed()) == "");
    CHECK(describe(session.boxClosed()) == ""); // a second close changes nothing
    reply = session.key(press('A', Ctrl), Focus::at(18));
    CHECK(describe(reply) == "box About Zarquel; taken");
    CHECK(reply.box->text.find("\r\n") != std::string::npos);
    session.boxClosed();
    // Escape from the menu bar pauses and gives the board its keys back; a stopped clock counts nothing.
    CHECK(describe(session.key(press(key::Escape), Focus::elsewhere())) == "clock off; focus sink; taken");
    CHECK(describe(session.tick()) == "");
    CHECK(describe(session.key(press('Q'), Focus::sink())) == "");
    CHECK(describe(session.menu(9999)) == "");
    CHECK(describe(session.click(1)) == "paint 3; clock on; focus sink");
    // A new game, by key or by menu, starts the keyboard again at the first square.
    CHECK(describe(session.key(press('N', Ctrl), Focus::at(18))) == "paint 25; time 0; clock off; taken");
    CHECK(session.lastPlayed() == 1);
    CHECK(!session.clockRunning());
    session.click(9);
    CHECK(session.lastPlayed() == 9);
    session.menu(menuId(Command::NewGame));
    CHECK(session.lastPlayed() == 1);
}

TEST_CASE("a win shows the red board and the final time behind the box; the next deal waits for its OK")
{
    ScriptedRandom random({0.7f});
    FixedTimeOfDay timeOfDay;
    Session session(Host::Desktop, 500, &random, timeOfDay);
    session.start();
    session.arrange(greenAt(neighbourhood(9)));
    session.click(1);
    session.click(1);
    session.tick();
    session.tick();
    Reply reply = session.click(9, PressTime(5000));
    CHECK(describe(reply) == "paint 5; clock off; focus sink; box Zarquel");
    CHECK(reply.box->kind == BoxKind::Win);
    CHECK(reply.box->text == texts::WinMessage);
    for (const Paint& paint : reply.paint)
        CHECK(paint.color == Red);
    CHECK(session.game().ElapsedSeconds() == 0); // the rules dealt already; the window shows it after OK
    // While the box is open the board takes nothing: no click, no menu, no key but a shortcut swallowed.
    CHECK(describe(session.click(13)) == "");
    CHECK(describe(session.menu(menuId(Command::NewGame))) == "");
    CHECK(describe(session.key(press('N', Ctrl), Focus::sink())) == "taken");
    CHECK(describe(session.key(press(key::Escape), Focus::sink())) == "");
    CHECK(describe(session.key(press(key::Space), Focus::at(3))) == "");
    CHECK(describe(session.tick()) == "");
    reply = session.boxClosed();
    CHECK(describe(reply) == "paint 25; time 0; clock off");
    CHECK(reply.paint.back().color == Green);
    CHECK(session.lastPlayed() == 1);
    CHECK(!session.boxOpen());
    CHECK(describe(session.click(13)) == "paint 5; clock on; focus sink");
}

TEST_CASE("a box opened by a pointer press ignores the rest of that double click; any other box takes a click at once")
{
    const auto winBy = [](std::optional<PressTime> press, int doubleClickMs) {
        auto session = std::make_unique<Session>(Host::Desktop, doubleClickMs);
        session->arrange(greenAt(neighbourhood(9)));
        session->click(9, press);
        return session;
    };
    // ms after the press that opened the box (below 0: a press stamped before it); the clock may wrap.
    const struct {
        int doubleClick;
        PressTime opened;
        int after;
        bool takes;
    } rows[] {{500, 1000u, 0, false},     {500, 1000u, 120, false}, {500, 1000u, 499, false},
              {500, 1000u, 500, true},    {500, 1000u, 90000, true}, {500, 1000u, -50, false},
              {400, 1000u, 450, true},    {500, 4294967000u, 200, false}, {500, 4294967000u, 800, true}};
    for (const auto& row : rows) {
        CAPTURE(row.opened);
        CAPTURE(row.after);
        const auto session = winBy(row.opened, row.doubleClick);
        CHECK(session->boxOpen());
        CHECK(session->boxTakesPress(PressTime(row.opened + PressTime(row.after))) == row.takes);
    }
    // By a key, a menu or an accessibility action: a click on OK counts at once.
    CHECK(winBy(std::nullopt, 500)->boxTakesPress(0));
    Session session(Host::Page);
    session.start();
    session.key(press('I', Ctrl), Focus::sink());
    CHECK(session.boxOpen());
    CHECK(session.boxTakesPress(0));
    session.boxClosed();
    session.menu(menuId(Command::About));
    CHECK(session.boxTakesPress(1));
    session.boxClosed();
    // A key that clicks a square wins unguarded, even right after a pointer press elsewhere.
    session.arrange(greenAt(neighbourhood(9)));
    session.click(4, PressTime(100));
    session.click(4);
    session.key(press(key::Space), Focus::at(9));
    CHECK(session.boxOpen());
    CHECK(session.boxTakesPress(101));
}

TEST_CASE("exit stops the clock and ends all input, on the desktop and on the page")
{
    for (const Host host : {Host::Desktop, Host::Page}) {
        Session session(host);
        session.start();
        session.click(1);
        CHECK(describe(session.menu(menuId(Command::Exit))) == "clock off; exit");
        CHECK(session.ended());
        CHECK(describe(session.click(1)) == "");
        CHECK(describe(session.tick()) == "");
        CHECK(describe(session.key(press('N', Ctrl), Focus::sink())) == "");
        CHECK(describe(session.menu(menuId(Command::NewGame))) == "");
        Session byKey(host);
        CHECK(describe(byKey.key(press('X', Ctrl), Focus::at(3))) == "clock off; exit; taken");
    }
}
