#include "platform/win32/skin_paint.h"

#include <commctrl.h>

#include <string>

#include "platform/win32/paint_buffer.h"

namespace morvane::win32::skin {

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

// a + (b - a) * t per channel.
COLORREF Mix(COLORREF a, COLORREF b, double t) {
  auto channel = [t](int x, int y) { return static_cast<BYTE>(x + (y - x) * t + 0.5); };
  return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
             channel(GetBValue(a), GetBValue(b)));
}

void Fill(HDC dc, const RECT& rect, COLORREF color) {
  SetBkColor(dc, color);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

void Frame(HDC dc, RECT rect, COLORREF color) {
  Fill(dc, {rect.left, rect.top, rect.right, rect.top + 1}, color);
  Fill(dc, {rect.left, rect.bottom - 1, rect.right, rect.bottom}, color);
  Fill(dc, {rect.left, rect.top, rect.left + 1, rect.bottom}, color);
  Fill(dc, {rect.right - 1, rect.top, rect.right, rect.bottom}, color);
}

// A face shaded from top to bottom, one line at a time: no dependency on
// msimg32 for a few dozen lines.
void Gradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom) {
  const int height = rect.bottom - rect.top;
  for (int y = 0; y < height; ++y) {
    const double t = height > 1 ? static_cast<double>(y) / (height - 1) : 0.0;
    Fill(dc, {rect.left, rect.top + y, rect.right, rect.top + y + 1}, Mix(top, bottom, t));
  }
}

enum class Direction { kUp, kDown, kLeft, kRight };

void Arrow(HDC dc, const RECT& rect, Direction direction, COLORREF color) {
  const int cx = (rect.left + rect.right) / 2;
  const int cy = (rect.top + rect.bottom) / 2;
  POINT p[3];
  switch (direction) {
    case Direction::kUp:
      p[0] = {cx - 3, cy + 1}, p[1] = {cx + 3, cy + 1}, p[2] = {cx, cy - 2};
      break;
    case Direction::kDown:
      p[0] = {cx - 3, cy - 1}, p[1] = {cx + 3, cy - 1}, p[2] = {cx, cy + 2};
      break;
    case Direction::kLeft:
      p[0] = {cx + 1, cy - 3}, p[1] = {cx + 1, cy + 3}, p[2] = {cx - 2, cy};
      break;
    case Direction::kRight:
      p[0] = {cx - 1, cy - 3}, p[1] = {cx - 1, cy + 3}, p[2] = {cx + 2, cy};
      break;
  }
  HBRUSH brush = CreateSolidBrush(color);
  HPEN pen = CreatePen(PS_SOLID, 1, color);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  Polygon(dc, p, 3);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

// A raised face with its frame: push buttons, combo and up-down buttons.
void Face(HDC dc, const RECT& rect, const Scheme& scheme, bool hot, bool pressed) {
  const COLORREF top = hot ? scheme.hotTop : scheme.faceTop;
  const COLORREF bottom = hot ? scheme.hotBottom : scheme.faceBottom;
  RECT inner = rect;
  InflateRect(&inner, -1, -1);
  if (pressed) {
    Gradient(dc, inner, bottom, top);
  } else {
    Gradient(dc, inner, top, bottom);
  }
  Frame(dc, rect, scheme.frame);
}

std::wstring TextOf(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(hwnd, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

// The brush the parent paints this control's background with.
HBRUSH ParentBrush(HWND hwnd, HDC dc, UINT message) {
  auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
      GetParent(hwnd), message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
  return brush ? brush : GetSysColorBrush(COLOR_BTNFACE);
}

bool FocusShown(HWND hwnd) {
  const auto uiState = static_cast<UINT>(SendMessageW(hwnd, WM_QUERYUISTATE, 0, 0));
  return (uiState & UISF_HIDEFOCUS) == 0;
}

void PaintPushButton(HWND hwnd, HDC dc, const RECT& rect, bool hot, const Scheme& scheme) {
  const auto state = static_cast<UINT>(SendMessageW(hwnd, BM_GETSTATE, 0, 0));
  const bool pressed = (state & BST_PUSHED) != 0;
  const bool enabled = IsWindowEnabled(hwnd) != FALSE;
  FillRect(dc, &rect, ParentBrush(hwnd, dc, WM_CTLCOLORBTN));
  Face(dc, rect, scheme, hot && enabled, pressed);
  // Cut the corners for a softer outline.
  const COLORREF corner = GetPixel(dc, rect.left, rect.top);
  for (POINT p : {POINT{rect.left, rect.top}, POINT{rect.right - 1, rect.top},
                  POINT{rect.left, rect.bottom - 1}, POINT{rect.right - 1, rect.bottom - 1}}) {
    SetPixel(dc, p.x, p.y, Mix(corner, GetPixel(dc, p.x + (p.x == rect.left ? 1 : -1), p.y), 0.5));
  }
  RECT text = rect;
  if (pressed) OffsetRect(&text, 1, 1);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, enabled ? RGB(0, 0, 0) : GetSysColor(COLOR_GRAYTEXT));
  const std::wstring caption = TextOf(hwnd);
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if ((state & BST_FOCUS) && FocusShown(hwnd)) {
    RECT focus = rect;
    InflateRect(&focus, -3, -3);
    SetTextColor(dc, RGB(0, 0, 0));
    DrawFocusRect(dc, &focus);
  }
}

void PaintCheck(HWND hwnd, HDC dc, const RECT& rect, Kind kind, bool hot, const Scheme& scheme) {
  const auto state = static_cast<UINT>(SendMessageW(hwnd, BM_GETSTATE, 0, 0));
  const bool enabled = IsWindowEnabled(hwnd) != FALSE;
  FillRect(dc, &rect, ParentBrush(hwnd, dc, WM_CTLCOLORSTATIC));
  constexpr int kBox = 13;
  const int top = (rect.top + rect.bottom - kBox) / 2;
  RECT box{rect.left, top, rect.left + kBox, top + kBox};
  const COLORREF fill = hot && enabled ? scheme.hotTop : kWhite;
  if (kind == Kind::kRadioButton) {
    HBRUSH brush = CreateSolidBrush(fill);
    HPEN pen = CreatePen(PS_SOLID, 1, scheme.frame);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Ellipse(dc, box.left, box.top, box.right, box.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
    if (state & BST_CHECKED) {
      RECT dot = box;
      InflateRect(&dot, -4, -4);
      HBRUSH mark = CreateSolidBrush(scheme.mark);
      HGDIOBJ previous = SelectObject(dc, mark);
      HGDIOBJ previousPen = SelectObject(dc, GetStockObject(NULL_PEN));
      Ellipse(dc, dot.left, dot.top, dot.right + 1, dot.bottom + 1);
      SelectObject(dc, previous);
      SelectObject(dc, previousPen);
      DeleteObject(mark);
    }
  } else {
    Fill(dc, box, fill);
    Frame(dc, box, scheme.frame);
    if (state & BST_CHECKED) {
      // A tick of two strokes, two pixels thick.
      for (int i = 0; i < 2; ++i) {
        const int x = box.left + 3;
        const int y = box.top + 6 + i;
        for (int k = 0; k < 3; ++k) SetPixel(dc, x + k, y + k, scheme.mark);
        for (int k = 0; k < 5; ++k) SetPixel(dc, x + 2 + k, y + 2 - k, scheme.mark);
      }
    } else if (state & BST_INDETERMINATE) {
      RECT square = box;
      InflateRect(&square, -3, -3);
      Fill(dc, square, scheme.mark);
    }
  }
  RECT text{box.right + 4, rect.top, rect.right, rect.bottom};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, enabled ? RGB(0, 0, 0) : GetSysColor(COLOR_GRAYTEXT));
  const std::wstring caption = TextOf(hwnd);
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  if ((state & BST_FOCUS) && FocusShown(hwnd) && !caption.empty()) {
    RECT focus = text;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &focus,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_CALCRECT);
    const int height = focus.bottom - focus.top;
    focus.top = (rect.top + rect.bottom - height) / 2 - 1;
    focus.bottom = focus.top + height + 2;
    focus.left -= 1;
    focus.right += 1;
    DrawFocusRect(dc, &focus);
  }
}

// The frame and the caption at the left of its top edge. The inside is
// left alone, as a group box's inside belongs to what it groups.
void PaintGroupBox(HWND hwnd, HDC dc, const RECT& rect, const Scheme& scheme) {
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  RECT frame = rect;
  frame.top += metrics.tmHeight / 2;
  Frame(dc, frame, scheme.frame);
  const std::wstring caption = TextOf(hwnd);
  if (caption.empty()) return;
  RECT text{rect.left + 8, rect.top, rect.right - 8, rect.top + metrics.tmHeight};
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
            DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
  RECT behind{text.left - 2, text.top, text.right + 2, text.bottom};
  FillRect(dc, &behind, ParentBrush(hwnd, dc, WM_CTLCOLORSTATIC));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, IsWindowEnabled(hwnd) ? RGB(0, 0, 0) : GetSysColor(COLOR_GRAYTEXT));
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_LEFT | DT_SINGLELINE);
}

}  // namespace

Scheme MakeScheme(Rgb frame) {
  const COLORREF f = RGB(frame.r, frame.g, frame.b);
  return {f,
          Mix(f, kWhite, 0.85),
          Mix(f, kWhite, 0.40),
          Mix(f, kWhite, 0.93),
          Mix(f, kWhite, 0.60),
          Mix(f, RGB(0, 0, 0), 0.45)};
}

void PaintButton(HWND hwnd, HDC dc, Kind kind, bool hot, const Scheme& scheme) {
  RECT rect{};
  GetClientRect(hwnd, &rect);
  if (kind == Kind::kGroupBox) {
    // Not buffered: only the frame and caption are drawn, the inside shows
    // through.
    HGDIOBJ oldFont =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    PaintGroupBox(hwnd, dc, rect, scheme);
    SelectObject(dc, oldFont);
    return;
  }
  PaintBuffered(dc, rect, [&](HDC buffer) {
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
    HGDIOBJ oldFont = SelectObject(buffer, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    if (kind == Kind::kPushButton) {
      PaintPushButton(hwnd, buffer, rect, hot, scheme);
    } else {
      PaintCheck(hwnd, buffer, rect, kind, hot, scheme);
    }
    SelectObject(buffer, oldFont);
  });
}

int BorderWidth(HWND hwnd) {
  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  const LONG exStyle = GetWindowLongW(hwnd, GWL_EXSTYLE);
  int width = 0;
  if (exStyle & WS_EX_CLIENTEDGE) width += 2;
  if (exStyle & WS_EX_STATICEDGE) width += 1;
  if (style & WS_BORDER) width += 1;
  return width;
}

void PaintBorder(HWND hwnd, HDC windowDc, const Scheme& scheme) {
  const int width = BorderWidth(hwnd);
  if (width == 0) return;
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  OffsetRect(&rect, -rect.left, -rect.top);
  Frame(windowDc, rect, scheme.frame);
  for (int i = 1; i < width; ++i) {
    InflateRect(&rect, -1, -1);
    Frame(windowDc, rect, GetSysColor(COLOR_WINDOW));
  }
}

void PaintComboBox(HWND hwnd, HDC dc, const Scheme& scheme) {
  RECT rect{};
  GetClientRect(hwnd, &rect);
  Frame(dc, rect, scheme.frame);
  RECT inner = rect;
  InflateRect(&inner, -1, -1);
  Frame(dc, inner, GetSysColor(COLOR_WINDOW));
  RECT button{inner.right - 1 - GetSystemMetrics(SM_CXVSCROLL), inner.top + 1, inner.right - 1,
              inner.bottom - 1};
  const bool dropped = SendMessageW(hwnd, CB_GETDROPPEDSTATE, 0, 0) != 0;
  Face(dc, button, scheme, false, dropped);
  Arrow(dc, button, Direction::kDown, scheme.mark);
}

void PaintUpDown(HWND hwnd, HDC dc, const Scheme& scheme) {
  RECT rect{};
  GetClientRect(hwnd, &rect);
  const bool horizontal = (GetWindowLongW(hwnd, GWL_STYLE) & UDS_HORZ) != 0;
  RECT first = rect;
  RECT second = rect;
  if (horizontal) {
    first.right = second.left = (rect.left + rect.right) / 2;
  } else {
    first.bottom = second.top = (rect.top + rect.bottom) / 2;
  }
  Face(dc, first, scheme, false, false);
  Face(dc, second, scheme, false, false);
  Arrow(dc, first, horizontal ? Direction::kLeft : Direction::kUp, scheme.mark);
  Arrow(dc, second, horizontal ? Direction::kRight : Direction::kDown, scheme.mark);
}

}  // namespace morvane::win32::skin
