// The game's page: the session behind the DOM. page.js hands each event in once and applies the one reply it gets back.
#include "controls.h"
#include "session.h"

#include <emscripten.h>

#include <string>

using namespace zarquel;
using namespace zarquel::window;

namespace {

// CSS pixels kept clear between a box and the viewport's edges.
constexpr int Margin = 4;

// At start, the first reply; after that every reply is a function's return value.
EM_JS(void, jsStart, (const char* reply), { Module.page.start(reply); });
// Whether label `which` (0 the two small ones, 1 the time) fits at this size and spacing, and the one chosen.
EM_JS(int, jsLabelFits, (int which, double points, double spacing), { return Module.page.fits(which, points, spacing); });

// The local time of day by the page's own clock. The C library's would first work out the time zone's
// names, which costs the start a few milliseconds in Chromium and the seed nothing.
EM_JS(double, jsSecondsSinceMidnight, (), {
    var now = new Date();
    return (now.getHours() * 60 + now.getMinutes()) * 60 + now.getSeconds() + now.getMilliseconds() / 1000;
});

class PageTimeOfDay final : public TimeOfDay {
public:
    float secondsSinceMidnight() const override { return static_cast<float>(jsSecondsSinceMidnight()); }
};

Session& session()
{
    static const PageTimeOfDay timeOfDay;
    static Session page(Host::Page, UsualDoubleClickMs, nullptr, timeOfDay);
    return page;
}

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return out + "\"";
}

// The reply as JSON: {"paint":[[index,color,"name"],...],"time":"1","clock":1,"focus":0..25,
// "box":["title","text",kind],"exit":1,"consumed":1}, each part only when there is one.
const char* encoded(const Reply& reply)
{
    static std::string out;
    out = "{\"paint\":[";
    for (const Paint& paint : reply.paint)
        out += (out.back() == '[' ? "[" : ",[") + std::to_string(paint.square) + "," + std::to_string(paint.color) + "," +
               quoted(colorName(paint.color)) + "]";
    out += "]";
    if (reply.time)
        out += ",\"time\":" + quoted(*reply.time);
    if (reply.clock)
        out += ",\"clock\":" + std::to_string(int(*reply.clock));
    if (reply.focus)
        out += ",\"focus\":" + std::to_string(reply.focus->on == Focus::On::Square ? reply.focus->square : 0);
    if (reply.box)
        out += ",\"box\":[" + quoted(reply.box->title) + "," + quoted(reply.box->text) + "," +
               std::to_string(int(reply.box->kind)) + "]";
    if (reply.exit)
        out += ",\"exit\":1";
    if (reply.consumed)
        out += ",\"consumed\":1";
    return (out += "}").c_str();
}

} // namespace

// ---- the page's events: the only functions page.js calls

extern "C" {

// `pointer`: the click came from a press at `press` ms (the event's timeStamp), rather than a key.
EMSCRIPTEN_KEEPALIVE const char* zq_click(int index, int pointer, unsigned press)
{
    return encoded(session().click(index, pointer ? std::optional<PressTime>(press) : std::nullopt));
}

// Modifiers: 1 Ctrl, 2 Shift, 4 Alt. Focus: -1 elsewhere, 0 the hidden focus button, 1..25 a square.
EMSCRIPTEN_KEEPALIVE const char* zq_key(int code, int modifiers, int focus)
{
    const Focus on = focus < 0 ? Focus::elsewhere() : focus ? Focus::at(SquareIndex(focus)) : Focus::sink();
    return encoded(session().key({code, (modifiers & 1) != 0, (modifiers & 2) != 0, (modifiers & 4) != 0}, on));
}

EMSCRIPTEN_KEEPALIVE const char* zq_menu(int id)
{
    return encoded(session().menu(id));
}

EMSCRIPTEN_KEEPALIVE const char* zq_tick()
{
    return encoded(session().tick());
}

EMSCRIPTEN_KEEPALIVE const char* zq_box_closed()
{
    return encoded(session().boxClosed());
}

EMSCRIPTEN_KEEPALIVE int zq_box_takes_press(unsigned press)
{
    return session().boxTakesPress(press);
}

EMSCRIPTEN_KEEPALIVE int zq_clock_running()
{
    return session().clockRunning();
}

// The open box's size, the game's top left and scale and the visual viewport, in CSS pixels: "[left,top]".
EMSCRIPTEN_KEEPALIVE const char* zq_place_box(int width, int height, int left, int top, double scale, int viewLeft,
                                              int viewTop, int viewWidth, int viewHeight)
{
    const Rect view {viewLeft + Margin, viewTop + Margin, viewWidth - 2 * Margin, viewHeight - 2 * Margin};
    const Rect at = placeBox(width, height, left, top, PlainDpi * scale, {&view, 1});
    static std::string out;
    out = "[" + std::to_string(at.left) + "," + std::to_string(at.top) + "]";
    return out.c_str();
}

// Label `which` (0 the two small ones, 1 the time) fitted by the window's rule; page.fits keeps the last size asked.
EMSCRIPTEN_KEEPALIVE void zq_fit_label(int which)
{
    const double designed = which ? layout::TimePoints : layout::LabelPoints;
    const Fit fit = fitLabel(designed, -0.3, [which](const Fit& at) { return jsLabelFits(which, at.points, at.spacing) != 0; });
    jsLabelFits(which, fit.points, fit.spacing);
}

} // extern "C"

int main()
{
    // Dealt before the page says it is ready, so the all-red design board is never played.
    jsStart(encoded(session().start()));
    return 0;
}
