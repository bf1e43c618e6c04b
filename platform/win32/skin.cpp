#include "platform/win32/skin.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "app/main_window.h"
#include "platform/win32/skin_paint.h"

namespace morvane::win32::skin {

namespace {

constexpr UINT_PTR kSkinSubclassId = 0x4d76'0002;

// The skin belongs to the UI thread: one state, touched only from it.
struct State {
  bool on = false;
  Scheme scheme{};
  HHOOK hook = nullptr;
  std::vector<HWND> skinned;
};
State g_state;

// What the skin keeps about a window it draws.
struct Skinned {
  Kind kind;
  bool hot = false;
};

bool ClassIs(HWND hwnd, const wchar_t* name) {
  wchar_t actual[32] = {};
  return GetClassNameW(hwnd, actual, 32) > 0 && lstrcmpiW(actual, name) == 0;
}

Kind ClassifyButton(LONG style) {
  // Owner-drawn and picture buttons draw themselves; the skin leaves them.
  if (style & (BS_BITMAP | BS_ICON)) return Kind::kNone;
  switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
      return Kind::kPushButton;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
      return Kind::kCheckBox;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return Kind::kRadioButton;
    case BS_GROUPBOX:
      return Kind::kGroupBox;
    default:
      return Kind::kNone;
  }
}

Skinned* DataOf(HWND hwnd);
LRESULT CALLBACK SkinProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR data);

Skinned* DataOf(HWND hwnd) {
  DWORD_PTR data = 0;
  if (!GetWindowSubclass(hwnd, SkinProcedure, kSkinSubclassId, &data)) return nullptr;
  return reinterpret_cast<Skinned*>(data);
}

// Makes the window draw itself again, frame included, in whichever look
// it has now.
void Refresh(HWND hwnd) {
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
}

// Repaints the face now, after the control has drawn its own on a state
// change; the window may be gone by then.
void Repaint(HWND hwnd) {
  if (IsWindow(hwnd) && IsWindowVisible(hwnd)) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
  }
}

void Attach(HWND hwnd, bool refresh) {
  const Kind kind = Classify(hwnd);
  if (kind == Kind::kNone || DataOf(hwnd)) return;
  auto* data = new Skinned{kind};
  if (!SetWindowSubclass(hwnd, SkinProcedure, kSkinSubclassId, reinterpret_cast<DWORD_PTR>(data))) {
    delete data;
    return;
  }
  g_state.skinned.push_back(hwnd);
  if (refresh) Refresh(hwnd);
}

void Detach(HWND hwnd) {
  Skinned* data = DataOf(hwnd);
  if (!data) return;
  RemoveWindowSubclass(hwnd, SkinProcedure, kSkinSubclassId);
  delete data;
  Refresh(hwnd);
}

void Forget(HWND hwnd) {
  auto& list = g_state.skinned;
  list.erase(std::remove(list.begin(), list.end(), hwnd), list.end());
}

BOOL CALLBACK AttachChild(HWND hwnd, LPARAM) {
  Attach(hwnd, true);
  return TRUE;
}

BOOL CALLBACK AttachTopLevel(HWND hwnd, LPARAM) {
  Attach(hwnd, true);
  EnumChildWindows(hwnd, AttachChild, 0);  // every descendant, not only children
  return TRUE;
}

// Windows the thread creates later are examined as they are created; the
// first paint comes after, so no refresh is needed.
LRESULT CALLBACK CallWndHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (call->message == WM_CREATE) Attach(call->hwnd, false);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Lets the control handle a message that makes it draw itself straight
// away (focus, state, text), with its drawing held back, then paints the
// skin's face in its place.
LRESULT Quietly(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!IsWindowVisible(hwnd)) return DefSubclassProc(hwnd, message, wParam, lParam);
  DefSubclassProc(hwnd, WM_SETREDRAW, FALSE, 0);
  const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
  DefSubclassProc(hwnd, WM_SETREDRAW, TRUE, 0);
  Repaint(hwnd);
  return result;
}

LRESULT ButtonMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, Skinned& data) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      PaintButton(hwnd, dc, data.kind, data.hot, g_state.scheme);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintButton(hwnd, reinterpret_cast<HDC>(wParam), data.kind, data.hot, g_state.scheme);
      return 0;
    case WM_MOUSEMOVE:
      if (!data.hot) {
        data.hot = true;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd, 0};
        TrackMouseEvent(&track);
        Repaint(hwnd);
      }
      break;
    case WM_MOUSELEAVE:
      data.hot = false;
      Repaint(hwnd);
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_UPDATEUISTATE:
    case WM_CAPTURECHANGED:
    case BM_SETSTATE:
    case BM_SETCHECK:
    case BM_SETSTYLE:
      return Quietly(hwnd, message, wParam, lParam);
    case WM_LBUTTONUP:
    case WM_KEYUP:
    case BM_CLICK: {
      // These notify the parent, whose handler may run a long time (a
      // message box); the control must stay visible meanwhile, so its own
      // drawing is painted over afterwards instead of being held back.
      const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
      Repaint(hwnd);
      return result;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN: {
      const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
      Repaint(hwnd);
      return result;
    }
    default:
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

void PaintBorderNow(HWND hwnd) {
  if (HDC dc = GetWindowDC(hwnd)) {
    PaintBorder(hwnd, dc, g_state.scheme);
    ReleaseDC(hwnd, dc);
  }
}

bool HasScrollBars(HWND hwnd) {
  return (GetWindowLongW(hwnd, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)) != 0;
}

// Edit boxes and combo lists: the border is the skin's, the rest their own.
LRESULT BorderMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCPAINT:
      if (BorderWidth(hwnd) == 0) break;
      // Scroll bars live in the non-client area too: let the control draw
      // them, then draw the border over its own.
      if (HasScrollBars(hwnd)) DefSubclassProc(hwnd, message, wParam, lParam);
      PaintBorderNow(hwnd);
      return 0;
    case WM_PRINT: {
      const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
      if (lParam & PRF_NONCLIENT) {
        PaintBorder(hwnd, reinterpret_cast<HDC>(wParam), g_state.scheme);
      }
      return result;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE: {
      // Themed edit boxes redraw their border on these.
      const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
      if (IsWindow(hwnd) && BorderWidth(hwnd) > 0) PaintBorderNow(hwnd);
      return result;
    }
    default:
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT ComboMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
    case CB_SHOWDROPDOWN: {
      // The combo box draws its contents; the frame and button go over it.
      const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
      if (IsWindow(hwnd) && IsWindowVisible(hwnd)) {
        if (HDC dc = GetDC(hwnd)) {
          PaintComboBox(hwnd, dc, g_state.scheme);
          ReleaseDC(hwnd, dc);
        }
      }
      return result;
    }
    case WM_PRINTCLIENT: {
      const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
      PaintComboBox(hwnd, reinterpret_cast<HDC>(wParam), g_state.scheme);
      return result;
    }
    default:
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT UpDownMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      PaintUpDown(hwnd, dc, g_state.scheme);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintUpDown(hwnd, reinterpret_cast<HDC>(wParam), g_state.scheme);
      return 0;
    default:
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK SkinProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR data) {
  auto* skinned = reinterpret_cast<Skinned*>(data);
  if (message == WM_NCDESTROY) {
    Forget(hwnd);
    RemoveWindowSubclass(hwnd, SkinProcedure, id);
    delete skinned;
    return DefSubclassProc(hwnd, message, wParam, lParam);
  }
  switch (skinned->kind) {
    case Kind::kPushButton:
    case Kind::kCheckBox:
    case Kind::kRadioButton:
    case Kind::kGroupBox:
      return ButtonMessage(hwnd, message, wParam, lParam, *skinned);
    case Kind::kEdit:
    case Kind::kComboList:
      return BorderMessage(hwnd, message, wParam, lParam);
    case Kind::kComboBox:
      return ComboMessage(hwnd, message, wParam, lParam);
    case Kind::kUpDown:
      return UpDownMessage(hwnd, message, wParam, lParam);
    case Kind::kNone:
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

void SwitchOff() {
  if (g_state.hook) UnhookWindowsHookEx(g_state.hook);
  g_state.hook = nullptr;
  const std::vector<HWND> skinned = std::move(g_state.skinned);
  g_state.skinned.clear();
  for (HWND hwnd : skinned) {
    if (IsWindow(hwnd)) Detach(hwnd);
  }
  g_state.on = false;
}

}  // namespace

Kind Classify(HWND hwnd) {
  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  if (ClassIs(hwnd, L"Button")) return ClassifyButton(style);
  if (ClassIs(hwnd, L"Edit")) {
    // The four fields of an IP-address control belong to it.
    HWND parent = GetParent(hwnd);
    return parent && ClassIs(parent, WC_IPADDRESSW) ? Kind::kNone : Kind::kEdit;
  }
  if (ClassIs(hwnd, L"ComboBox")) {
    return (style & 3) == CBS_SIMPLE ? Kind::kNone : Kind::kComboBox;
  }
  if (ClassIs(hwnd, L"ComboLBox")) return Kind::kComboList;
  if (ClassIs(hwnd, UPDOWN_CLASSW)) return Kind::kUpDown;
  return Kind::kNone;
}

bool IsSkinned(HWND hwnd) { return DataOf(hwnd) != nullptr; }

void Apply(int style) {
  if (g_state.on) SwitchOff();
  if (!SkinStyleIsOn(style)) return;
  g_state.on = true;
  g_state.scheme = MakeScheme(SkinFrameColor(style));
  EnumThreadWindows(GetCurrentThreadId(), AttachTopLevel, 0);
  g_state.hook = SetWindowsHookExW(WH_CALLWNDPROC, CallWndHook, nullptr, GetCurrentThreadId());
}

}  // namespace morvane::win32::skin
