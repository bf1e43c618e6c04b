// How the skin draws each kind of control, in the colours of a scheme.
#pragma once

#include <windows.h>

#include "app/controls.h"
#include "platform/win32/skin.h"

namespace morvane::win32::skin {

// The colours of one scheme, derived from its frame colour.
struct Scheme {
  COLORREF frame;
  COLORREF faceTop, faceBottom;  // a push button at rest
  COLORREF hotTop, hotBottom;    // under the mouse
  COLORREF mark;                 // arrows, check marks
};
[[nodiscard]] Scheme MakeScheme(Rgb frame);

// Client-area faces of push buttons, check boxes, radio buttons and group
// boxes; hot: the mouse is over the control.
void PaintButton(HWND hwnd, HDC dc, Kind kind, bool hot, const Scheme& scheme);
// A bordered edit box's or a combo list's border, drawn in its window DC:
// one line in the frame colour, the system window colour inside it.
void PaintBorder(HWND hwnd, HDC windowDc, const Scheme& scheme);
// A drop-down combo box's frame and button, over its own drawing.
void PaintComboBox(HWND hwnd, HDC dc, const Scheme& scheme);
void PaintUpDown(HWND hwnd, HDC dc, const Scheme& scheme);

// How many pixels of border a window's styles give it.
[[nodiscard]] int BorderWidth(HWND hwnd);

}  // namespace morvane::win32::skin
