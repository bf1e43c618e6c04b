// The program's window on Win32: built from the control table, with the W
// functions, every text converted from GBK at this boundary. Events reach
// the program's handlers on the thread that created the window.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>

#include "app/controls.h"
#include "app/program.h"
#include "app/window.h"
#include "text/types.h"

namespace morvane::win32 {

// Private messages between the controls and the window.
inline constexpr UINT kLabelPressedMessage = WM_APP + 1;  // wParam: control id
inline constexpr UINT kTabKeyMessage = WM_APP + 2;        // wParam: from, lParam: backwards

// A control's id (GetDlgCtrlID) and timer id: its row in the table, from 1.
constexpr int ControlId(Control control) { return static_cast<int>(control) + 1; }

class NativeWindow : public Window {
 public:
  NativeWindow() = default;
  NativeWindow(const NativeWindow&) = delete;
  NativeWindow& operator=(const NativeWindow&) = delete;
  // Switches the skin off and destroys the window if it is still open.
  ~NativeWindow() override;

  // Creates the window, centred, with every control of the table shown or
  // hidden as the table says, then delivers the created event. Nothing
  // reaches the program while the controls are being created. False when
  // the window could not be created; then nothing of it is left and the
  // message loop is not told to end. Once created, its destruction ends it.
  bool Create(Program& program);
  // Shows the window in its normal state and makes it the active window.
  void Show();

  [[nodiscard]] HWND hwnd() const { return hwnd_; }
  [[nodiscard]] HWND control(Control id) const { return controls_[Index(id)]; }

  Text ReadText(Control control) override;
  void WriteText(Control label, const Text& text) override;
  void SetVisible(Control label, bool shown) override;
  void ShowMessage(const Text& text) override;
  void OpenAddress(const Text& address) override;
  void ApplyControlSkin(int style) override;

  // The procedure of the main window class.
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  void RestartTimer(Control timer, int milliseconds) override;
  void ApplyHeight(int pixels) override;

 private:
  static constexpr std::size_t Index(Control id) { return static_cast<std::size_t>(id); }
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  bool CreateControls();
  void MoveFocus(HWND from, bool backwards);

  HWND hwnd_ = nullptr;
  HFONT boldFont_ = nullptr;
  HWND lastFocus_ = nullptr;
  Program* program_ = nullptr;  // set once the window and controls exist
  bool quitOnDestroy_ = false;  // its destruction ends the message loop
  std::array<HWND, kControls.size()> controls_{};
  // What was last written to each label: read back byte for byte, whatever
  // the round trip through UTF-16 would make of it.
  std::array<Text, kControls.size()> labelTexts_{};
};

}  // namespace morvane::win32
