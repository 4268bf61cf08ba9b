// The calls of page.h, carried to page.js (Module.page) through EM_JS: compiled into zarquel.js, no eval.
#include "page.h"

#include <emscripten.h>

EM_JS(void, jsShowTime, (const char* text), { Module.page.time(UTF8ToString(text)); });
EM_JS(void, jsPaintSquare, (int index, int color, const char* name), {
    Module.page.paint(index, color, UTF8ToString(name));
});
EM_JS(void, jsSetClock, (int running), { Module.page.clock(running); });
EM_JS(void, jsFocus, (int square), { Module.page.focus(square); });
EM_JS(void, jsConsumeKey, (), { Module.page.consume(); });
EM_JS(void, jsEnd, (), { Module.page.end(); });
EM_JS(void, jsReady, (), { Module.page.ready(); });
// The one call that waits: the C++ stack sleeps (Asyncify) until the box's OK.
EM_ASYNC_JS(void, jsShowMessage, (const char* text, const char* title), {
    await Module.page.message(UTF8ToString(text), UTF8ToString(title));
});
EM_JS(void, jsMoveBox, (int left, int top), { Module.page.moveBox(left, top); });
