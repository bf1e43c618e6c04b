// The main window described as data: every control with its kind, parent,
// place, size, initial text, visibility, stacking order and look. Both window
// backends (and the simulated one in the tests) build from these rows; a new
// control is one new row here and nowhere else.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "app/texts.h"

namespace morvane {

// The controls, by the names the program gives them.
enum class Control : std::uint8_t {
  透明标签7,
  透明标签13,
  透明标签2,
  透明标签12,
  透明标签11,
  透明标签10,
  透明标签9,
  透明标签8,
  透明标签6,
  编辑框2,
  透明标签5,
  透明标签4,
  透明标签3,
  透明标签1,
  分组框1,
  编辑框1,
  按钮1,
  时钟1,  // poll timer
  时钟2,  // countdown timer
  时钟3,  // burst timer
  kNone,  // no control: the parent of top-level controls
};

enum class ControlKind : std::uint8_t { kLabel, kEditBox, kGroupBox, kPushButton, kTimer };

struct Rgb {
  std::uint8_t r, g, b;
  friend constexpr bool operator==(Rgb, Rgb) = default;
};

// How a control's text is laid out and how it looks, beyond its kind.
enum class TextLayout : std::uint8_t {
  kSingleLineCentred,  // one line, vertically centred (labels)
  kWrapFromTop,        // breaks at CR LF and at the width, from the top
  kEditMultiLine,      // multi-line edit box, wraps, no scroll bars
  kEditSingleLine,     // one line that scrolls sideways
  kNone,
};

struct ControlRow {
  Control id;
  std::string_view name;  // UTF-8, for diagnostics and tests
  ControlKind kind;
  Control parent;           // kNone: a child of the window itself
  int x, y, width, height;  // place in the parent's client area
  const char* initialText;  // GBK
  bool shownAtStart;
  bool tabStop;
  TextLayout layout;
  Rgb textColor;
  bool handCursor;
  bool boldFont;  // 12-pixel bold, GB2312 charset, face chosen by the system
  int maxBytes;   // edit boxes: most bytes (GBK) the box accepts; 0 = no limit
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kMagenta{255, 0, 255};

// In stacking order: where two controls of one parent overlap, the earlier
// row lies above the later one. The timers take no place on screen.
inline constexpr std::array<ControlRow, 20> kControls = {{
    {Control::透明标签7, "透明标签7", ControlKind::kLabel, Control::kNone, 240, 124, 64, 16,
     texts::kCountdownAfter, false, false, TextLayout::kSingleLineCentred, kBlack, false, false, 0},
    {Control::透明标签13, "透明标签13", ControlKind::kLabel, Control::kNone, 100, 125, 95, 16,
     texts::kCountdownBefore, false, false, TextLayout::kSingleLineCentred, kBlack, false, false,
     0},
    {Control::透明标签2, "透明标签2", ControlKind::kLabel, Control::kNone, 202, 125, 32, 16,
     "99999", false, false, TextLayout::kSingleLineCentred, kBlack, false, false, 0},
    {Control::透明标签12, "透明标签12", ControlKind::kLabel, Control::kNone, 112, 120, 136, 24,
     texts::kNotStarted, true, false, TextLayout::kSingleLineCentred, kBlack, false, false, 0},
    {Control::透明标签11, "透明标签11", ControlKind::kLabel, Control::kNone, 369, 120, 63, 24,
     texts::kNotStarted, true, false, TextLayout::kSingleLineCentred, kBlack, false, false, 0},
    {Control::透明标签10, "透明标签10", ControlKind::kLabel, Control::kNone, 344, 320, 80, 24,
     texts::kAuthorLinkText, true, false, TextLayout::kSingleLineCentred, kMagenta, true, false, 0},
    {Control::透明标签9, "透明标签9", ControlKind::kLabel, Control::kNone, 56, 208, 336, 104,
     texts::kInstructions, true, false, TextLayout::kWrapFromTop, kBlack, false, false, 0},
    {Control::透明标签8, "透明标签8", ControlKind::kLabel, Control::kNone, 48, 64, 96, 24,
     texts::kInstructionsClosed, true, false, TextLayout::kSingleLineCentred, kRed, true, false, 0},
    {Control::透明标签6, "透明标签6", ControlKind::kLabel, Control::kNone, 331, 61, 40, 24,
     texts::kPerMinute, true, false, TextLayout::kSingleLineCentred, kBlack, false, false, 0},
    {Control::编辑框2, "编辑框2", ControlKind::kEditBox, Control::kNone, 303, 61, 24, 20, "60",
     true, true, TextLayout::kEditSingleLine, kBlack, false, false, 3},
    {Control::透明标签5, "透明标签5", ControlKind::kLabel, Control::kNone, 249, 61, 49, 24,
     texts::kDefaultInterval, true, false, TextLayout::kSingleLineCentred, kBlack, false, false, 0},
    {Control::透明标签4, "透明标签4", ControlKind::kLabel, Control::kNone, 24, 24, 80, 24,
     texts::kAddressCaption, true, false, TextLayout::kSingleLineCentred, kBlack, false, false, 0},
    {Control::透明标签3, "透明标签3", ControlKind::kLabel, Control::分组框1, 264, 16, 80, 24,
     texts::kPlayCountCaption, true, false, TextLayout::kSingleLineCentred, kBlack, false, false,
     0},
    {Control::透明标签1, "透明标签1", ControlKind::kLabel, Control::分组框1, 16, 16, 56, 24,
     texts::kSongNameCaption, true, false, TextLayout::kSingleLineCentred, kBlack, false, false, 0},
    {Control::分组框1, "分组框1", ControlKind::kGroupBox, Control::kNone, 16, 104, 424, 48,
     texts::kGroupCaption, true, false, TextLayout::kNone, kBlack, false, false, 0},
    {Control::编辑框1, "编辑框1", ControlKind::kEditBox, Control::kNone, 112, 28, 328, 16, "", true,
     true, TextLayout::kEditMultiLine, kBlack, false, true, 0},
    {Control::按钮1, "按钮1", ControlKind::kPushButton, Control::kNone, 384, 56, 56, 32,
     texts::kStartCaption, true, true, TextLayout::kNone, kBlack, false, false, 0},
    {Control::时钟1, "时钟1", ControlKind::kTimer, Control::kNone, 0, 0, 0, 0, "", false, false,
     TextLayout::kNone, kBlack, false, false, 0},
    {Control::时钟2, "时钟2", ControlKind::kTimer, Control::kNone, 0, 0, 0, 0, "", false, false,
     TextLayout::kNone, kBlack, false, false, 0},
    {Control::时钟3, "时钟3", ControlKind::kTimer, Control::kNone, 0, 0, 0, 0, "", false, false,
     TextLayout::kNone, kBlack, false, false, 0},
}};

// The row of a control; every control has exactly one.
constexpr const ControlRow& RowOf(Control id) {
  for (const ControlRow& row : kControls) {
    if (row.id == id) return row;
  }
  return kControls[0];  // unreachable for a real control; checked in tests
}

// Tab order among the tab stops.
inline constexpr std::array<Control, 3> kTabOrder = {Control::编辑框1, Control::编辑框2,
                                                     Control::按钮1};

// The label groups that share the strip inside the group box, in the order
// in which they are shown and hidden.
inline constexpr std::array<Control, 4> kStatusGroup = {Control::透明标签1, Control::透明标签12,
                                                        Control::透明标签3, Control::透明标签11};
inline constexpr std::array<Control, 3> kCountdownGroup = {Control::透明标签13, Control::透明标签2,
                                                           Control::透明标签7};

}  // namespace morvane
