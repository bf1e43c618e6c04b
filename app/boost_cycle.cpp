// The boost cycle: Start, and the ticks of the poll, burst and countdown
// timers. The cycle keeps no state of its own: the timers' periods and the
// labels' texts are its state.
#include "app/boost_cycle.h"

#include <span>

#include "app/song_info.h"
#include "text/primitives.h"

namespace morvane {

namespace {

constexpr int kBurstPollMs = 500;
constexpr int kBurstLengthMs = 7000;
constexpr int kCountdownTickMs = 1000;
constexpr int kSteadyPollMs = 1000;

void SetGroupVisible(Window& window, std::span<const Control> group, bool shown) {
  for (Control label : group) window.SetVisible(label, shown);
}

void ShowStatus(Window& window) {
  SetGroupVisible(window, kStatusGroup, true);
  SetGroupVisible(window, kCountdownGroup, false);
}

void ShowCountdown(Window& window) {
  SetGroupVisible(window, kStatusGroup, false);
  SetGroupVisible(window, kCountdownGroup, true);
}

// Share addresses of the service, old (http) and new (https), on its web
// host or its song-info host; the search is case-sensitive.
bool IsServiceAddress(const Text& address) {
  for (const char* scheme : {"http://", "https://"}) {
    for (const char* host : {kServiceWebHost, kSongInfoHost}) {
      if (FindText(address, ConcatText(Text(scheme), host)) != -1) return true;
    }
  }
  return false;
}

}  // namespace

void StartBoost(Program& program) {
  Window& window = program.window;
  window.SetTimerPeriod(Control::时钟2, 0);
  const Text address = window.ReadText(Control::编辑框1);
  if (TextEquals(address, Text())) {
    window.ShowMessage(texts::kEnterAddress);
    return;
  }
  if (!IsServiceAddress(address)) {
    window.ShowMessage(texts::kNotServiceAddress);
    return;
  }
  window.SetTimerPeriod(Control::时钟1, kBurstPollMs);
  window.SetTimerPeriod(Control::时钟3, kBurstLengthMs);
  ShowStatus(window);
}

void PollTick(Program& program) {
  program.window.SetTimerPeriod(Control::时钟2, 0);
  ShowStatus(program.window);
  QuerySongInfo(program);
}

void BurstEnd(Program& program) {
  Window& window = program.window;
  const double minutes = ToNumber(window.ReadText(Control::编辑框2));
  window.WriteText(Control::透明标签2, NumberToText(minutes * 60));
  window.SetTimerPeriod(Control::时钟2, kCountdownTickMs);
  window.SetTimerPeriod(Control::时钟1, 0);
  window.SetTimerPeriod(Control::时钟3, 0);
}

void CountdownTick(Program& program) {
  Window& window = program.window;
  window.SetTimerPeriod(Control::时钟1, 0);
  ShowCountdown(window);
  const double left = ToNumber(window.ReadText(Control::透明标签2)) - 1;
  window.WriteText(Control::透明标签2, NumberToText(left));
  // Compared as a number: a pause of "0", a non-number or a fraction such as
  // ".01" would otherwise step past an exact "0" and count down forever.
  if (ToNumber(window.ReadText(Control::透明标签2)) > 0) return;
  ShowStatus(window);
  window.SetTimerPeriod(Control::时钟2, 0);
  window.SetTimerPeriod(Control::时钟1, kSteadyPollMs);
}

}  // namespace morvane
