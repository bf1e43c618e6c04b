// The main window on Qt Widgets: the window operations of app/window.h,
// built from the control table, and the events the program handles.
#pragma once

#include <QMargins>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/controls.h"
#include "app/window.h"
#include "text/types.h"

class QObject;
class QTimer;
class QWidget;

namespace morvane {

// What the window reports, on the UI thread, one handler at a time.
struct WindowEvents {
  std::function<void()> startClicked;         // 按钮1
  std::function<void(Control)> timerTick;     // 时钟1, 时钟2, 时钟3
  std::function<void(Control)> labelPressed;  // left button down on a label
};

class QtWindow final : public Window {
 public:
  // Creates the window and every control of the table, hidden or shown as
  // the table says, with no timer running; delivers no event yet.
  QtWindow();
  ~QtWindow() override;
  QtWindow(const QtWindow&) = delete;
  QtWindow& operator=(const QtWindow&) = delete;

  void SetEvents(WindowEvents events) { events_ = std::move(events); }

  // Shows the window centred on the whole primary screen and activates it.
  void ShowCentred();

  // The top-level widget, and a control's widget (nullptr for a timer).
  [[nodiscard]] QWidget* widget() const;
  [[nodiscard]] QWidget* widget(Control control) const;
  // Whether a timer is running at the platform level.
  [[nodiscard]] bool TimerRunning(Control timer) const;

  [[nodiscard]] Text ReadText(Control control) override;
  void WriteText(Control label, const Text& text) override;
  void SetVisible(Control label, bool shown) override;
  void ShowMessage(const Text& text) override;
  void OpenAddress(const Text& address) override;
  void ApplyControlSkin(int style) override;

 protected:
  void RestartTimer(Control timer, int milliseconds) override;
  void ApplyHeight(int pixels) override;

 private:
  static constexpr std::size_t kCount = kControls.size();

  void BuildControls();
  // Sets the client size so that the outer size, with the frame the window
  // manager gives, is 457 wide and outerHeight_ high.
  void FitToFrame();
  void StopTimers();
  // A timer fell due: its one tick waits, and its delivery is queued.
  void TimerFellDue(std::size_t index);
  void QueueDelivery();
  // Lets waiting input go first, then runs the earliest waiting tick.
  void DeliverWaitingTick();

  std::unique_ptr<QWidget> window_;
  std::unique_ptr<QObject> escapeFilter_;
  std::unique_ptr<QObject> tickDelivery_;
  std::array<QWidget*, kCount> widgets_{};
  std::array<QTimer*, kCount> timers_{};
  std::array<Text, kCount> labelTexts_;  // labels: the bytes last written
  // Timers: 0, or the order in which the waiting tick fell due.
  std::array<std::uint64_t, kCount> waitingTick_{};
  std::uint64_t ticksFallen_ = 0;
  bool deliveryQueued_ = false;
  WindowEvents events_;
  int outerHeight_;
  QMargins frame_;
};

}  // namespace morvane
