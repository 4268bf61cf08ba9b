// What a screen reader learns of a square: the standard button's account, with its colour as the description.
#pragma once

#include <windows.h>

// The answer to a square's WM_GETOBJECT for its client object: name from the window
// text as for any button, description `color` ("red" or "green").
LRESULT squareAccessibleObject(HWND square, WPARAM wParam, const wchar_t* color);
