// The real Win32 window, created in-process from the control table, with
// the message box and the shell replaced by recorders so that a test never
// blocks or starts a browser, and an HTTP client on which every request
// fails.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "platform/win32/native_window.h"
#include "platform/win32/wide_text.h"
#include "web/http_client.h"

namespace morvane::win32::testing {

class NoNetwork final : public HttpClient {
 public:
  HttpHandle OpenSession(const Text&, HttpAccess, const Text&) override { return 0; }
  HttpHandle Connect(HttpHandle, const Text&, int) override { return 0; }
  HttpHandle OpenRequest(HttpHandle, const Text&, const Text&, const Text&,
                         std::uint32_t) override {
    return 0;
  }
  bool SendRequest(HttpHandle, const Text&, const Bytes&) override { return false; }
  int ReadFile(HttpHandle, char*, int) override { return 0; }
  bool QueryRawHeaders(HttpHandle, Text&) override { return false; }
  void CloseHandle(HttpHandle) override {}
};

// Records what the program shows and opens; realMessageBox lets one test
// see the real box.
class RecordingWindow : public NativeWindow {
 public:
  void ShowMessage(const Text& text) override {
    messages.push_back(text);
    if (realMessageBox) NativeWindow::ShowMessage(text);
  }
  void OpenAddress(const Text& address) override { opened.push_back(address); }

  bool realMessageBox = false;
  std::vector<Text> messages;
  std::vector<Text> opened;
};

// Dispatches every message waiting on this thread; true when WM_QUIT came.
inline bool Pump() {
  bool quit = false;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quit = true;
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return quit;
}

// Runs the message loop for about `milliseconds` of real time.
inline bool PumpFor(DWORD milliseconds) {
  bool quit = false;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < milliseconds) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    quit = Pump() || quit;
  }
  return quit;
}

inline std::wstring TextOf(HWND hwnd) {
  wchar_t buffer[1024] = {};
  GetWindowTextW(hwnd, buffer, 1024);
  return buffer;
}

inline RECT WindowRect(HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  return rect;
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<RecordingWindow>();
    program = std::make_unique<Program>(Program{*window, http, {}});
    ASSERT_TRUE(window->Create(*program));
    window->Show();
    Pump();
  }
  void TearDown() override {
    window.reset();
    program.reset();
    Pump();  // takes the quit message the destroyed window posted
  }

  HWND Main() const { return window->hwnd(); }
  HWND Get(Control control) const { return window->control(control); }

  NoNetwork http;
  std::unique_ptr<RecordingWindow> window;
  std::unique_ptr<Program> program;
};

}  // namespace morvane::win32::testing
