#include "app/window.h"

#include <algorithm>
#include <cstddef>

#include "app/main_window.h"

namespace morvane {

namespace {

std::size_t TimerIndex(Control timer) {
  switch (timer) {
    case Control::时钟1:
      return 0;
    case Control::时钟2:
      return 1;
    default:
      return 2;
  }
}

}  // namespace

void Window::SetTimerPeriod(Control timer, int milliseconds) {
  const int period = std::max(milliseconds, 0);
  int& current = periods_[TimerIndex(timer)];
  if (period == current) return;  // a running timer keeps its rhythm
  current = period;
  RestartTimer(timer, period);
}

int Window::TimerPeriod(Control timer) const { return periods_[TimerIndex(timer)]; }

void Window::SetHeight(int pixels) { ApplyHeight(std::clamp(pixels, 0, kMaxWindowHeight)); }

}  // namespace morvane
