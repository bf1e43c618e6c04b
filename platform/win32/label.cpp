#include "platform/win32/label.h"

#include <string>

#include "platform/win32/native_window.h"
#include "platform/win32/paint_buffer.h"

namespace morvane::win32 {

namespace {

const ControlRow& RowOfLabel(HWND hwnd) {
  return *reinterpret_cast<const ControlRow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// Draws what lies beneath a window into dc, given in the window's own
// coordinates: first what lies beneath its parent, then the parent's client
// area, each shifted so that the window's corner stays the origin. A group
// box draws only its frame and caption, so the labels inside it show the
// window's background through it as well.
void PaintBeneath(HWND hwnd, HDC dc) {
  if (!(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) return;
  HWND parent = GetParent(hwnd);
  POINT origin{0, 0};
  MapWindowPoints(hwnd, parent, &origin, 1);
  OffsetViewportOrgEx(dc, -origin.x, -origin.y, nullptr);
  PaintBeneath(parent, dc);
  SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  OffsetViewportOrgEx(dc, origin.x, origin.y, nullptr);
}

void PaintLabel(HWND hwnd, HDC dc) {
  const ControlRow& row = RowOfLabel(hwnd);
  RECT rect{};
  GetClientRect(hwnd, &rect);
  PaintBuffered(dc, rect, [&](HDC buffer) {
    PaintBeneath(hwnd, buffer);
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    HGDIOBJ oldFont = SelectObject(buffer, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(buffer, TRANSPARENT);
    SetTextColor(buffer, RGB(row.textColor.r, row.textColor.g, row.textColor.b));
    // No prefix: an "&" in a text is shown, not turned into an underline.
    UINT format = DT_LEFT | DT_NOPREFIX;
    format |=
        row.layout == TextLayout::kWrapFromTop ? DT_TOP | DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER;
    DrawTextW(buffer, text.c_str(), length, &rect, format);
    SelectObject(buffer, oldFont);
  });
}

LRESULT CALLBACK LabelProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      break;
    }
    case WM_ERASEBKGND:
      return 1;  // the paint draws the background and the text in one go
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      PaintLabel(hwnd, dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintLabel(hwnd, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, RowOfLabel(hwnd).handCursor ? IDC_HAND : IDC_ARROW));
      return TRUE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The press counts as it goes down; a quick second press is a press too.
      SendMessageW(GetAncestor(hwnd, GA_ROOT), kLabelPressedMessage,
                   static_cast<WPARAM>(GetDlgCtrlID(hwnd)), 0);
      return 0;
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
      if (IsWindowVisible(hwnd)) {
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
      }
      return result;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

bool RegisterLabelClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  if (GetClassInfoExW(instance, kLabelClass, &wc)) return true;
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = LabelProcedure;
  wc.hInstance = instance;
  wc.lpszClassName = kLabelClass;
  return RegisterClassExW(&wc) != 0;
}

HWND CreateLabel(HWND parent, const ControlRow& row, const wchar_t* text, int id) {
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  if (row.shownAtStart) style |= WS_VISIBLE;
  return CreateWindowExW(0, kLabelClass, text, style, row.x, row.y, row.width, row.height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)),
                         const_cast<ControlRow*>(&row));
}

}  // namespace morvane::win32
