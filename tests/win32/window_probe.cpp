// Drives the running Morvane.exe from another process, the way a person
// would through its controls, for the end-to-end run and the screenshots:
//   window_probe wait                 waits up to 20 s for the window
//   window_probe set  CONTROL TEXT    sets an edit box's text
//   window_probe press CONTROL        a left button press on a label
//   window_probe click CONTROL        clicks a button
//   window_probe read CONTROL         prints the control's text (UTF-8)
//   window_probe dismiss              presses OK on an open message box
//   window_probe close                closes the window
// CONTROL is a control's name from the table. Exit status 0 on success.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>

#include "app/controls.h"
#include "app/main_window.h"
#include "platform/win32/native_window.h"
#include "platform/win32/wide_text.h"

namespace {

using morvane::ControlRow;
using morvane::kControls;

std::wstring Utf8ToWide(std::string_view s) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

std::string WideToUtf8(std::wstring_view w) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string s(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                      nullptr);
  return s;
}

// The program's window; none when there is none or more than one, as the
// probe could not tell which one it is meant to drive.
HWND MainWindow() {
  const std::wstring caption = morvane::win32::WideFromGbk(morvane::kWindowCaption);
  HWND first = FindWindowExW(nullptr, nullptr, L"MorvaneMainWindow", caption.c_str());
  if (first && FindWindowExW(nullptr, first, L"MorvaneMainWindow", caption.c_str())) {
    std::fprintf(stderr, "more than one Morvane window is open\n");
    return nullptr;
  }
  return first;
}

HWND FindControl(HWND main, const std::wstring& name) {
  for (const ControlRow& row : kControls) {
    if (Utf8ToWide(row.name) != name) continue;
    const int id = morvane::win32::ControlId(row.id);
    HWND hwnd = GetDlgItem(main, id);
    if (!hwnd && row.parent != morvane::Control::kNone) {
      hwnd = GetDlgItem(GetDlgItem(main, morvane::win32::ControlId(row.parent)), id);
    }
    return hwnd;
  }
  return nullptr;
}

BOOL CALLBACK FindMessageBox(HWND hwnd, LPARAM found) {
  wchar_t name[16] = {};
  GetClassNameW(hwnd, name, 16);
  if (lstrcmpW(name, L"#32770") == 0 && IsWindowVisible(hwnd)) {
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
  }
  return TRUE;
}

int Run(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring command = argv[1];
  if (command == L"wait") {
    for (int i = 0; i < 200; ++i) {
      if (HWND main = MainWindow(); main && IsWindowVisible(main)) return 0;
      Sleep(100);
    }
    return 1;
  }
  HWND main = MainWindow();
  if (!main) return 1;
  if (command == L"close") return PostMessageW(main, WM_CLOSE, 0, 0) ? 0 : 1;
  if (command == L"dismiss") {
    HWND box = nullptr;
    EnumThreadWindows(GetWindowThreadProcessId(main, nullptr), FindMessageBox,
                      reinterpret_cast<LPARAM>(&box));
    return box && PostMessageW(box, WM_COMMAND, IDOK, 0) ? 0 : 1;
  }
  if (argc < 3) return 2;
  HWND control = FindControl(main, argv[2]);
  if (!control) return 1;
  if (command == L"set" && argc >= 4) {
    return SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3])) ? 0 : 1;
  }
  if (command == L"press") {
    return PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2)) ? 0 : 1;
  }
  if (command == L"click") return PostMessageW(control, BM_CLICK, 0, 0) ? 0 : 1;
  if (command == L"read") {
    wchar_t text[1024] = {};
    GetWindowTextW(control, text, 1024);
    std::printf("%s\n", WideToUtf8(text).c_str());
    return 0;
  }
  return 2;
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const int status = Run(argc, argv);
  LocalFree(argv);
  return status;
}
