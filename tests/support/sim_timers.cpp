#include "tests/support/sim_timers.h"

#include <cstddef>

namespace morvane::testing {

namespace {

constexpr std::array<Control, 3> kTimers = {Control::时钟1, Control::时钟2, Control::时钟3};

std::size_t IndexOf(Control timer) {
  for (std::size_t i = 0; i < kTimers.size(); ++i) {
    if (kTimers[i] == timer) return i;
  }
  return 0;
}

}  // namespace

void SimTimers::Restart(Control timer, int period, SimTime now) {
  Timer& t = timers_[IndexOf(timer)];
  t = Timer{};
  if (period <= 0) return;
  t.period = period;
  t.due = now + period;
  t.setOrder = nextOrder_++;
}

void SimTimers::StopAll() { timers_ = {}; }

std::optional<SimTime> SimTimers::NextDue() const {
  std::optional<SimTime> next;
  for (const Timer& t : timers_) {
    if (t.period == 0 || t.waiting) continue;
    if (!next || t.due < *next) next = t.due;
  }
  return next;
}

void SimTimers::FallDue(SimTime now) {
  for (Timer& t : timers_) {
    if (t.period == 0 || t.due > now) continue;
    if (!t.waiting) {
      t.waiting = true;
      t.fellDueAt = t.due;
    }
    // Skip the grid points that passed meanwhile: they are not made up.
    t.due += (now - t.due) / t.period * t.period + t.period;
  }
}

std::optional<Control> SimTimers::TakeWaiting() {
  std::optional<std::size_t> pick;
  for (std::size_t i = 0; i < timers_.size(); ++i) {
    const Timer& t = timers_[i];
    if (!t.waiting) continue;
    if (!pick || t.fellDueAt < timers_[*pick].fellDueAt ||
        (t.fellDueAt == timers_[*pick].fellDueAt && t.setOrder < timers_[*pick].setOrder)) {
      pick = i;
    }
  }
  if (!pick) return std::nullopt;
  timers_[*pick].waiting = false;
  return kTimers[*pick];
}

bool SimTimers::HasWaiting() const {
  for (const Timer& t : timers_) {
    if (t.waiting) return true;
  }
  return false;
}

}  // namespace morvane::testing
