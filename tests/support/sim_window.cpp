#include "tests/support/sim_window.h"

#include <algorithm>
#include <utility>

#include "app/main_window.h"

namespace morvane::testing {

namespace {

std::size_t IndexOf(Control control) {
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    if (kControls[i].id == control) return i;
  }
  return 0;
}

// The label's top edge in the window's client area.
int ClientTop(const ControlRow& row) {
  return row.parent == Control::kNone ? row.y : RowOf(row.parent).y + row.y;
}

// The longest run of whole GBK characters of text that fits in maxBytes
// (0: no limit), as an edit box with a length limit accepts typing.
std::string Fit(std::string_view text, int maxBytes) {
  if (maxBytes <= 0) return std::string(text);
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t step = static_cast<unsigned char>(text[end]) >= 0x80 ? 2 : 1;
    if (end + step > static_cast<std::size_t>(maxBytes) || end + step > text.size()) break;
    end += step;
  }
  return std::string(text.substr(0, end));
}

}  // namespace

SimWindow::SimWindow() = default;

void SimWindow::Start(Program& program) {
  program_ = &program;
  exitRoutines_.clear();
  exitRoutines_.push_back([this] {
    OnExit(*program_);
    Record(SimOp::Kind::kExit);
  });
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    controls_[i].text = kControls[i].initialText;
    controls_[i].visible = kControls[i].shownAtStart;
  }
  height_ = kCollapsedHeight;
  left_ = (kScreenWidth - kWindowWidth) / 2;
  top_ = (kScreenHeight - kCollapsedHeight) / 2;
  ++running_;
  OnCreated(program);
  --running_;
  open_ = true;
  Record(SimOp::Kind::kShowWindow);
}

bool SimWindow::Type(Control editBox, std::string_view gbk) {
  if (RowOf(editBox).kind != ControlKind::kEditBox) return false;
  return Post({Input::Kind::kType, editBox, Fit(gbk, RowOf(editBox).maxBytes)});
}

bool SimWindow::Click(Control button) {
  if (RowOf(button).kind != ControlKind::kPushButton) return false;
  return Post({Input::Kind::kClick, button, {}});
}

bool SimWindow::PressLabel(Control label) {
  const ControlRow& row = RowOf(label);
  if (row.kind != ControlKind::kLabel || !IsVisible(label)) return false;
  if (ClientTop(row) >= height_) return false;  // out of view
  return Post({Input::Kind::kPressLabel, label, {}});
}

bool SimWindow::PressEsc() { return Post({Input::Kind::kClose, Control::kNone, {}}); }

bool SimWindow::PressClose() { return Post({Input::Kind::kClose, Control::kNone, {}}); }

void SimWindow::OnMessageBox(std::function<void(SimWindow&)> user) {
  messageBoxUser_ = std::move(user);
}

bool SimWindow::Post(Input input) {
  // A task-modal box disables the window: its input goes nowhere.
  if (!open_ || modal_ > 0) return false;
  queue_.push_back(std::move(input));
  if (running_ == 0) Pump();
  return true;
}

void SimWindow::Pump() {
  while (open_) {
    if (modal_ == 0 && !queue_.empty()) {
      Input input = std::move(queue_.front());
      queue_.pop_front();
      Deliver(input);
      continue;
    }
    if (const std::optional<Control> timer = timers_.TakeWaiting()) {
      DeliverTick(*timer);
      continue;
    }
    break;
  }
}

void SimWindow::Advance(SimTime ms) {
  const SimTime target = now_ + ms;
  // Only the top-level loop or a message box's loop delivers messages.
  const bool canDeliver = running_ == modal_;
  while (open_ && canDeliver) {
    Pump();
    const std::optional<SimTime> next = timers_.NextDue();
    if (!open_ || !next || *next > target) break;
    now_ = std::max(now_, *next);
    timers_.FallDue(now_);
  }
  if (!canDeliver) timers_.FallDue(target);
  now_ = std::max(now_, target);
}

void SimWindow::Block(SimTime ms) {
  now_ += ms;
  timers_.FallDue(now_);
}

void SimWindow::Deliver(const Input& input) {
  switch (input.kind) {
    case Input::Kind::kType:
      StateOf(input.control).text = input.text;
      return;
    case Input::Kind::kClose:
      Record(SimOp::Kind::kInput, Control::kNone);
      Destroy();
      return;
    case Input::Kind::kClick:
    case Input::Kind::kPressLabel:
      Record(SimOp::Kind::kInput, input.control);
      ++running_;
      if (input.kind == Input::Kind::kClick) {
        OnStartClicked(*program_);
      } else {
        OnLabelPressed(*program_, input.control);
      }
      --running_;
      return;
  }
}

void SimWindow::DeliverTick(Control timer) {
  Record(SimOp::Kind::kTick, timer);
  ++running_;
  OnTimerTick(*program_, timer);
  --running_;
}

void SimWindow::Destroy() {
  // The timers die with the window; the loop ends; then the exit routines.
  open_ = false;
  timers_.StopAll();
  queue_.clear();
  for (const std::function<void()>& routine : exitRoutines_) routine();
}

Text SimWindow::TextOf(Control control) const { return Text(StateOf(control).text); }

bool SimWindow::IsVisible(Control control) const { return StateOf(control).visible; }

std::vector<SimOp> SimWindow::LogOf(SimOp::Kind kind, Control control) const {
  std::vector<SimOp> out;
  for (const SimOp& op : log_) {
    if (op.kind == kind && (control == Control::kNone || op.control == control)) out.push_back(op);
  }
  return out;
}

std::vector<SimTime> SimWindow::TickTimes(Control timer) const {
  std::vector<SimTime> out;
  for (const SimOp& op : LogOf(SimOp::Kind::kTick, timer)) out.push_back(op.at);
  return out;
}

void SimWindow::LimitLog(std::size_t entries) {
  logLimit_ = entries;
  if (log_.size() > entries) log_.erase(log_.begin(), log_.end() - static_cast<long>(entries));
}

void SimWindow::Record(SimOp::Kind kind, Control control, std::string text, int value) {
  if (logLimit_ == 0) return;
  log_.push_back(SimOp{now_, kind, control, std::move(text), value});
  // Trim in batches so a long run stays linear.
  if (log_.size() >= 2 * logLimit_) {
    log_.erase(log_.begin(), log_.end() - static_cast<long>(logLimit_));
  }
}

Text SimWindow::ReadText(Control control) { return TextOf(control); }

void SimWindow::WriteText(Control label, const Text& text) {
  StateOf(label).text = text.str();
  Record(SimOp::Kind::kWriteText, label, text.str());
}

void SimWindow::SetVisible(Control label, bool shown) {
  StateOf(label).visible = shown;
  Record(SimOp::Kind::kSetVisible, label, {}, shown ? 1 : 0);
}

void SimWindow::ShowMessage(const Text& text) {
  Record(SimOp::Kind::kShowMessage, Control::kNone, text.str());
  ++modal_;
  if (messageBoxUser_) messageBoxUser_(*this);
  --modal_;
}

void SimWindow::OpenAddress(const Text& address) {
  Record(SimOp::Kind::kOpenAddress, Control::kNone, address.str());
}

void SimWindow::ApplyControlSkin(int style) {
  Record(SimOp::Kind::kApplySkin, Control::kNone, {}, style);
}

void SimWindow::RestartTimer(Control timer, int milliseconds) {
  timers_.Restart(timer, milliseconds, now_);
  Record(SimOp::Kind::kSetTimer, timer, {}, milliseconds);
}

void SimWindow::ApplyHeight(int pixels) {
  height_ = pixels;
  Record(SimOp::Kind::kSetHeight, Control::kNone, {}, pixels);
}

SimWindow::ControlState& SimWindow::StateOf(Control control) { return controls_[IndexOf(control)]; }

const SimWindow::ControlState& SimWindow::StateOf(Control control) const {
  return controls_[IndexOf(control)];
}

}  // namespace morvane::testing
