// The boost cycle on the simulated window: burst, countdown, steady
// polling, Start in every state, the message box, slow requests and exit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/texts.h"
#include "tests/app/app_fixture.h"
#include "text/primitives.h"

namespace morvane::testing {
namespace {

using Kind = SimOp::Kind;

struct Periods {
  int poll, countdown, burst;
  friend bool operator==(const Periods&, const Periods&) = default;
};
void PrintTo(const Periods& p, std::ostream* os) {
  *os << "{poll " << p.poll << ", countdown " << p.countdown << ", burst " << p.burst << "}";
}

class BoostCycle : public AppTest {
 protected:
  [[nodiscard]] Periods Timers() const {
    return {Period(Control::时钟1), Period(Control::时钟2), Period(Control::时钟3)};
  }
  [[nodiscard]] bool StatusShown() const {
    for (Control c : kStatusGroup) {
      if (!w.IsVisible(c)) return false;
    }
    for (Control c : kCountdownGroup) {
      if (w.IsVisible(c)) return false;
    }
    return true;
  }
  [[nodiscard]] bool CountdownShown() const {
    for (Control c : kStatusGroup) {
      if (w.IsVisible(c)) return false;
    }
    for (Control c : kCountdownGroup) {
      if (!w.IsVisible(c)) return false;
    }
    return true;
  }
  // The visibility changes made at one moment, as (label, shown) in order.
  [[nodiscard]] std::vector<std::pair<Control, int>> VisibilityAt(SimTime at) const {
    std::vector<std::pair<Control, int>> out;
    for (const SimOp& op : w.LogOf(Kind::kSetVisible)) {
      if (op.at == at) out.emplace_back(op.control, op.value);
    }
    return out;
  }
  [[nodiscard]] std::vector<std::string> Messages() const {
    std::vector<std::string> out;
    for (const SimOp& op : w.LogOf(Kind::kShowMessage)) out.push_back(op.text);
    return out;
  }
};

// The status group switched to `toStatus`, then the countdown group to the
// opposite, label by label in the listed order.
std::vector<std::pair<Control, int>> Switch(bool toStatus) {
  std::vector<std::pair<Control, int>> out;
  for (Control c : kStatusGroup) out.emplace_back(c, toStatus ? 1 : 0);
  for (Control c : kCountdownGroup) out.emplace_back(c, toStatus ? 0 : 1);
  return out;
}

TEST_F(BoostCycle, BurstPollsFourteenTimesThenTheCountdownBegins) {
  StartWith(kShareLink);
  EXPECT_EQ(Timers(), (Periods{500, 0, 7000}));
  EXPECT_EQ(VisibilityAt(0), Switch(true));

  w.Advance(7000);
  std::vector<SimTime> polls;
  for (SimTime t = 500; t <= 7000; t += 500) polls.push_back(t);
  EXPECT_EQ(w.TickTimes(Control::时钟1), polls);
  EXPECT_EQ(http.exchanges.size(), 14u);
  EXPECT_EQ(w.TickTimes(Control::时钟3), std::vector<SimTime>{7000});
  EXPECT_EQ(w.TextOf(Control::透明标签2), Text("3600"));
  EXPECT_EQ(Timers(), (Periods{0, 1000, 0}));
  EXPECT_TRUE(StatusShown()) << "the status stays until the first countdown tick";

  // The pause was read when the burst ended; a new value changes nothing.
  ASSERT_TRUE(w.Type(Control::编辑框2, "1"));
  w.Advance(1000);
  EXPECT_EQ(w.TextOf(Control::透明标签2), Text("3599"));
  EXPECT_EQ(VisibilityAt(8000), Switch(false));
  EXPECT_TRUE(CountdownShown());
  EXPECT_EQ(http.exchanges.size(), 14u);
}

TEST_F(BoostCycle, PauseCountsDownEverySecondThenPollingNeverPausesAgain) {
  StartWith(kShareLink);
  w.LimitLog(100'000);
  w.Advance(7000 + 3'600'000);

  std::vector<SimOp> writes = w.LogOf(Kind::kWriteText, Control::透明标签2);
  ASSERT_EQ(writes.size(), 3601u);
  for (std::size_t i = 0; i < writes.size(); ++i) {
    ASSERT_EQ(writes[i].text, NumberToText(3600.0 - static_cast<double>(i)).str()) << i;
  }
  // The tick that reaches zero shows the status and starts steady polling.
  EXPECT_EQ(writes.back().at, 3'607'000);
  EXPECT_TRUE(StatusShown());
  EXPECT_EQ(Timers(), (Periods{1000, 0, 0}));

  const std::size_t before = http.exchanges.size();
  w.Advance(10'000);
  std::vector<SimTime> steady;
  for (SimTime t = 3'608'000; t <= 3'617'000; t += 1000) steady.push_back(t);
  std::vector<SimTime> polls = w.TickTimes(Control::时钟1);
  EXPECT_EQ(std::vector<SimTime>(polls.end() - 10, polls.end()), steady);
  EXPECT_EQ(http.exchanges.size(), before + 10);
  EXPECT_EQ(w.TickTimes(Control::时钟2).size(), 3600u);
}

TEST_F(BoostCycle, PauseEndsAtZeroOrBelowWhateverThePauseBoxHolds) {
  // "0", a non-number and fractions like ".01" never hit an exact "0"; they
  // used to count down forever. Each must end at its first countdown tick.
  const struct {
    const char* pause;
    const char* seconds;  // written when the burst ends
    int ticks;            // countdown ticks until steady polling
  } kCases[] = {
      {"60", "3600", 3600},   {"0.5", "30", 30}, {"999", "59940", 59940},
      {"\xa3\xb1", "60", 60},  // a full-width 1
      {"0", "0", 1},          {"", "0", 1},      {"abc", "0", 1},
      {".01", "0.6", 1},      {"-1", "-60", 1},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.pause);
    FakeHttpClient client;
    SimProgram run(client);
    SimWindow& win = run.window;
    win.LimitLog(0);
    ASSERT_TRUE(win.Type(Control::编辑框2, c.pause));
    ASSERT_TRUE(win.Type(Control::编辑框1, kShareLink));
    ASSERT_TRUE(win.Click(Control::按钮1));
    win.Advance(7000);
    EXPECT_EQ(win.TextOf(Control::透明标签2), Text(c.seconds));
    int ticks = 0;
    while (win.TimerPeriod(Control::时钟1) == 0 && ticks <= c.ticks) {
      win.Advance(1000);
      ++ticks;
    }
    EXPECT_EQ(ticks, c.ticks);
    EXPECT_EQ(win.TimerPeriod(Control::时钟1), 1000);
    EXPECT_EQ(win.TimerPeriod(Control::时钟2), 0);
  }
}

enum class State { kIdle, kBurst, kCountdown, kSteady };

TEST_F(BoostCycle, StartInEveryState) {
  const char* const kInvalid = "HTTP://KG.QQ.COM/play?s=abc";
  const struct {
    State state;
    const char* address;
    const char* message;  // nullptr: a valid Start
  } kCases[] = {
      {State::kIdle, kShareLink, nullptr},
      {State::kIdle, "", texts::kEnterAddress},
      {State::kIdle, kInvalid, texts::kNotServiceAddress},
      {State::kBurst, kShareLink, nullptr},
      {State::kBurst, "", texts::kEnterAddress},
      {State::kBurst, kInvalid, texts::kNotServiceAddress},
      {State::kCountdown, kShareLink, nullptr},
      {State::kCountdown, "", texts::kEnterAddress},
      {State::kCountdown, kInvalid, texts::kNotServiceAddress},
      {State::kSteady, kShareLink, nullptr},
      {State::kSteady, "", texts::kEnterAddress},
      {State::kSteady, kInvalid, texts::kNotServiceAddress},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(::testing::Message()
                 << "state " << static_cast<int>(c.state) << ", address \"" << c.address << "\"");
    FakeHttpClient client;
    SimProgram run(client);
    SimWindow& win = run.window;
    ASSERT_TRUE(win.Type(Control::编辑框2, "0"));  // a pause that ends at once
    switch (c.state) {
      case State::kIdle:
        break;
      case State::kBurst:
        ASSERT_TRUE(win.Type(Control::编辑框1, kShareLink));
        ASSERT_TRUE(win.Click(Control::按钮1));
        win.Advance(3200);  // off the poll's 500 ms grid
        break;
      case State::kCountdown:
        ASSERT_TRUE(win.Type(Control::编辑框2, "60"));
        ASSERT_TRUE(win.Type(Control::编辑框1, kShareLink));
        ASSERT_TRUE(win.Click(Control::按钮1));
        win.Advance(7000 + 2300);
        break;
      case State::kSteady:
        ASSERT_TRUE(win.Type(Control::编辑框1, kShareLink));
        ASSERT_TRUE(win.Click(Control::按钮1));
        win.Advance(7000 + 1000 + 2300);
        break;
    }
    const Periods before{win.TimerPeriod(Control::时钟1), win.TimerPeriod(Control::时钟2),
                         win.TimerPeriod(Control::时钟3)};
    std::vector<bool> shownBefore;
    for (const ControlRow& row : kControls) shownBefore.push_back(win.IsVisible(row.id));
    const SimTime clickedAt = win.Now();

    ASSERT_TRUE(win.Type(Control::编辑框1, c.address));
    ASSERT_TRUE(win.Click(Control::按钮1));
    const Periods after{win.TimerPeriod(Control::时钟1), win.TimerPeriod(Control::时钟2),
                        win.TimerPeriod(Control::时钟3)};
    const std::vector<SimOp> messages = win.LogOf(Kind::kShowMessage);

    if (c.message == nullptr) {
      EXPECT_TRUE(messages.empty());
      EXPECT_EQ(after, (Periods{500, 0, 7000}));
      for (Control l : kStatusGroup) EXPECT_TRUE(win.IsVisible(l));
      for (Control l : kCountdownGroup) EXPECT_FALSE(win.IsVisible(l));
      // During a burst the timers keep their rhythm: the next poll comes on
      // the old grid and the burst still ends 7000 ms after the first Start.
      const SimTime nextPoll = c.state == State::kBurst ? 300 : 500;
      const SimTime burstEnd = c.state == State::kBurst ? 3800 : 7000;
      const std::size_t polls = win.TickTimes(Control::时钟1).size();
      win.Advance(nextPoll);
      ASSERT_EQ(win.TickTimes(Control::时钟1).size(), polls + 1);
      EXPECT_EQ(win.TickTimes(Control::时钟1).back(), clickedAt + nextPoll);
      win.Advance(burstEnd - nextPoll);
      EXPECT_EQ(win.TickTimes(Control::时钟3).back(), clickedAt + burstEnd);
    } else {
      ASSERT_EQ(messages.size(), 1u);
      EXPECT_EQ(messages[0].text, c.message);
      // Only the countdown stops; from Countdown that leaves no timer.
      EXPECT_EQ(after, (Periods{before.poll, 0, before.burst}));
      for (std::size_t i = 0; i < kControls.size(); ++i) {
        EXPECT_EQ(win.IsVisible(kControls[i].id), shownBefore[i]) << kControls[i].name;
      }
    }
  }
}

TEST_F(BoostCycle, StartLooksForTheServiceAnywhereAndCaseSensitively) {
  // Today's share links are https and carry more parameters; they used to be
  // refused because only "http://kg.qq.com" was looked for.
  const struct {
    const char* address;
    bool accepted;
  } kCases[] = {
      {kShareLink, true},
      {"http://kg.qq.com/play.html?s=abcdefghij", true},
      {"http://node.kg.qq.com/play?s=x", true},
      {"https://node.kg.qq.com/play?s=x", true},
      {"look: https://kg.qq.com/node/play?s=x", true},
      {"HTTP://KG.QQ.COM/play.html?s=abc", false},
      {"Https://kg.qq.com/node/play?s=x", false},
      {"https://example.com/?s=kg.qq.com", false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.address);
    FakeHttpClient client;
    SimProgram run(client);
    ASSERT_TRUE(run.window.Type(Control::编辑框1, c.address));
    ASSERT_TRUE(run.window.Click(Control::按钮1));
    EXPECT_EQ(run.window.TimerPeriod(Control::时钟1), c.accepted ? 500 : 0);
    EXPECT_EQ(run.window.LogOf(Kind::kShowMessage).size(), c.accepted ? 0u : 1u);
  }
}

TEST_F(BoostCycle, PollsGoOnBehindTheMessageBox) {
  StartWith(kShareLink);
  w.Advance(6000);
  bool inputRefused = false;
  w.OnMessageBox([&](SimWindow& box) {
    EXPECT_TRUE(box.MessageBoxOpen());
    box.Advance(2500);  // the burst ends and the countdown starts meanwhile
    inputRefused = !box.Click(Control::按钮1) && !box.PressLabel(Control::透明标签8) &&
                   !box.PressEsc() && !box.Type(Control::编辑框1, kShareLink);
  });
  ASSERT_TRUE(w.Type(Control::编辑框1, ""));
  ASSERT_TRUE(w.Click(Control::按钮1));

  EXPECT_TRUE(inputRefused);
  EXPECT_EQ(Messages(), std::vector<std::string>{texts::kEnterAddress});
  EXPECT_EQ(w.Now(), 8500);
  EXPECT_EQ(w.TickTimes(Control::时钟1).back(), 7000);
  EXPECT_EQ(w.TickTimes(Control::时钟3), std::vector<SimTime>{7000});
  EXPECT_EQ(w.TickTimes(Control::时钟2), std::vector<SimTime>{8000});
  EXPECT_EQ(w.TextOf(Control::透明标签2), Text("3599"));
  EXPECT_EQ(Timers(), (Periods{0, 1000, 0}));
  EXPECT_TRUE(w.IsOpen());
}

TEST_F(BoostCycle, SlowRequestsDelayTicksWithoutPilingThemUp) {
  http.answer = [this](const FakeExchange&) {
    // The poll at 6500 takes 1200 ms, past the burst's end at 7000; the
    // second steady poll, at 10700, takes 3500 ms.
    const SimTime now = w.Now();
    return FakeAnswer{{}, false, now == 6500 ? 1200 : now == 10'700 ? 3500 : 0};
  };
  ASSERT_TRUE(w.Type(Control::编辑框2, "0"));
  StartWith(kShareLink);
  w.Advance(20'000);

  // Both ticks that fell due during the slow poll come once, in the order
  // they fell due, right after it; nothing is made up.
  std::vector<SimTime> expected;
  for (SimTime t = 500; t <= 6500; t += 500) expected.push_back(t);
  // 7700: the burst's last poll; the countdown ends at 8700 (pause 0).
  for (SimTime t : {7700, 9700, 10'700, 14'200}) expected.push_back(t);
  const std::vector<SimTime> ticks = w.TickTimes(Control::时钟1);
  ASSERT_GT(ticks.size(), expected.size());
  EXPECT_EQ(std::vector<SimTime>(ticks.begin(), ticks.begin() + std::ssize(expected)), expected);
  // Past the late tick at 14'200 the phase is the backend's: the next poll
  // comes within one period of it, then one every period.
  EXPECT_GT(ticks[expected.size()], 14'200);
  EXPECT_LE(ticks[expected.size()], 15'200);
  for (std::size_t i = expected.size() + 1; i < ticks.size(); ++i) {
    EXPECT_EQ(ticks[i] - ticks[i - 1], 1000) << "tick " << i;
  }
  EXPECT_GT(ticks.back(), 19'000) << "the polls stopped";
  EXPECT_EQ(w.TickTimes(Control::时钟3), std::vector<SimTime>{7700});
  EXPECT_EQ(http.exchanges.size(), ticks.size());
}

TEST_F(BoostCycle, EscDuringASlowRequestGoesBeforeTheWaitingTick) {
  http.answer = [this](const FakeExchange&) {
    if (w.Now() != 1000) return FakeAnswer{};
    EXPECT_TRUE(w.PressEsc()) << "queued while the poll blocks";
    return FakeAnswer{{}, false, 800};
  };
  StartWith(kShareLink);
  w.Advance(10'000);

  EXPECT_EQ(w.TickTimes(Control::时钟1), (std::vector<SimTime>{500, 1000}));
  EXPECT_FALSE(w.IsOpen());
  ASSERT_EQ(w.LogOf(Kind::kExit).size(), 1u);
  EXPECT_EQ(w.LogOf(Kind::kExit)[0].at, 1800);
}

TEST_F(BoostCycle, EscInTheMiddleOfThePauseEndsTheProgram) {
  http.answer = [](const FakeExchange&) {
    return FakeAnswer{"{\"song_name\":\"x\",\"play_num\":1,"};
  };
  StartWith(kShareLink);
  w.Advance(7000 + 1'800'500);
  ASSERT_TRUE(CountdownShown());
  ASSERT_FALSE(state.shareId.empty());
  ASSERT_FALSE(state.lastSongRecord.empty());

  ASSERT_TRUE(w.PressEsc());
  EXPECT_FALSE(w.IsOpen());
  EXPECT_EQ(w.Log().back().kind, Kind::kExit);
  EXPECT_TRUE(state.shareId.empty());
  EXPECT_TRUE(state.lastSongRecord.empty());

  const std::size_t logged = w.Log().size();
  w.Advance(7'200'000);
  EXPECT_EQ(w.Log().size(), logged) << "no tick after the window is gone";
  EXPECT_FALSE(w.Click(Control::按钮1));
  EXPECT_FALSE(w.PressClose());
}

}  // namespace
}  // namespace morvane::testing
