// The window on a real X display: captures of it collapsed, expanded and
// with the message box, saved as artefacts, and the colours the look asks
// for read back from the screen. The author link opens the browser.
#include <QAbstractButton>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdlib>
#include <optional>

#include "app/main_window.h"
#include "tests/qt/screen_capture.h"
#include "tests/qt/window_fixture.h"

namespace morvane::qt_testing {
namespace {

const QColor kSkinFrame(164, 185, 127);

// The window is made only once a display is known to be there.
class OnScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    if (qApp == nullptr) GTEST_SKIP() << "no X display (DISPLAY is not set)";
    shown_.emplace();
  }
  std::optional<ShownWindow> shown_;
};

// Pixels of a text colour inside a control's rectangle in a window capture.
// Text is smoothed against the background, so a pixel counts when every
// channel lies within 40 of the colour: at least 5/6 covered by a stroke.
int ColouredPixels(const QImage& capture, const QWidget* window, const QWidget* control,
                   QColor colour) {
  const QRect area = control->geometry().translated(ClientOrigin(window));
  return CountPixels(capture, area, [&](QColor c) {
    return std::abs(c.red() - colour.red()) <= 40 && std::abs(c.green() - colour.green()) <= 40 &&
           std::abs(c.blue() - colour.blue()) <= 40;
  });
}

QColor ClientPixel(const QImage& capture, const QWidget* window, int x, int y) {
  return capture.pixelColor(QPoint(x, y) + ClientOrigin(window));
}

TEST_F(OnScreen, CollapsedAndExpandedWindowShowTheirColours) {
  QtWindow& window = shown_->window;
  QWidget* w = window.widget();
  const QImage collapsed = CaptureWindow(w);
  ASSERT_TRUE(collapsed.save(ScreenshotPath(QStringLiteral("linux-collapsed.png"))));

  EXPECT_EQ(ClientPixel(collapsed, w, 6, 6), QColor(236, 236, 236)) << "background";
  for (Control edit : {Control::编辑框1, Control::编辑框2}) {
    const QRect r = window.widget(edit)->geometry();
    const int middle = r.x() + r.width() / 2;
    EXPECT_EQ(ClientPixel(collapsed, w, middle, r.top()), kSkinFrame);
    EXPECT_EQ(ClientPixel(collapsed, w, middle, r.bottom()), kSkinFrame);
    EXPECT_EQ(ClientPixel(collapsed, w, r.left(), r.y() + r.height() / 2), kSkinFrame);
    EXPECT_EQ(ClientPixel(collapsed, w, middle, r.top() + 1), QColor(Qt::white));
  }
  EXPECT_GE(ColouredPixels(collapsed, w, window.widget(Control::透明标签8), QColor(255, 0, 0)), 10)
      << "the instructions toggle is written in red";

  QTest::mousePress(window.widget(Control::透明标签8), Qt::LeftButton);
  const QImage expanded = CaptureWindow(w);
  ASSERT_TRUE(expanded.save(ScreenshotPath(QStringLiteral("linux-expanded.png"))));
  EXPECT_EQ(expanded.height() - collapsed.height(), kExpandedHeight - kCollapsedHeight);
  EXPECT_GE(ColouredPixels(expanded, w, window.widget(Control::透明标签10), QColor(255, 0, 255)),
            10)
      << "the author link is written in magenta";
  EXPECT_GE(ColouredPixels(expanded, w, window.widget(Control::透明标签9), QColor(0, 0, 0)), 100)
      << "the instructions are drawn";
  EXPECT_EQ(ColouredPixels(expanded, w, window.widget(Control::透明标签9), QColor(255, 0, 0)), 0);
}

TEST_F(OnScreen, MessageBoxOverTheWindow) {
  QtWindow& window = shown_->window;
  shown_->Type(Control::编辑框1, QString());
  bool captured = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    EXPECT_TRUE(QTest::qWaitForWindowExposed(box));
    QAbstractButton* ok = box->button(QMessageBox::Ok);
    const QRect both = window.widget()->frameGeometry().united(box->frameGeometry());
    QTest::qWait(150);
    const QImage capture = CaptureScreen(both);
    captured = capture.save(ScreenshotPath(QStringLiteral("linux-message.png")));
    const QPoint okTop = ok->mapToGlobal(QPoint(ok->width() / 2, 0)) - both.topLeft();
    // The focused button's frame is the scheme colour, a shade darker.
    const QColor frame = capture.pixelColor(okTop);
    const auto near = [&](QColor c) {
      return std::abs(frame.red() - c.red()) <= 2 && std::abs(frame.green() - c.green()) <= 2 &&
             std::abs(frame.blue() - c.blue()) <= 2;
    };
    EXPECT_TRUE(near(kSkinFrame) || near(kSkinFrame.darker(125)))
        << "the OK button is not skinned: " << frame.name().toStdString();
    ok->click();
  });
  QTest::mouseClick(window.widget(Control::按钮1), Qt::LeftButton);
  EXPECT_TRUE(captured);
}

// One press on the author link opens the author's site, as an http
// address, in the desktop's browser; the window does not wait for it.
TEST_F(OnScreen, AuthorLinkOpensTheSiteInTheBrowserWithoutWaiting) {
  QtWindow& window = shown_->window;
  QTemporaryDir bin;
  ASSERT_TRUE(bin.isValid());
  const QString log = bin.filePath(QStringLiteral("opened"));
  QFile opener(bin.filePath(QStringLiteral("xdg-open")));
  ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
  opener.write(QStringLiteral("#!/bin/sh\nexec </dev/null >/dev/null 2>&1\n"
                              "printf '%s|' \"$@\" >> '%1'\necho >> '%1'\nsleep 5\n")
                   .arg(log)
                   .toUtf8());
  opener.close();
  opener.setPermissions(opener.permissions() | QFile::ExeOwner);
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", bin.path().toUtf8() + ':' + path);

  QTest::mousePress(window.widget(Control::透明标签8), Qt::LeftButton);
  QElapsedTimer clock;
  clock.start();
  QTest::mousePress(window.widget(Control::透明标签10), Qt::LeftButton);
  EXPECT_LT(clock.elapsed(), 2000) << "the window waited for the browser";
  qputenv("PATH", path);

  QFile opened(log);
  ASSERT_TRUE(QTest::qWaitFor([&] { return opened.exists() && opened.size() > 0; }, 5000));
  QTest::qWait(200);
  ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(opened.readAll()),
            QStringLiteral("http://%1|\n").arg(QLatin1String(kAuthorSiteAddress)));
}

}  // namespace
}  // namespace morvane::qt_testing
