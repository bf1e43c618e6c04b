#include "platform/win32/control_input.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "platform/win32/native_window.h"
#include "platform/win32/wide_text.h"

namespace morvane::win32 {

namespace {

constexpr UINT_PTR kInputSubclassId = 0x4d76'0001;

bool KeyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

std::wstring WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(hwnd, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

bool IsMultiLineEdit(HWND hwnd) { return (GetWindowLongW(hwnd, GWL_STYLE) & ES_MULTILINE) != 0; }

bool IsEdit(HWND hwnd) {
  wchar_t name[16] = {};
  GetClassNameW(hwnd, name, 16);
  return lstrcmpiW(name, L"Edit") == 0;
}

// The messages through which text enters an edit box.
bool EntersText(UINT message) {
  switch (message) {
    case WM_CHAR:
    case WM_IME_CHAR:
    case WM_UNICHAR:
    case WM_PASTE:
    case EM_REPLACESEL:
    case WM_UNDO:
    case EM_UNDO:
      return true;
    default:
      return false;
  }
}

// How many UTF-16 units from the start of `inserted`, in whole characters,
// fit between `head` and `tail` within `maxBytes` GBK bytes.
std::size_t FittingPrefix(const std::wstring& head, const std::wstring& inserted,
                          const std::wstring& tail, int maxBytes) {
  std::size_t kept = 0;
  while (kept < inserted.size()) {
    std::size_t next = kept + 1;
    if (IS_HIGH_SURROGATE(inserted[kept]) && next < inserted.size() &&
        IS_LOW_SURROGATE(inserted[next])) {
      ++next;
    }
    if (GbkLength(head + inserted.substr(0, next) + tail) > maxBytes) break;
    kept = next;
  }
  return kept;
}

// Lets the edit box take the input, then cuts it back when the box would
// hold more GBK bytes than its limit: the check sees every way text comes
// in (typing, an input method, paste, undo) without re-implementing them.
// Like a length limit, it keeps the longest run of the new text's first
// characters that fits, with the caret after them.
LRESULT LimitedInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, int maxBytes) {
  const std::wstring before = WindowText(hwnd);
  DWORD selStart = 0;
  DWORD selEnd = 0;
  SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart),
               reinterpret_cast<LPARAM>(&selEnd));
  const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
  const std::wstring after = WindowText(hwnd);
  if (after == before || GbkLength(after) <= maxBytes) return result;

  // The new text lies between what stayed of the old text before and after
  // it. Bounded by the old selection, the split is the insertion itself; an
  // undo may change the text anywhere, and the split still holds for it.
  const std::size_t start = std::min<std::size_t>(selStart, before.size());
  const std::size_t end = std::clamp<std::size_t>(selEnd, start, before.size());
  std::size_t head = 0;
  while (head < start && head < after.size() && before[head] == after[head]) ++head;
  std::size_t tail = 0;
  while (tail < before.size() - std::max(end, head) && tail < after.size() - head &&
         before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
    ++tail;
  }
  const std::wstring headText = after.substr(0, head);
  const std::wstring inserted = after.substr(head, after.size() - head - tail);
  const std::wstring tailText = after.substr(after.size() - tail);
  const std::size_t kept = FittingPrefix(headText, inserted, tailText, maxBytes);
  const std::wstring cut = headText + inserted.substr(0, kept) + tailText;
  if (GbkLength(cut) > maxBytes) {
    // Too long even without the new text (set from outside): refuse it.
    DefSubclassProc(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(before.c_str()));
    DefSubclassProc(hwnd, EM_SETSEL, selStart, selEnd);
  } else {
    DefSubclassProc(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(cut.c_str()));
    const auto caret = static_cast<WPARAM>(head + kept);
    DefSubclassProc(hwnd, EM_SETSEL, caret, static_cast<LPARAM>(caret));
  }
  MessageBeep(MB_OK);
  return result;
}

LRESULT CALLBACK InputProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                DWORD_PTR maxBytes) {
  switch (message) {
    case WM_KEYDOWN:
      if (IsPlainEscape(message, wParam)) {
        // Posted: the window must not be destroyed under this control's
        // own message handling.
        PostMessageW(GetAncestor(hwnd, GA_ROOT), WM_CLOSE, 0, 0);
        return 0;
      }
      if (wParam == VK_TAB && !KeyDown(VK_CONTROL) && !KeyDown(VK_MENU)) {
        SendMessageW(GetAncestor(hwnd, GA_ROOT), kTabKeyMessage, reinterpret_cast<WPARAM>(hwnd),
                     KeyDown(VK_SHIFT) ? 1 : 0);
        return 0;
      }
      break;
    case WM_CHAR:
      // Tab and Esc were handled as keys; a multi-line box would otherwise
      // insert a tab, and a one-line box would beep at Enter.
      if (wParam == L'\t' || wParam == 0x1b) return 0;
      if ((wParam == L'\r' || wParam == L'\n') && !(IsEdit(hwnd) && IsMultiLineEdit(hwnd))) {
        return 0;
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, InputProcedure, id);
      break;
    default:
      break;
  }
  if (maxBytes > 0 && EntersText(message)) {
    return LimitedInput(hwnd, message, wParam, lParam, static_cast<int>(maxBytes));
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

bool IsPlainEscape(UINT message, WPARAM key) {
  return message == WM_KEYDOWN && key == VK_ESCAPE && !KeyDown(VK_SHIFT) && !KeyDown(VK_CONTROL) &&
         !KeyDown(VK_MENU) && !KeyDown(VK_LWIN) && !KeyDown(VK_RWIN);
}

bool AttachControlInput(HWND control, int maxBytes) {
  if (maxBytes > 0) {
    // The box's own limit counts UTF-16 units; it cuts a long paste short
    // before the byte check runs, and the byte check does the rest.
    SendMessageW(control, EM_SETLIMITTEXT, static_cast<WPARAM>(maxBytes), 0);
  }
  return SetWindowSubclass(control, InputProcedure, kInputSubclassId,
                           static_cast<DWORD_PTR>(maxBytes > 0 ? maxBytes : 0)) != FALSE;
}

}  // namespace morvane::win32
