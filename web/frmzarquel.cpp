// The game's page: the window over the browser's DOM, and the only functions page.js calls.
// Every change the game makes goes to the DOM through page.js (Module.page), by EM_JS: no eval.
#include "form.h"
#include "messagebox.h"
#include "names.h"

#include <emscripten.h>

using namespace zarquel;
using namespace zarquel::window;

namespace {

// CSS pixels kept clear between a box and the viewport's edges.
constexpr int Margin = 4;

std::int64_t nowMs()
{
    return static_cast<std::int64_t>(emscripten_get_now());
}

EM_JS(void, jsShowTime, (const char* text), { Module.page.time(UTF8ToString(text)); });
// color is 0x00BBGGRR; name is what a screen reader says of it.
EM_JS(void, jsPaintSquare, (int index, int color, const char* name), {
    Module.page.paint(index, color, UTF8ToString(name));
});
EM_JS(void, jsSetClock, (int running), { Module.page.clock(running); });
// 0 the hidden focus button, 1..25 a square.
EM_JS(void, jsFocus, (int square), { Module.page.focus(square); });
EM_JS(void, jsConsumeKey, (), { Module.page.consume(); });
EM_JS(void, jsEnd, (), { Module.page.end(); });
EM_JS(void, jsReady, (), { Module.page.ready(); });
EM_JS(void, jsMoveBox, (int left, int top), { Module.page.moveBox(left, top); });
// The one call that waits: the C++ stack sleeps (Asyncify) until the box's OK.
EM_ASYNC_JS(void, jsShowMessage, (const char* text, const char* title), {
    await Module.page.message(UTF8ToString(text), UTF8ToString(title));
});

} // namespace

class frmZarquel final : public Form {
public:
    frmZarquel() : Form(Host::Page) {}

    // Deals the first board and tells the page it is playable.
    void load();

    // Events forwarded by the page. While a message box is open, or after Exit, none of
    // them reaches the game; only the clock does, and only while a box is open.
    void squareClicked(int index);
    void keyDown(const KeyPress& press, int focus);
    void menuChosen(Command command);
    void tmrTimeTick();
    // The open box's size, the board's and the label row's places and the visual viewport, in CSS pixels.
    void placeBox(int width, int height, const Rect& board, int labelsBottom, const Rect& view);
    bool boxTakesPress() const;

    void setTimeText(const std::string& text) override { jsShowTime(text.c_str()); }
    void focusSink() override { jsFocus(0); }

protected:
    // The window's calls on the page, each answered by page.js (Module.page).
    void paintSquare(SquareIndex square, SquareColor color) override
    {
        jsPaintSquare(square, color, names::colorName(color).c_str());
    }
    void runTimer(bool on) override { jsSetClock(on); }
    void focusSquare(SquareIndex square) override { jsFocus(square); }
    void takeKey() override { jsConsumeKey(); }
    void exitGame() override;
    void openBox(const std::string& text, const std::string& title) override;

private:
    bool takesInput() const { return !messageOpen_ && !ended_; }

    PressGuard guard_;
    bool messageOpen_ = false;
    bool ended_ = false;
};

void frmZarquel::load()
{
    // The page's texts are in its markup already (pagemarkup.cpp, at build time).
    // Dealt before the page says it is ready, so the all-red design board is never played.
    game().Deal();
    jsReady();
}

void frmZarquel::squareClicked(int index)
{
    if (takesInput() && isSquareIndex(index))
        click(static_cast<SquareIndex>(index));
}

void frmZarquel::keyDown(const KeyPress& press, int focus)
{
    if (takesInput())
        key(press, focus);
    // The box has the keyboard and the game takes nothing, but the browser must not print or
    // open a window over it either. Escape is the box's own.
    else if (!ended_ && press.code != key::Escape &&
             keyOutcome(press, focus, lastPlayed(), Host::Page).command != Command::None)
        jsConsumeKey();
}

void frmZarquel::menuChosen(Command command)
{
    if (takesInput())
        choose(command);
}

void frmZarquel::tmrTimeTick()
{
    // Ticks still count while an Instructions or About box is open; a win or
    // Exit has stopped the clock before any box.
    if (!ended_)
        tick();
}

void frmZarquel::placeBox(int width, int height, const Rect& board, int labelsBottom, const Rect& view)
{
    const Rect room {view.left + Margin, view.top + Margin, view.width - 2 * Margin, view.height - 2 * Margin};
    const Rect at = placeMessageBox(width, height, board, labelsBottom, room);
    jsMoveBox(at.left, at.top);
}

bool frmZarquel::boxTakesPress() const
{
    return guard_.takesPress(nowMs());
}

void frmZarquel::exitGame()
{
    // A page cannot end its process: the clock stops and the game takes no more input.
    disableClock();
    ended_ = true;
    jsEnd();
}

void frmZarquel::openBox(const std::string& text, const std::string& title)
{
    messageOpen_ = true;
    guard_.boxShown(nowMs());
    jsShowMessage(text.c_str(), title.c_str());
    messageOpen_ = false;
}

frmZarquel& form()
{
    static frmZarquel page;
    return page;
}

// ---- the page's events: the only functions page.js calls

extern "C" {

EMSCRIPTEN_KEEPALIVE void zq_click(int index)
{
    form().squareClicked(index);
}

// Modifiers: 1 Ctrl, 2 Shift, 4 Alt. Focus: 0 the hidden focus button, 1..25 a square, -1 elsewhere.
EMSCRIPTEN_KEEPALIVE void zq_key(int code, int modifiers, int focus)
{
    form().keyDown({code, (modifiers & 1) != 0, (modifiers & 2) != 0, (modifiers & 4) != 0}, focus);
}

EMSCRIPTEN_KEEPALIVE void zq_menu(int command)
{
    if (command >= int(Command::Pause) && command <= int(Command::About))
        form().menuChosen(static_cast<Command>(command));
}

EMSCRIPTEN_KEEPALIVE void zq_tick()
{
    form().tmrTimeTick();
}

EMSCRIPTEN_KEEPALIVE int zq_clock_running()
{
    return form().clockRunning();
}

// While a box is open: where it goes (jsMoveBox), and whether a pointer press on it counts.
EMSCRIPTEN_KEEPALIVE void zq_place_box(int width, int height, int boardLeft, int boardTop, int boardWidth,
                                       int boardHeight, int labelsBottom, int viewLeft, int viewTop, int viewWidth,
                                       int viewHeight)
{
    form().placeBox(width, height, {boardLeft, boardTop, boardWidth, boardHeight}, labelsBottom,
                    {viewLeft, viewTop, viewWidth, viewHeight});
}

EMSCRIPTEN_KEEPALIVE int zq_box_takes_press()
{
    return form().boxTakesPress();
}

} // extern "C"

int main()
{
    form().load();
    return 0;
}
