// What frmZarquel asks of the page: one call per change, each answered by page.js.
#pragma once

#ifdef __EMSCRIPTEN__
#include <emscripten/em_macros.h>
// EM_ASYNC_JS imports the box under a name of its own, which every caller must use.
#define ZARQUEL_ASYNC_IMPORT(name) EM_IMPORT(__asyncjs__##name)
#else
#define ZARQUEL_ASYNC_IMPORT(name)
#endif

extern "C" {

void jsShowTime(const char* text);
// color is 0x00BBGGRR; name is what a screen reader says of it.
void jsPaintSquare(int index, int color, const char* name);
void jsSetClock(int running);
// 0 the hidden focus button, 1..25 a square.
void jsFocus(int square);
// The key being handled is the game's: the browser must not act on it.
void jsConsumeKey();
void jsEnd();
void jsReady();
// Returns once the player has dismissed the box.
void jsShowMessage(const char* text, const char* title) ZARQUEL_ASYNC_IMPORT(jsShowMessage);
// The open box's top left, in CSS pixels of the viewport.
void jsMoveBox(int left, int top);

} // extern "C"
