// Input made on the X display while a poll blocks the thread goes before
// the tick that fell due meanwhile: a key press or click waits for the poll
// under way, never for one more. The input is sent with xdotool during the
// first poll, which then blocks past the next tick's due time, as a slow
// server makes it.
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/qt/window_fixture.h"

namespace morvane::qt_testing {
namespace {

class SlowPoll : public ::testing::Test {
 protected:
  void SetUp() override {
    if (qApp == nullptr) GTEST_SKIP() << "no X display (DISPLAY is not set)";
    shown_.emplace();
    ASSERT_TRUE(QTest::qWaitForWindowActive(shown_->window.widget()));
    shown_->Type(Control::编辑框1, QString::fromLatin1(kShareAddress));
    shown_->http.answer = [this](const testing::FakeExchange&) {
      boxOpenAtPoll_.push_back(QApplication::activeModalWidget() != nullptr);
      if (boxOpenAtPoll_.size() == 1) {
        EXPECT_EQ(std::system(input_.c_str()), 0) << input_;
        QTest::qSleep(700);
      }
      return testing::FakeAnswer{kSongRecord};
    };
  }
  // The xdotool command run during the first poll.
  void InputDuringTheFirstPoll(const std::string& xdotoolArguments) {
    input_ = "xdotool " + xdotoolArguments;
  }
  [[nodiscard]] std::string ClickOn(Control control) const {
    QWidget* w = shown_->window.widget(control);
    const QPoint at = w->mapToGlobal(w->rect().center());
    return "mousemove --sync " + std::to_string(at.x()) + " " + std::to_string(at.y()) + " click 1";
  }
  void Start() { QTest::mouseClick(shown_->window.widget(Control::按钮1), Qt::LeftButton); }

  std::optional<ShownWindow> shown_;
  std::vector<bool> boxOpenAtPoll_;  // one entry a poll

 private:
  std::string input_;
};

TEST_F(SlowPoll, EscEndsTheWindowWithoutOneMorePoll) {
  InputDuringTheFirstPoll("key Escape");
  Start();
  QTest::qWait(1800);
  EXPECT_FALSE(shown_->window.widget()->isVisible());
  EXPECT_EQ(boxOpenAtPoll_.size(), 1u) << "a tick ran before the Esc pressed during the poll";
}

// A refused Start clicked during the poll opens its box before the waiting
// tick runs; the polls go on behind the box, the waiting one first.
TEST_F(SlowPoll, RefusedStartOpensItsBoxFirstAndPollsGoOnBehindIt) {
  InputDuringTheFirstPoll(ClickOn(Control::按钮1));
  bool boxSeen = false;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    watch.stop();
    boxSeen = true;
    QTest::qWait(1300);
    box->button(QMessageBox::Ok)->click();
  });
  Start();
  // The click finds the address box empty: Start refuses and says so.
  shown_->Widget<QPlainTextEdit>(Control::编辑框1)->clear();
  watch.start(10);
  ASSERT_TRUE(QTest::qWaitFor([&] { return boxSeen && !watch.isActive(); }, 4000))
      << "no message box was shown";
  ASSERT_GE(boxOpenAtPoll_.size(), 2u);
  EXPECT_TRUE(boxOpenAtPoll_[1]) << "a tick ran before the click made during the poll";
  EXPECT_GE(std::count(boxOpenAtPoll_.begin(), boxOpenAtPoll_.end(), true), 3)
      << "the polls stopped behind the box";
}

}  // namespace
}  // namespace morvane::qt_testing
