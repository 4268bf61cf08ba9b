// What a screen reader learns of a control: the standard account, with the name and description the window gives it.
#pragma once

#include <windows.h>

// The answer to a control's WM_GETOBJECT for its client object: the standard object's, but with
// `name` (when not null) and `description` (a square's colour, the time's count, what a button is for).
LRESULT accessibleObject(HWND control, WPARAM wParam, const wchar_t* name, const wchar_t* description);
