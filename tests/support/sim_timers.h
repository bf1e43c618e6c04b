// The three timers of the simulated window on a virtual millisecond clock,
// with the rules of the platform's interval timers:
//  - a timer set to a period above 0 first falls due one full period later,
//    then every period on that same grid; where the next tick falls after
//    a late one is the backend's own choice (one keeps the grid, another
//    counts the period from the late delivery), so tests of the program
//    rely only on the late tick coming once and the next within a period;
//  - a due timer has one tick waiting, never more: periods that pass while
//    a tick is already waiting are lost, not made up;
//  - stopping or re-timing a timer drops its waiting tick.
// Delivering the waiting ticks (and only when nothing else is queued) is
// the message loop's business, in sim_window.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "app/controls.h"

namespace morvane::testing {

using SimTime = std::int64_t;  // virtual milliseconds since start-up

class SimTimers {
 public:
  // Stops the timer and drops its waiting tick; above 0, starts it anew so
  // that it falls due at now + period.
  void Restart(Control timer, int period, SimTime now);
  void StopAll();

  // The earliest time a running timer without a waiting tick falls due.
  [[nodiscard]] std::optional<SimTime> NextDue() const;
  // Every timer whose due time is at or before now gets its one waiting
  // tick; its next due time moves to the first grid point after now.
  void FallDue(SimTime now);
  // Removes and returns the waiting tick to deliver first: the one that
  // fell due earliest, and among equals the timer set first.
  [[nodiscard]] std::optional<Control> TakeWaiting();
  [[nodiscard]] bool HasWaiting() const;

 private:
  struct Timer {
    int period = 0;
    SimTime due = 0;        // next grid point, when running
    bool waiting = false;   // one tick waits for delivery
    SimTime fellDueAt = 0;  // when the waiting tick fell due
    std::uint64_t setOrder = 0;
  };
  std::array<Timer, 3> timers_{};
  std::uint64_t nextOrder_ = 1;
};

}  // namespace morvane::testing
