// The unchanged program, end to end: one short boost cycle (pause ".05",
// three seconds) against a stand-in for the song-info host, reached by its
// real name through a hosts file of a private network namespace.
#include <QFile>
#include <QImage>
#include <QStringList>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/qt/screen_capture.h"
#include "tests/qt/window_fixture.h"

namespace morvane::qt_testing {
namespace {

struct Request {
  double at;  // seconds after the Start click
  QString host;
  QString path;
};

QString ReadFile(const QString& name) {
  QFile file(name);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

std::vector<Request> ReadRequests(const QString& out) {
  const double start = ReadFile(out + QStringLiteral("/start")).trimmed().toDouble();
  std::vector<Request> requests;
  for (const QString& line : ReadFile(out + QStringLiteral("/requests.log"))
                                 .split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
    const QStringList f = line.split(QLatin1Char(' '));
    if (f.size() == 3) requests.push_back({f[0].toDouble() - start, f[1], f[2]});
  }
  return requests;
}

// Whether two captures of the client area have the same pixels in a region.
bool SameRegion(const QImage& a, const QImage& b, const QRect& r) {
  for (int y = r.top(); y <= r.bottom(); ++y) {
    for (int x = r.left(); x <= r.right(); ++x) {
      if (a.pixel(x, y) != b.pixel(x, y)) return false;
    }
  }
  return true;
}

TEST(WholeProgram, ShortCycleAgainstAStandInForTheSongInfoHost) {
  if (qApp == nullptr) GTEST_SKIP() << "no X display (DISPLAY is not set)";
  const QString out = QStringLiteral(MORVANE_CYCLE_OUT);
  const std::string command =
      std::string("unshare --user --map-root-user --net --mount -- bash '") + MORVANE_CYCLE_SCRIPT +
      "' '" + MORVANE_BINARY + "' '" + MORVANE_CYCLE_OUT + "' >'" + MORVANE_CYCLE_OUT +
      ".log' 2>&1";
  const int status = std::system(command.c_str());
  ASSERT_EQ(status, 0) << ReadFile(out + QStringLiteral(".log")).toStdString();

  const std::vector<Request> requests = ReadRequests(out);
  ASSERT_FALSE(requests.empty());
  for (const Request& r : requests) {
    EXPECT_EQ(r.host, QStringLiteral("node.kg.qq.com"));
    EXPECT_EQ(r.path, QStringLiteral("/fcgi-bin/kg_ugc_getdetail?rnd=&g_tk=&callback="
                                     "jsopgetsonginfo&shareid=abcdefghij"));
  }
  // Burst: every 500 ms for 7 s after Start. Pause: 3 s counted down from
  // the end of the burst, then a poll every second until Esc.
  std::vector<double> burst, steady;
  for (const Request& r : requests) (r.at < 7.3 ? burst : steady).push_back(r.at);
  EXPECT_GE(burst.size(), 12u);
  EXPECT_LE(burst.size(), 14u);
  EXPECT_NEAR(burst.front(), 0.5, 0.3);
  for (std::size_t i = 1; i < burst.size(); ++i) EXPECT_NEAR(burst[i] - burst[i - 1], 0.5, 0.2);
  ASSERT_GE(steady.size(), 2u);
  EXPECT_NEAR(steady.front(), 11.0, 0.6) << "7 s of burst, 3 s of pause, then one second";
  for (std::size_t i = 1; i < steady.size(); ++i) EXPECT_NEAR(steady[i] - steady[i - 1], 1.0, 0.25);

  // The song's name as the program showed it, against the same text drawn
  // by this process's own window on the same display.
  const QImage before(out + QStringLiteral("/before.png"));
  const QImage shown(out + QStringLiteral("/steady.png"));
  ASSERT_FALSE(shown.isNull());
  ShownWindow reference;
  reference.window.WriteText(Control::透明标签12, "Stand-in Song");
  QTest::qWait(150);
  const QImage drawn = CaptureScreen(reference.window.widget()->geometry());
  drawn.save(out + QStringLiteral("/reference.png"));  // an artefact to compare by eye
  const QRect name = reference.window.widget(Control::透明标签12)->geometry();
  const QRect count = reference.window.widget(Control::透明标签11)->geometry();
  EXPECT_TRUE(SameRegion(shown, drawn, name)) << "the song's name is not shown";
  EXPECT_FALSE(SameRegion(shown, before, count)) << "the play count is not shown";
  EXPECT_TRUE(SameRegion(before, drawn, count)) << "the window did not start as it should";
}

}  // namespace
}  // namespace morvane::qt_testing
