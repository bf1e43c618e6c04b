// Painting through an off-screen bitmap, so a control that draws its
// background and then its face never shows the half-drawn state.
#pragma once

#include <windows.h>

#include <utility>

namespace morvane::win32 {

// Calls paint with a memory DC the size of rect (in dc's coordinates, the
// same coordinates inside), then copies the result to dc.
template <typename Paint>
void PaintBuffered(HDC dc, const RECT& rect, Paint&& paint) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  HDC buffer = CreateCompatibleDC(dc);
  HBITMAP bitmap = buffer ? CreateCompatibleBitmap(dc, width, height) : nullptr;
  if (!bitmap) {
    // Out of GDI resources: draw straight on the target rather than not at all.
    if (buffer) DeleteDC(buffer);
    std::forward<Paint>(paint)(dc);
    return;
  }
  HGDIOBJ old = SelectObject(buffer, bitmap);
  SetWindowOrgEx(buffer, rect.left, rect.top, nullptr);
  std::forward<Paint>(paint)(buffer);
  SetWindowOrgEx(buffer, 0, 0, nullptr);
  BitBlt(dc, rect.left, rect.top, width, height, buffer, 0, 0, SRCCOPY);
  SelectObject(buffer, old);
  DeleteObject(bitmap);
  DeleteDC(buffer);
}

}  // namespace morvane::win32
