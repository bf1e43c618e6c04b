// The Qt window in process, on Qt's offscreen platform: built from the
// control table, its input rules, the instructions toggle, Esc, and the
// program's events arriving through real widgets and timers.
#include <QCursor>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <array>
#include <functional>
#include <vector>

#include "app/main_window.h"
#include "app/texts.h"
#include "platform/qt/gbk_text.h"
#include "platform/qt/label.h"
#include "tests/qt/window_fixture.h"

namespace morvane::qt_testing {
namespace {

using WindowStart = WindowFixture;

TEST_F(WindowStart, EveryControlAsTheTableSays) {
  for (const ControlRow& row : kControls) {
    SCOPED_TRACE(std::string(row.name));
    QWidget* w = window.widget(row.id);
    if (row.kind == ControlKind::kTimer) {
      EXPECT_EQ(w, nullptr);
      EXPECT_FALSE(window.TimerRunning(row.id));
      EXPECT_EQ(window.TimerPeriod(row.id), 0);
      continue;
    }
    ASSERT_NE(w, nullptr);
    QWidget* parent = row.parent == Control::kNone ? window.widget() : window.widget(row.parent);
    EXPECT_EQ(w->parentWidget(), parent);
    EXPECT_EQ(w->geometry(), QRect(row.x, row.y, row.width, row.height));
    EXPECT_EQ(w->isVisibleTo(window.widget()), row.shownAtStart);
    EXPECT_EQ(window.ReadText(row.id), Text(row.initialText));
    if (auto* label = dynamic_cast<Label*>(w)) {
      EXPECT_EQ(w->cursor().shape(), row.handCursor ? Qt::PointingHandCursor : Qt::ArrowCursor);
      EXPECT_EQ(label->DisplayText(), ToQString(row.initialText));
      EXPECT_FALSE(label->autoFillBackground()) << "labels draw only their text";
      EXPECT_EQ(label->palette().color(QPalette::WindowText),
                QColor(row.textColor.r, row.textColor.g, row.textColor.b));
      EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
    }
  }
}

TEST_F(WindowStart, WindowCaptionSizePlaceAndLook) {
  QWidget* w = window.widget();
  EXPECT_EQ(w->windowTitle(),
            QStringLiteral("Morvane  ") + QString::fromLatin1(MORVANE_AUTHOR_SITE));
  // The outer size, the offscreen platform's own frame included.
  EXPECT_EQ(w->frameGeometry().size(), QSize(kWindowWidth, kCollapsedHeight));
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(w->frameGeometry().topLeft(),
            QPoint((screen.width() - kWindowWidth) / 2, (screen.height() - kCollapsedHeight) / 2));
  EXPECT_EQ(w->minimumSize(), w->maximumSize()) << "fixed size";
  EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(w->palette().color(QPalette::Window), QColor(236, 236, 236));

  const QFont address = window.widget(Control::编辑框1)->font();
  EXPECT_TRUE(address.bold());
  EXPECT_EQ(address.pixelSize(), 12);
  EXPECT_FALSE(window.widget(Control::编辑框2)->font().bold());
}

// Rows nearer the top of the table lie above: the countdown labels over the
// status labels they share the strip with, and every label over the group box.
TEST_F(WindowStart, StackingFollowsTheTable) {
  QWidget* w = window.widget();
  EXPECT_EQ(w->childAt(230, 122), window.widget(Control::透明标签12));
  EXPECT_EQ(w->childAt(40, 128), window.widget(Control::透明标签1));
  for (Control c : kCountdownGroup) window.SetVisible(c, true);
  EXPECT_EQ(w->childAt(150, 130), window.widget(Control::透明标签13));
  EXPECT_EQ(w->childAt(220, 130), window.widget(Control::透明标签2));
}

TEST_F(WindowStart, TabVisitsAddressPauseAndStartInTurn) {
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.widget()));
  EXPECT_EQ(QApplication::focusWidget(), window.widget(Control::编辑框1));
  for (Control next : {Control::编辑框2, Control::按钮1, Control::编辑框1}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.widget(next));
  }
}

using Toggle = WindowFixture;

TEST_F(Toggle, PressOnTheRedLabelExpandsThenCollapses) {
  QWidget* label = window.widget(Control::透明标签8);
  // Only the press: the toggle acts when the button goes down.
  const auto outer = [&] { return window.widget()->frameGeometry().size(); };
  QTest::mousePress(label, Qt::LeftButton);
  EXPECT_EQ(outer(), QSize(kWindowWidth, kExpandedHeight));
  EXPECT_EQ(window.ReadText(Control::透明标签8), Text(texts::kInstructionsOpen));
  QTest::mouseRelease(label, Qt::LeftButton);
  EXPECT_EQ(outer().height(), kExpandedHeight) << "the release does nothing";

  QTest::mousePress(label, Qt::RightButton);
  EXPECT_EQ(outer().height(), kExpandedHeight) << "only the left button counts";

  QTest::mouseClick(label, Qt::LeftButton);
  EXPECT_EQ(outer(), QSize(kWindowWidth, kCollapsedHeight));
  EXPECT_EQ(window.ReadText(Control::透明标签8), Text(texts::kInstructionsClosed));
}

// The offscreen platform puts a frame of its own around the window, so the
// client area is what is left of the outer size inside it.
TEST_F(Toggle, HeightIsTheOuterHeightAndKeepsTheTopLeftCorner) {
  const QRect before = window.widget()->frameGeometry();
  window.SetHeight(kExpandedHeight);
  const QRect after = window.widget()->frameGeometry();
  EXPECT_EQ(after, QRect(before.topLeft(), QSize(kWindowWidth, kExpandedHeight)));
  EXPECT_EQ(window.widget()->height(),
            kExpandedHeight - (after.height() - window.widget()->height()));
}

// Esc closes the window whatever has the focus and whatever the boost cycle
// is doing; afterwards no timer runs and no poll is made.
TEST(Escape, ClosesTheWindowInEveryState) {
  struct Case {
    const char* name;
    std::function<void(ShownWindow&)> setUp;
  };
  const auto focus = [](Control c) {
    return [c](ShownWindow& f) { f.window.widget(c)->setFocus(); };
  };
  const auto start = [](ShownWindow& f) {
    f.Type(Control::编辑框1, QString::fromLatin1(kShareAddress));
    QTest::mouseClick(f.window.widget(Control::按钮1), Qt::LeftButton);
  };
  const Case cases[] = {
      {"focus in the address box", focus(Control::编辑框1)},
      {"focus in the pause box", focus(Control::编辑框2)},
      {"focus on Start", focus(Control::按钮1)},
      {"expanded",
       [](ShownWindow& f) {
         QTest::mousePress(f.window.widget(Control::透明标签8), Qt::LeftButton);
       }},
      {"burst", start},
      {"countdown",
       [start](ShownWindow& f) {
         start(f);
         OnTimerTick(f.program, Control::时钟3);  // the burst ends
         OnTimerTick(f.program, Control::时钟2);  // the first second of the pause
         f.window.widget(Control::编辑框1)->setFocus();
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ShownWindow f;
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.window.widget()));
    c.setUp(f);
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);

    QTest::keyClick(focused, Qt::Key_Escape, Qt::ShiftModifier);
    QTest::keyClick(focused, Qt::Key_Escape, Qt::ControlModifier);
    EXPECT_TRUE(f.window.widget()->isVisible()) << "Esc with a modifier is not Esc";

    QTest::keyClick(focused, Qt::Key_Escape);
    EXPECT_FALSE(f.window.widget()->isVisible());
    EXPECT_FALSE(f.AnyTimerRunning());
    const std::size_t polls = f.http.exchanges.size();
    QTest::qWait(600);
    EXPECT_EQ(f.http.exchanges.size(), polls) << "no tick after the window closed";
  }
}

using PauseBox = WindowFixture;

// The pause box holds at most three bytes counted in GBK; a Chinese
// character takes two, any character is accepted, and an insertion that
// does not fit is cut from its end.
TEST_F(PauseBox, HoldsAtMostThreeGbkBytes) {
  struct Case {
    const char* name;
    QString typed;     // typed key by key into the emptied box
    QString inserted;  // then inserted at once (as a paste), at the caret
    Text want;
  };
  const Case cases[] = {
      {"a fourth letter is refused", QStringLiteral("abcd"), {}, "abc"},
      {"a character and a letter fit",
       QStringLiteral("\u4e2da"),
       {},
       "\xd6\xd0"
       "a"},
      {"a second character does not", QStringLiteral("\u4e2d\u4e2d"), {}, "\xd6\xd0"},
      {"a letter then a character", QStringLiteral("1\u4e2d"), {}, "1\xd6\xd0"},
      {"two letters leave no room for a character", QStringLiteral("ab\u4e2d"), {}, "ab"},
      {"a long paste is cut to fit", {}, QStringLiteral("12345"), "123"},
      {"a paste after a character", QStringLiteral("\u4e2d"), QStringLiteral("xyz"), "\xd6\xd0x"},
      {"a character GBK lacks takes a byte per UTF-16 unit",
       QStringLiteral("a\U0001F600"),
       {},
       "a?"
       "?"},
      {"and is refused whole when it does not fit", QStringLiteral("ab\U0001F600"), {}, "ab"},
  };
  auto* box = Widget<QLineEdit>(Control::编辑框2);
  ASSERT_NE(box, nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Type(Control::编辑框2, c.typed);
    if (!c.inserted.isEmpty()) box->insert(c.inserted);
    EXPECT_EQ(window.ReadText(Control::编辑框2), c.want);
  }
}

TEST_F(PauseBox, ATypedCharacterThatDoesNotFitLeavesTheTextAsItWas) {
  auto* box = Widget<QLineEdit>(Control::编辑框2);
  box->setFocus();
  box->setCursorPosition(1);
  TypeKeys(box, QStringLiteral("\u4e2d"));  // "6中0" would be 4 bytes
  EXPECT_EQ(window.ReadText(Control::编辑框2), Text("60"));
  TypeKeys(box, QStringLiteral("5"));
  EXPECT_EQ(window.ReadText(Control::编辑框2), Text("650"));
}

using AddressBox = WindowFixture;

TEST_F(AddressBox, EnterInsertsALineBreakAndPressesNothing) {
  Type(Control::编辑框1, QString::fromLatin1(kShareAddress));
  QWidget* box = window.widget(Control::编辑框1);
  QTest::keyClick(box, Qt::Key_Return);
  TypeKeys(box, QStringLiteral("x"));
  QTest::keyClick(box, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(window.ReadText(Control::编辑框1), Text(std::string(kShareAddress) + "\r\nx\r\n"));
  EXPECT_EQ(QApplication::focusWidget(), box) << "Enter does not move the focus";

  for (Control c : {Control::编辑框2, Control::按钮1}) {
    window.widget(c)->setFocus();
    QTest::keyClick(window.widget(c), Qt::Key_Return);
  }
  EXPECT_FALSE(AnyTimerRunning()) << "Start was pressed by Enter";
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(AddressBox, KeepsPastedLineBreaksAsCrLfAndWrapsLongLines) {
  auto* box = Widget<QPlainTextEdit>(Control::编辑框1);
  box->insertPlainText(QStringLiteral("a\r\nb\nc"));
  EXPECT_EQ(window.ReadText(Control::编辑框1), Text("a\r\nb\r\nc"));

  box->setPlainText(QString(200, QLatin1Char('w')));
  EXPECT_EQ(box->horizontalScrollBar()->maximum(), 0) << "a long line wraps at the width";
  EXPECT_FALSE(box->verticalScrollBar()->isVisible());
}

// Texts cross the window boundary as GBK: what the user types arrives as
// GBK bytes, and what the program writes is shown as the characters those
// bytes stand for, and read back byte for byte.
TEST_F(AddressBox, TextsCrossTheBoundaryAsGbk) {
  Type(Control::编辑框1, QStringLiteral("\u4e2d\u6587\U0001F600!"));
  EXPECT_EQ(window.ReadText(Control::编辑框1), Text("\xd6\xd0\xce\xc4?"
                                                    "?!"));

  const Text written(
      "\xb8\xe8\xc7\xfa \x80 \xa1\xa1");  // 歌曲, the euro sign, an ideographic space
  window.WriteText(Control::透明标签12, written);
  EXPECT_EQ(window.ReadText(Control::透明标签12), written);
  EXPECT_EQ(dynamic_cast<Label*>(window.widget(Control::透明标签12))->DisplayText(),
            QStringLiteral("\u6b4c\u66f2 \u20ac \u3000"));
}

using Cycle = WindowFixture;

TEST_F(Cycle, StartShowsTheSongNameAndPlayCountOfTheFirstPoll) {
  Type(Control::编辑框1, QString::fromLatin1(kShareAddress));
  QTest::mouseClick(window.widget(Control::按钮1), Qt::LeftButton);
  EXPECT_TRUE(window.TimerRunning(Control::时钟1));
  EXPECT_TRUE(window.TimerRunning(Control::时钟3));

  ASSERT_TRUE(QTest::qWaitFor([&] { return !http.exchanges.empty(); }, 2000));
  EXPECT_EQ(http.exchanges[0].path,
            "/fcgi-bin/kg_ugc_getdetail?rnd=&g_tk=&callback=jsopgetsonginfo&shareid=abcdefghij");
  EXPECT_EQ(window.ReadText(Control::透明标签12), Text("\xb2\xe2\xca\xd4 Song"));  // 测试 Song
  EXPECT_EQ(window.ReadText(Control::透明标签11), Text("1234"));
  EXPECT_EQ(dynamic_cast<Label*>(window.widget(Control::透明标签12))->DisplayText(),
            QStringLiteral("\u6d4b\u8bd5 Song"));
}

// The message box of a refused Start: caption, text, one OK button, no
// icon, skinned like every other push button; the burst goes on behind it.
TEST_F(Cycle, MessageBoxKeepsTheTimersTicking) {
  Type(Control::编辑框1, QString::fromLatin1(kShareAddress));
  QTest::mouseClick(window.widget(Control::按钮1), Qt::LeftButton);
  Type(Control::编辑框1, QString());

  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    seen = true;
    EXPECT_EQ(box->windowTitle(), ToQString(texts::kMessageCaption));
    EXPECT_EQ(box->text(), ToQString(texts::kEnterAddress));
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(box->parentWidget(), nullptr) << "the box has no owner";
    const QImage ok = box->button(QMessageBox::Ok)->grab().toImage();
    EXPECT_EQ(ok.pixelColor(ok.width() / 2, 0), QColor(164, 185, 127));

    const std::size_t before = http.exchanges.size();
    QTest::qWait(1300);
    EXPECT_GE(http.exchanges.size(), before + 2) << "polls go on while the box waits";
    box->button(QMessageBox::Ok)->click();
  });
  QTest::mouseClick(window.widget(Control::按钮1), Qt::LeftButton);
  EXPECT_TRUE(seen) << "no message box was shown";
  EXPECT_TRUE(window.TimerRunning(Control::时钟1));
}

// The skin frames both edit boxes with one pixel of the scheme's colour
// and one of the window colour inside it, and draws the button and the
// group box in it too; a style outside 1..3 switches it off.
TEST_F(WindowStart, ControlSkinDrawsTheSchemeFrames) {
  struct Case {
    int style;
    QColor frame;
  };
  const Case cases[] = {
      {1, QColor(123, 158, 189)}, {2, QColor(164, 185, 127)}, {3, QColor(198, 197, 215)}};
  const auto topMiddle = [&](Control c, int dy) {
    const QImage image = window.widget(c)->grab().toImage();
    return image.pixelColor(image.width() / 2, dy);
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    window.ApplyControlSkin(c.style);
    for (Control edit : {Control::编辑框1, Control::编辑框2}) {
      EXPECT_EQ(topMiddle(edit, 0), c.frame);
      EXPECT_EQ(topMiddle(edit, 1), QColor(Qt::white)) << "the window colour inside the frame";
    }
    EXPECT_EQ(topMiddle(Control::按钮1, 0), c.frame);
    const QImage group = window.widget(Control::分组框1)->grab().toImage();
    EXPECT_EQ(group.pixelColor(group.width() / 2, group.height() - 1), c.frame);
  }
  for (int off : {0, 4, -1}) {
    window.ApplyControlSkin(off);
    for (const Case& c : cases) EXPECT_NE(topMiddle(Control::编辑框1, 0), c.frame);
  }
}

// A tick that falls due while a handler blocks the thread comes once
// afterwards: ticks never pile up behind a slow poll.
TEST(Timers, ATickMissedWhileBlockedIsDeliveredOnce) {
  QtWindow window;
  QElapsedTimer clock;
  std::vector<qint64> ticks;
  window.SetEvents({{},
                    [&](Control) {
                      ticks.push_back(clock.elapsed());
                      if (ticks.size() == 2) QTest::qSleep(200);  // a slow request
                    },
                    {}});
  clock.start();
  window.SetTimerPeriod(Control::时钟1, 20);
  QTest::qWait(400);
  window.SetTimerPeriod(Control::时钟1, 0);
  ASSERT_GE(ticks.size(), 4u);
  for (std::size_t i = 2; i + 1 < ticks.size(); ++i) {
    EXPECT_GE(ticks[i + 1] - ticks[i], 10) << "ticks " << i << " and " << i + 1 << " piled up";
  }
  EXPECT_LE(ticks.size(), 14u);
}

}  // namespace
}  // namespace morvane::qt_testing
