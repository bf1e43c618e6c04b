// The soak: the real program polls through the simulated window against a
// loopback server whose answers go round good, empty, garbage and failed.
// It checks every poll's labels, reports peak resident memory after 10,000
// polls and at the end, and fails when the two differ by more than 1 MiB.
// Built with -fsanitize=address, LeakSanitizer checks at exit that nothing
// was left behind.
//
//   app_soak [polls]     default 100000; stops by itself
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/soak/soak_server.h"
#include "platform/posix/curl_client.h"
#include "tests/app/platform_client.h"
#include "tests/support/sim_window.h"

namespace morvane::testing {
namespace {

constexpr char kShareLink[] = "https://kg.qq.com/node/play?s=AbC123&shareuid=63a1&topsource=a0";
constexpr char kRequestLine[] =
    "GET /fcgi-bin/kg_ugc_getdetail?rnd=&g_tk=&callback=jsopgetsonginfo&shareid=AbC123 HTTP/1.1";
constexpr long kCheckpoint = 10'000;
constexpr long kAllowedGrowthKiB = 1024;

std::string Response(const std::string& body) {
  return "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\n"
         "Content-Length: " +
         std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::string Answer(int i) {
  switch (i % 4) {
    case 0:
      return Response(
          "jsopgetsonginfo({\"code\":0,\"data\":{\"song_name\":\"\xe6\xb5\x8b\xe8\xaf\x95"
          "\xf0\x9f\x8e\xa4\",\"play_num\":" +
          std::to_string(i) + ",\"ugc_id\":\"u\"}})");
    case 1:
      return Response("");
    case 2:
      return Response(std::string("\xff\xfe\xed\xa0\x80<html>\0\xe6\xb5", 15) +
                      std::string(static_cast<std::size_t>(i % 97), '\x80'));
    default:
      return {};  // the connection closes without a response
  }
}

long PeakRssKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

int Run(long polls) {
  SoakServer server(Answer, kRequestLine);
  CurlHttpClient curl;
  LoopbackClient client(curl, server.port());
  SimProgram sim(client);
  SimWindow& w = sim.window;
  w.LimitLog(0);

  w.Type(Control::编辑框2, "0");  // one countdown tick, then a poll every second
  w.Type(Control::编辑框1, kShareLink);
  w.Click(Control::按钮1);

  const std::string goodName = "\xb2\xe2\xca\xd4??";  // the emoji is two UTF-16 units
  long wrong = 0;
  long peakAtCheckpoint = 0;
  const auto start = std::chrono::steady_clock::now();
  int seen = 0;
  // A poll a simulated second: four times that many half-second steps is
  // ample, and the run stops even if requests stop reaching the server.
  for (long steps = 4 * polls + 100; server.served() < polls && steps > 0; --steps) {
    w.Advance(500);
    const int served = server.served();
    if (served == seen) continue;
    if (served != seen + 1) ++wrong;
    seen = served;
    const int i = served - 1;
    const bool good = i % 4 == 0;
    if (w.TextOf(Control::透明标签12) != Text(good ? goodName : std::string()) ||
        w.TextOf(Control::透明标签11) != Text(good ? std::to_string(i) : std::string())) {
      ++wrong;
    }
    if (served == kCheckpoint) peakAtCheckpoint = PeakRssKiB();
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const long peakAtEnd = PeakRssKiB();

  std::printf("polls: %d in %.1f s (%.0f us each)\n", seen, seconds, seconds * 1e6 / seen);
  std::printf("peak RSS after %ld polls: %ld KiB\n", kCheckpoint, peakAtCheckpoint);
  std::printf("peak RSS after %d polls: %ld KiB (growth %ld KiB, allowed %ld)\n", seen, peakAtEnd,
              peakAtEnd - peakAtCheckpoint, kAllowedGrowthKiB);
  std::printf("polls showing wrong values: %ld; unexpected request lines: %d\n", wrong,
              server.unexpected());
  const bool flat = polls <= kCheckpoint || peakAtEnd - peakAtCheckpoint <= kAllowedGrowthKiB;
  const bool complete = seen >= polls;
  if (!complete)
    std::printf("stopped after %d of %ld polls: requests stopped arriving\n", seen, polls);
  return complete && flat && wrong == 0 && server.unexpected() == 0 ? 0 : 1;
}

}  // namespace
}  // namespace morvane::testing

int main(int argc, char** argv) {
  const long polls = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 100'000;
  return morvane::testing::Run(polls > 0 ? polls : 100'000);
}
