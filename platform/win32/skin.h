// The control skin of the UI thread: takes over the drawing of buttons,
// edit boxes, drop-down combo boxes and their lists, and up-down controls,
// those that exist when it is switched on and those the thread creates
// later (message boxes included), in the colour scheme of a style.
#pragma once

#include <windows.h>

namespace morvane::win32::skin {

// Styles 1, 2 and 3 switch the skin on with their scheme; a skin that is
// already on is switched off first. Any other style switches it off: every
// skinned window gets its own drawing back and the thread hook goes.
void Apply(int style);

// What the skin does with a window, decided by its class and style.
enum class Kind {
  kNone,  // not skinned: labels, owner-drawn and picture buttons, ...
  kPushButton,
  kCheckBox,
  kRadioButton,
  kGroupBox,
  kEdit,
  kComboBox,
  kComboList,
  kUpDown,
};
[[nodiscard]] Kind Classify(HWND hwnd);

// Whether the skin draws this window now.
[[nodiscard]] bool IsSkinned(HWND hwnd);

}  // namespace morvane::win32::skin
