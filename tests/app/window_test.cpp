// The window as data, start-up, the window operations' rules, the
// instructions toggle and the author link.
#include <gtest/gtest.h>

#include <set>

#include "app/main_window.h"
#include "tests/app/app_fixture.h"

namespace morvane::testing {
namespace {

TEST(ControlTable, EachControlHasOneRowAndLabelsLieAboveTheGroupBox) {
  std::set<Control> seen;
  std::size_t groupBoxRow = 0;
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    const ControlRow& row = kControls[i];
    SCOPED_TRACE(std::string(row.name));
    EXPECT_TRUE(seen.insert(row.id).second) << "two rows for one control";
    EXPECT_EQ(&RowOf(row.id), &row);
    if (row.id == Control::分组框1) groupBoxRow = i;
  }
  EXPECT_EQ(seen.size(), static_cast<std::size_t>(Control::kNone));
  // Earlier rows lie above later ones: every label is drawn over the box.
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    if (kControls[i].kind == ControlKind::kLabel) {
      EXPECT_LT(i, groupBoxRow) << kControls[i].name;
    }
  }
  // The tab stops are exactly the controls of the tab order.
  std::set<Control> tabStops;
  for (const ControlRow& row : kControls) {
    if (row.tabStop) tabStops.insert(row.id);
  }
  EXPECT_EQ(tabStops, std::set<Control>(kTabOrder.begin(), kTabOrder.end()));
  for (Control c : kStatusGroup) EXPECT_EQ(RowOf(c).kind, ControlKind::kLabel);
  for (Control c : kCountdownGroup) EXPECT_EQ(RowOf(c).kind, ControlKind::kLabel);
}

TEST_F(AppTest, StartsQuietlyWithTheWindowAsDesigned) {
  // The skin goes on in the created event, before the window is shown, and
  // nothing else happens.
  ASSERT_EQ(w.Log().size(), 2u);
  EXPECT_EQ(w.Log()[0].kind, SimOp::Kind::kApplySkin);
  EXPECT_EQ(w.Log()[0].value, 2);
  EXPECT_EQ(w.Log()[1].kind, SimOp::Kind::kShowWindow);

  EXPECT_EQ(w.Height(), 187);
  EXPECT_EQ(w.Left(), (SimWindow::kScreenWidth - 457) / 2);
  EXPECT_EQ(w.Top(), (SimWindow::kScreenHeight - 187) / 2);
  EXPECT_EQ(w.TextOf(Control::透明标签12), Text(texts::kNotStarted));
  EXPECT_EQ(w.TextOf(Control::透明标签11), Text(texts::kNotStarted));
  EXPECT_EQ(w.TextOf(Control::编辑框2), Text("60"));
  EXPECT_EQ(w.TextOf(Control::编辑框1), Text());
  for (Control c : kStatusGroup) EXPECT_TRUE(w.IsVisible(c));
  for (Control c : kCountdownGroup) EXPECT_FALSE(w.IsVisible(c));
  for (Control t : {Control::时钟1, Control::时钟2, Control::时钟3}) EXPECT_EQ(Period(t), 0);

  w.Advance(3'600'000);
  EXPECT_EQ(w.Log().size(), 2u) << "no tick and no request without Start";
  EXPECT_TRUE(http.exchanges.empty());
}

TEST_F(AppTest, TimerPeriodRules) {
  w.SetTimerPeriod(Control::时钟1, 1000);
  w.Advance(300);
  w.SetTimerPeriod(Control::时钟1, 1000);  // same period: keeps its rhythm
  w.Advance(1000);                         // now 1300
  w.SetTimerPeriod(Control::时钟1, 500);   // new period: restarts from now
  w.Advance(1000);                         // now 2300
  w.SetTimerPeriod(Control::时钟1, -5);    // negative: stopped
  EXPECT_EQ(Period(Control::时钟1), 0);
  w.Advance(5000);
  w.SetTimerPeriod(Control::时钟1, 0);  // stopped stays stopped, untouched

  EXPECT_EQ(w.TickTimes(Control::时钟1), (std::vector<SimTime>{1000, 1800, 2300}));
  std::vector<int> applied;
  for (const SimOp& op : w.LogOf(SimOp::Kind::kSetTimer, Control::时钟1)) {
    applied.push_back(op.value);
  }
  EXPECT_EQ(applied, (std::vector<int>{1000, 500, 0}));
}

TEST_F(AppTest, HeightIsClamped) {
  const struct {
    int asked, got;
  } kCases[] = {{-5, 0}, {0, 0}, {370, 370}, {32627, 32627}, {40000, 32627}};
  for (const auto& c : kCases) {
    w.SetHeight(c.asked);
    EXPECT_EQ(w.Height(), c.got) << c.asked;
  }
}

TEST_F(AppTest, InstructionsToggleAndAuthorLink) {
  EXPECT_FALSE(w.PressLabel(Control::透明标签10)) << "out of view while collapsed";

  ASSERT_TRUE(w.PressLabel(Control::透明标签8));
  EXPECT_EQ(w.Height(), 370);
  EXPECT_EQ(w.TextOf(Control::透明标签8), Text(texts::kInstructionsOpen));
  const std::vector<SimOp>& log = w.Log();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2].kind, SimOp::Kind::kSetHeight) << "height first, then the text";

  // One press, one open request (the address used to be opened twice).
  ASSERT_TRUE(w.PressLabel(Control::透明标签10));
  const std::vector<SimOp> opened = w.LogOf(SimOp::Kind::kOpenAddress);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].text, kAuthorSiteAddress);

  ASSERT_TRUE(w.PressLabel(Control::透明标签8));
  EXPECT_EQ(w.Height(), 187);
  EXPECT_EQ(w.TextOf(Control::透明标签8), Text(texts::kInstructionsClosed));

  // Any other text of the toggle changes nothing.
  w.WriteText(Control::透明标签8, "x");
  ASSERT_TRUE(w.PressLabel(Control::透明标签8));
  EXPECT_EQ(w.Height(), 187);
  EXPECT_EQ(w.TextOf(Control::透明标签8), Text("x"));
}

// A check of the simulated window itself: its pause box must keep three GBK
// bytes as the real windows do, or the cycle tests that type into it would
// prove nothing about the pause.
TEST_F(AppTest, SimulatedPauseBoxKeepsThreeBytesLikeTheRealWindows) {
  const struct {
    const char* typed;
    const char* kept;
  } kCases[] = {
      {"1234", "123"},
      {"abc", "abc"},
      {"1\xa3\xb1\xa3\xb2", "1\xa3\xb1"},  // a two-byte character counts twice
      {"12\xa3\xb1", "12"},                // and does not fit in the last byte
  };
  for (const auto& c : kCases) {
    ASSERT_TRUE(w.Type(Control::编辑框2, c.typed));
    EXPECT_EQ(w.TextOf(Control::编辑框2), Text(c.kept)) << c.typed;
  }
}

}  // namespace
}  // namespace morvane::testing
