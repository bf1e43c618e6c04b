// A simulated window system that runs the real program on a virtual clock,
// for tests. It is the reference for what a window backend must do:
//  - start-up in the program's order: the exit step is registered, the
//    controls are built from the control table, the created event runs,
//    then the window is shown (centred on a 1280 x 1024 screen);
//  - one message loop: queued input first, then waiting timer ticks (see
//    sim_timers.h); a handler runs to completion before the next message;
//  - ShowMessage is modal: its own loop keeps delivering timer ticks until
//    the box is dismissed, and input to the window is refused meanwhile;
//  - Esc or the close button destroys the window in any state: the timers
//    die, the exit step runs, and nothing is delivered afterwards.
// Every window operation the program makes is recorded with its time.
//
// Example:
//   SimProgram sim(http);
//   sim.window.Type(Control::编辑框1, "http://kg.qq.com/play?s=abc");
//   sim.window.Click(Control::按钮1);
//   sim.window.Advance(7000);  // the burst: 14 polls
#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/program.h"
#include "app/window.h"
#include "tests/support/sim_timers.h"

namespace morvane::testing {

// One thing that happened, in order: an operation the program asked of the
// window, or an event the window delivered to the program.
struct SimOp {
  enum class Kind {
    kWriteText,    // control, text
    kSetVisible,   // control, value 1 or 0
    kSetTimer,     // control, value: the period actually applied
    kSetHeight,    // value: the clamped height
    kShowMessage,  // text
    kOpenAddress,  // text
    kApplySkin,    // value: the style
    kShowWindow,   // the window appears (start-up step 5)
    kTick,         // control: the timer whose tick was delivered
    kInput,        // control: the button or label pressed (kNone: Esc/close)
    kExit,         // the exit step ran
  };
  SimTime at;
  Kind kind;
  Control control = Control::kNone;
  std::string text;  // GBK
  int value = 0;
};

class SimWindow final : public Window {
 public:
  // The simulated primary screen the window is centred on.
  static constexpr int kScreenWidth = 1280;
  static constexpr int kScreenHeight = 1024;

  SimWindow();

  // Start-up steps 1 to 5 for this program; the loop then runs as the test
  // advances the clock.
  void Start(Program& program);

  // --- The user ----------------------------------------------------------
  // Each returns false when the input was refused: the window is closed, a
  // message box is open, the label is hidden or lies below the window's
  // current height. Input made while a handler runs (from a fake client,
  // say) waits in the queue and goes before any waiting tick.
  bool Type(Control editBox, std::string_view gbk);  // replaces the contents
  bool Click(Control button);
  bool PressLabel(Control label);
  bool PressEsc();
  bool PressClose();
  // While a message box is open, this runs with the box shown; it may
  // advance the clock (ticks are delivered), try input (refused) and read
  // the window. When it returns, the user has pressed OK. By default OK is
  // pressed at once.
  void OnMessageBox(std::function<void(SimWindow&)> user);

  // --- Time --------------------------------------------------------------
  // Runs the message loop for ms of virtual time. Called while a handler
  // runs (outside a message box) it only moves the clock, like Block.
  void Advance(SimTime ms);
  // The running handler takes ms more (a slow request): the clock moves,
  // timers fall due, nothing is delivered.
  void Block(SimTime ms);
  [[nodiscard]] SimTime Now() const { return now_; }

  // --- What the window shows ---------------------------------------------
  [[nodiscard]] Text TextOf(Control control) const;
  [[nodiscard]] bool IsVisible(Control control) const;
  [[nodiscard]] int Height() const { return height_; }
  [[nodiscard]] int Left() const { return left_; }
  [[nodiscard]] int Top() const { return top_; }
  [[nodiscard]] bool IsOpen() const { return open_; }
  [[nodiscard]] bool MessageBoxOpen() const { return modal_ > 0; }
  [[nodiscard]] const std::vector<SimOp>& Log() const { return log_; }
  // Entries of one kind (and control, unless kNone is given).
  [[nodiscard]] std::vector<SimOp> LogOf(SimOp::Kind kind, Control control = Control::kNone) const;
  // The times at which a timer's ticks were delivered.
  [[nodiscard]] std::vector<SimTime> TickTimes(Control timer) const;
  // Keeps only the latest `entries` of the log (0: none), for long runs.
  void LimitLog(std::size_t entries);

  // --- Window ------------------------------------------------------------
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
  struct Input {
    enum class Kind { kType, kClick, kPressLabel, kClose } kind;
    Control control;
    std::string text;
  };
  struct ControlState {
    std::string text;
    bool visible = false;
  };

  bool Post(Input input);
  // Delivers queued input, then waiting ticks, until nothing is left; in a
  // message box only ticks.
  void Pump();
  void Deliver(const Input& input);
  void DeliverTick(Control timer);
  void Destroy();
  void Record(SimOp::Kind kind, Control control = Control::kNone, std::string text = {},
              int value = 0);
  ControlState& StateOf(Control control);
  [[nodiscard]] const ControlState& StateOf(Control control) const;

  Program* program_ = nullptr;
  std::vector<std::function<void()>> exitRoutines_;
  std::array<ControlState, kControls.size()> controls_{};
  SimTimers timers_;
  SimTime now_ = 0;
  int height_ = 0;
  int left_ = 0;
  int top_ = 0;
  bool open_ = false;
  int running_ = 0;  // handlers on the stack
  int modal_ = 0;    // message boxes open
  std::deque<Input> queue_;
  std::function<void(SimWindow&)> messageBoxUser_;
  std::vector<SimOp> log_;
  std::size_t logLimit_ = static_cast<std::size_t>(-1);
};

// The window and the program behind it, started as the real program starts.
struct SimProgram {
  explicit SimProgram(HttpClient& http) : program{window, http, {}} { window.Start(program); }
  SimWindow window;
  Program program;
};

}  // namespace morvane::testing
