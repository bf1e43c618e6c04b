#include "platform/win32/native_window.h"

#include <shellapi.h>

#include <algorithm>
#include <iterator>

#include "app/main_window.h"
#include "app/texts.h"
#include "platform/win32/control_input.h"
#include "platform/win32/label.h"
#include "platform/win32/resources/resource_ids.h"
#include "platform/win32/shell_address.h"
#include "platform/win32/skin.h"
#include "platform/win32/wide_text.h"

namespace morvane::win32 {

namespace {

constexpr wchar_t kMainClass[] = L"MorvaneMainWindow";

// The window's style: fixed border, caption with system menu, minimize and
// close; no maximize box and no sizing border.
constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

COLORREF ToColorRef(Rgb c) { return RGB(c.r, c.g, c.b); }

HBRUSH BackgroundBrush() {
  static HBRUSH brush = CreateSolidBrush(ToColorRef(kBackground));
  return brush;
}

HINSTANCE ThisModule() { return GetModuleHandleW(nullptr); }

HICON LoadAppIcon(int metricX, int metricY) {
  return static_cast<HICON>(LoadImageW(ThisModule(), MAKEINTRESOURCEW(kAppIconId), IMAGE_ICON,
                                       GetSystemMetrics(metricX), GetSystemMetrics(metricY),
                                       LR_DEFAULTCOLOR | LR_SHARED));
}

bool RegisterMainClass() {
  WNDCLASSEXW wc{};
  if (GetClassInfoExW(ThisModule(), kMainClass, &wc)) return true;
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &NativeWindow::Procedure;
  wc.hInstance = ThisModule();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = BackgroundBrush();
  wc.hIcon = LoadAppIcon(SM_CXICON, SM_CYICON);
  wc.hIconSm = LoadAppIcon(SM_CXSMICON, SM_CYSMICON);
  wc.lpszClassName = kMainClass;
  return RegisterClassExW(&wc) != 0;
}

// The Win32 class and style bits of a control of the table.
struct NativeKind {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

NativeKind KindOf(const ControlRow& row) {
  switch (row.kind) {
    case ControlKind::kEditBox:
      // The multi-line address box has a single-line border and wraps
      // without scroll bars; the one-line pause box has a sunken edge.
      if (row.layout == TextLayout::kEditMultiLine) {
        return {L"EDIT", ES_LEFT | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 0};
      }
      return {L"EDIT", ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::kGroupBox:
      // Clips its child labels so that drawing the frame never covers them.
      return {L"BUTTON", BS_GROUPBOX | WS_CLIPCHILDREN, 0};
    case ControlKind::kPushButton:
      return {L"BUTTON", BS_PUSHBUTTON, 0};
    default:
      return {nullptr, 0, 0};
  }
}

Control ControlFromId(WPARAM id) {
  const auto index = static_cast<std::size_t>(id) - 1;
  return index < kControls.size() ? kControls[index].id : Control::kNone;
}

}  // namespace

NativeWindow::~NativeWindow() {
  if (hwnd_) {
    skin::Apply(0);
    program_ = nullptr;  // no handler runs while the window is taken down
    DestroyWindow(hwnd_);
  }
  if (boldFont_) DeleteObject(boldFont_);
}

bool NativeWindow::Create(Program& program) {
  if (hwnd_ || !RegisterMainClass() || !RegisterLabelClass(ThisModule())) return false;
  // Centred on the whole primary screen, each halving truncated.
  const int left = (GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - kCollapsedHeight) / 2;
  const std::wstring caption = WideFromGbk(kWindowCaption);
  hwnd_ = CreateWindowExW(0, kMainClass, caption.c_str(), kMainStyle, left, top, kWindowWidth,
                          kCollapsedHeight, nullptr, nullptr, ThisModule(), this);
  if (!hwnd_) return false;
  if (!CreateControls()) {
    DestroyWindow(hwnd_);
    return false;
  }
  program_ = &program;
  quitOnDestroy_ = true;
  OnCreated(program);
  return true;
}

bool NativeWindow::CreateControls() {
  LOGFONTW bold{};
  bold.lfHeight = -12;
  bold.lfWeight = FW_BOLD;
  bold.lfCharSet = GB2312_CHARSET;  // no face name: the system picks one for the charset
  boldFont_ = CreateFontIndirectW(&bold);
  HGDIOBJ guiFont = GetStockObject(DEFAULT_GUI_FONT);

  // Parents first: the group box's labels come before it in the table.
  auto createRow = [&](const ControlRow& row) {
    const HWND parent = row.parent == Control::kNone ? hwnd_ : controls_[Index(row.parent)];
    const int id = ControlId(row.id);
    const std::wstring text = WideFromGbk(row.initialText);
    HWND control = nullptr;
    if (row.kind == ControlKind::kLabel) {
      control = CreateLabel(parent, row, text.c_str(), id);
      labelTexts_[Index(row.id)] = Text(row.initialText);
    } else {
      const NativeKind kind = KindOf(row);
      DWORD style = WS_CHILD | WS_CLIPSIBLINGS | kind.style;
      if (row.shownAtStart) style |= WS_VISIBLE;
      if (row.tabStop) style |= WS_TABSTOP;
      control = CreateWindowExW(
          kind.exStyle, kind.className, text.c_str(), style, row.x, row.y, row.width, row.height,
          parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ThisModule(), nullptr);
      if (control && row.layout == TextLayout::kEditMultiLine) {
        // An edit box created with WS_BORDER takes the style off and draws
        // the line inside its client area, where nothing else can draw it.
        // Added afterwards it is a real non-client border, which the skin
        // replaces like any other.
        SetWindowLongW(control, GWL_STYLE, GetWindowLongW(control, GWL_STYLE) | WS_BORDER);
        SetWindowPos(control, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      if (control && row.tabStop && !AttachControlInput(control, row.maxBytes)) return false;
    }
    if (!control) return false;
    HGDIOBJ font = row.boldFont && boldFont_ ? boldFont_ : guiFont;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    controls_[Index(row.id)] = control;
    return true;
  };
  for (int pass = 0; pass < 2; ++pass) {
    for (const ControlRow& row : kControls) {
      if (row.kind == ControlKind::kTimer) continue;
      if ((row.parent == Control::kNone) != (pass == 0)) continue;
      if (!createRow(row)) return false;
    }
  }
  // Stacking order: each row goes below the ones before it, so the first
  // row of a parent lies on top.
  for (const ControlRow& row : kControls) {
    if (HWND control = controls_[Index(row.id)]) {
      SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
  }
  return true;
}

void NativeWindow::Show() {
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd_);
  UpdateWindow(hwnd_);
}

Text NativeWindow::ReadText(Control control) {
  if (RowOf(control).kind == ControlKind::kLabel) return labelTexts_[Index(control)];
  HWND hwnd = controls_[Index(control)];
  const int length = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(hwnd, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(got, 0)));
  return GbkFromWide(text);
}

void NativeWindow::WriteText(Control label, const Text& text) {
  labelTexts_[Index(label)] = text;
  // The label repaints itself, background first, before this returns.
  SetWindowTextW(controls_[Index(label)], WideFromGbk(text.view()).c_str());
}

void NativeWindow::SetVisible(Control label, bool shown) {
  HWND hwnd = controls_[Index(label)];
  const bool visibleNow = (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
  if (visibleNow == shown) return;
  ShowWindow(hwnd, shown ? SW_SHOWNA : SW_HIDE);
  // Hiding a label invalidates only its parent, and the group box never
  // erases its inside, so a caption inside it would stay on screen. The
  // label's place is redrawn from the window down instead: the window's
  // background first, then whatever is still shown there. Now, too: a poll
  // may keep the thread busy before the next paint.
  RECT place{};
  GetWindowRect(hwnd, &place);
  MapWindowPoints(HWND_DESKTOP, hwnd_, reinterpret_cast<POINT*>(&place), 2);
  RedrawWindow(hwnd_, &place, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void NativeWindow::ShowMessage(const Text& text) {
  const std::wstring message = WideFromGbk(text.view());
  const std::wstring caption = WideFromGbk(texts::kMessageCaption);
  MessageBoxW(nullptr, message.c_str(), caption.c_str(), MB_OK | MB_TASKMODAL);
}

void NativeWindow::OpenAddress(const Text& address) {
  ShellExecuteW(nullptr, L"open", ShellOpenTarget(address).c_str(), nullptr, nullptr,
                SW_SHOWNORMAL);
}

void NativeWindow::ApplyControlSkin(int style) { skin::Apply(style); }

void NativeWindow::RestartTimer(Control timer, int milliseconds) {
  const auto id = static_cast<UINT_PTR>(ControlId(timer));
  KillTimer(hwnd_, id);
  if (milliseconds > 0) SetTimer(hwnd_, id, static_cast<UINT>(milliseconds), nullptr);
}

void NativeWindow::ApplyHeight(int pixels) {
  RECT rect{};
  GetWindowRect(hwnd_, &rect);
  SetWindowPos(hwnd_, nullptr, 0, 0, rect.right - rect.left, pixels,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void NativeWindow::MoveFocus(HWND from, bool backwards) {
  const auto* it = std::find_if(kTabOrder.begin(), kTabOrder.end(),
                                [&](Control c) { return controls_[Index(c)] == from; });
  if (it == kTabOrder.end()) return;
  const auto count = static_cast<std::ptrdiff_t>(kTabOrder.size());
  const std::ptrdiff_t at = std::distance(kTabOrder.begin(), it);
  const std::ptrdiff_t next = (at + (backwards ? count - 1 : 1)) % count;
  HWND target = controls_[Index(kTabOrder[static_cast<std::size_t>(next)])];
  SetFocus(target);
  // As in a dialog: tabbing into an edit box selects its text.
  if (RowOf(kTabOrder[static_cast<std::size_t>(next)]).kind == ControlKind::kEditBox) {
    SendMessageW(target, EM_SETSEL, 0, -1);
  }
}

LRESULT CALLBACK NativeWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* window = static_cast<NativeWindow*>(create->lpCreateParams);
    window->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  auto* self = reinterpret_cast<NativeWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

LRESULT NativeWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = hwnd_;
  switch (message) {
    case WM_PRINTCLIENT: {
      // What lies beneath a label: the plain background.
      RECT rect{};
      GetClientRect(hwnd, &rect);
      FillRect(reinterpret_cast<HDC>(wParam), &rect, BackgroundBrush());
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      // The group box and the button stand on the window's background.
      auto dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, ToColorRef(kBackground));
      return reinterpret_cast<LRESULT>(BackgroundBrush());
    }
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && ControlFromId(LOWORD(wParam)) == Control::按钮1 &&
          program_) {
        OnStartClicked(*program_);
        return 0;
      }
      break;
    case WM_TIMER:
      if (program_) {
        const Control timer = ControlFromId(wParam);
        if (timer == Control::时钟1 || timer == Control::时钟2 || timer == Control::时钟3) {
          OnTimerTick(*program_, timer);
        }
      }
      return 0;
    case kLabelPressedMessage:
      if (program_) OnLabelPressed(*program_, ControlFromId(wParam));
      return 0;
    case kTabKeyMessage:
      MoveFocus(reinterpret_cast<HWND>(wParam), lParam != 0);
      return 0;
    case WM_KEYDOWN:
      if (IsPlainEscape(message, wParam)) {
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    case WM_ACTIVATE:
      // Like a dialog: the focus returns to the control that had it.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd, focus)) lastFocus_ = focus;
      }
      break;
    case WM_SETFOCUS:
      SetFocus(lastFocus_ && IsWindow(lastFocus_) ? lastFocus_ : control(Control::编辑框1));
      return 0;
    case WM_DESTROY:
      // The timers die with the window: no tick comes after it.
      for (Control timer : {Control::时钟1, Control::时钟2, Control::时钟3}) {
        KillTimer(hwnd, static_cast<UINT_PTR>(ControlId(timer)));
      }
      program_ = nullptr;
      // Only the finished window ends the message loop. One taken down
      // because its controls could not be made must not: the caller shows
      // an error in a message box, which a pending quit would close at once.
      if (quitOnDestroy_) PostQuitMessage(0);
      quitOnDestroy_ = false;
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      controls_.fill(nullptr);
      return DefWindowProcW(hwnd, message, wParam, lParam);
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace morvane::win32
