// The window operations: the only way the program touches its window.
// A backend (Win32, Qt, the tests' simulated window) derives from Window and
// provides the platform half; the rules every backend shares (timer periods,
// height clamping) live here once.
#pragma once

#include <array>

#include "app/controls.h"
#include "text/types.h"

namespace morvane {

class Window {
 public:
  virtual ~Window() = default;

  // The text of an edit box as the user left it (CR LF included), or the
  // text last written to a label (at first its initial text).
  [[nodiscard]] virtual Text ReadText(Control control) = 0;
  // Writes a label's text; the label and what lies beneath it are redrawn.
  virtual void WriteText(Control label, const Text& text) = 0;
  // Shows or hides a label without activating it; the same state is a no-op.
  virtual void SetVisible(Control label, bool shown) = 0;
  // A message box: caption "信息：", one OK button, no icon, task-modal.
  // Timer ticks keep being dispatched while it waits.
  virtual void ShowMessage(const Text& text) = 0;
  // The shell's "open" of an address, without waiting for the browser.
  virtual void OpenAddress(const Text& address) = 0;
  // The control skin: styles 1..3 switch it on with their scheme, any other
  // value switches it off.
  virtual void ApplyControlSkin(int style) = 0;

  // Sets a timer's period in milliseconds. A negative value is 0 (stopped).
  // The period it already has changes nothing at all; any other stops the
  // timer and, above 0, starts it anew: the first tick one period later.
  void SetTimerPeriod(Control timer, int milliseconds);
  [[nodiscard]] int TimerPeriod(Control timer) const;

  // Sets the window's outer height, clamped to 0..32627; the top-left corner
  // and the width stay.
  void SetHeight(int pixels);

 protected:
  // Stops the timer and, when milliseconds > 0, starts it with that period.
  virtual void RestartTimer(Control timer, int milliseconds) = 0;
  virtual void ApplyHeight(int pixels) = 0;

 private:
  std::array<int, 3> periods_{};  // 时钟1, 时钟2, 时钟3
};

}  // namespace morvane
