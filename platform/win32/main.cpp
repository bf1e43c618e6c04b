// The Windows program: start-up, the message loop and exit.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "app/program.h"
#include "app/texts.h"
#include "platform/win32/native_window.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/wininet_client.h"

namespace {

// Shown when the window cannot be created.
constexpr char kWindowFailed[] =
    "\xb4\xb0\xbf\xda\xb4\xb4\xbd\xa8\xca\xa7\xb0\xdc";  // 窗口创建失败

// The routines to run once the message loop has ended, in the order in
// which they were registered.
class ExitRoutines {
 public:
  void Register(std::function<void()> routine) { routines_.push_back(std::move(routine)); }
  void Run() {
    for (auto& routine : routines_) routine();
    routines_.clear();
  }

 private:
  std::vector<std::function<void()>> routines_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace morvane;
  // The window layer: common controls 6 for the control classes and the
  // subclassing the skin and the keyboard rules rely on.
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  WinInetHttpClient http;
  win32::NativeWindow window;
  Program program{window, http, {}};
  ExitRoutines exitRoutines;
  exitRoutines.Register([&program] { OnExit(program); });

  if (!window.Create(program)) {
    const std::wstring text = win32::WideFromGbk(kWindowFailed);
    const std::wstring caption = win32::WideFromGbk(texts::kMessageCaption);
    MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
    return 1;
  }
  window.Show();

  MSG message{};
  int result = 0;
  while (true) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      result = static_cast<int>(message.wParam);
      break;
    }
    if (got == -1) {
      result = 1;
      break;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  exitRoutines.Run();
  return result;
}
