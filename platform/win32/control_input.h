// Keyboard rules of the window's focusable controls, without a dialog
// manager: Esc closes the window from any of them, Tab moves along the tab
// stops, Enter never presses a button, and an edit box with a byte limit
// keeps of new input only the first characters that fit its GBK length.
#pragma once

#include <windows.h>

namespace morvane::win32 {

// Attaches the rules to a control of the window; maxBytes > 0 limits an
// edit box to that many bytes in code page 936.
bool AttachControlInput(HWND control, int maxBytes);

// True when a key message for Esc came without Shift, Ctrl, Alt or Win.
bool IsPlainEscape(UINT message, WPARAM key);

}  // namespace morvane::win32
