// The transparent label: draws only its text, over whatever lies beneath
// it, in the colour and layout of its row; reports a left button press to
// the top-level window as it goes down.
#pragma once

#include <windows.h>

#include "app/controls.h"

namespace morvane::win32 {

inline constexpr wchar_t kLabelClass[] = L"MorvaneLabel";

// Registers the label class once per process. False when it cannot.
bool RegisterLabelClass(HINSTANCE instance);

// A label for the row, a child of parent with the given text and id.
HWND CreateLabel(HWND parent, const ControlRow& row, const wchar_t* text, int id);

}  // namespace morvane::win32
