// The time limits that keep a bad server from freezing the window, set
// short so that the suite stays quick. These tests wait in real time on
// purpose.
#include <windows.h>

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/win32/wininet_client.h"
#include "tests/support/http_test_server.h"
#include "web/web_request.h"

namespace morvane {
namespace {

using testing::HttpResponse;
using testing::HttpTestServer;
using testing::Reply;
using testing::UnansweredPort;

constexpr int kConnectMs = 400;
constexpr int kExchangeMs = 1500;
// Thread hand-over and Wine's own scheduling on a busy machine (the
// suites run side by side on two cores); a hang would last minutes.
constexpr int kSlackMs = 2000;

template <typename F>
long long MillisecondsOf(F&& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start)
      .count();
}

TEST(WinInetLimits, NoExchangeOutlastsItsTimeLimit) {
  const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n";
  struct Case {
    const char* what;
    Reply reply;
  };
  const Case cases[] = {
      {"no answer at all", Reply().Silence()},
      {"status line cut short", Reply("HTTP/1.1 200").Silence()},
      {"body stops half-way", Reply(head + "abc").Silence()},
      {"body drips past the limit", Reply(head).Drip(std::string(100, 'x'), 50)},
  };
  WinInetHttpClient client(kConnectMs, kExchangeMs);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HttpTestServer server(c.reply);
    Bytes body;
    const long long ms =
        MillisecondsOf([&] { body = WebRequest(client, Text(server.Url().c_str())); });
    EXPECT_LT(ms, kExchangeMs + kSlackMs);
    EXPECT_GE(ms, kExchangeMs - 100) << "gave up before the server had stalled long enough";
    EXPECT_NE(body.view(), std::string(100, 'x'));
  }
  // The late calls hold nothing the next exchange needs.
  HttpTestServer good(Reply(HttpResponse("200 OK", {}, "fine")));
  EXPECT_EQ(WebRequest(client, Text(good.Url().c_str())).view(), "fine");
}

// Wine ignores the connect time-out and would wait about two minutes for a
// handshake that never completes; the exchange limit still holds.
TEST(WinInetLimits, UnansweredConnectEndsWithinTheExchangeLimit) {
  UnansweredPort port;
  WinInetHttpClient client(kConnectMs, kExchangeMs);
  Bytes body;
  const long long ms = MillisecondsOf([&] { body = WebRequest(client, Text(port.Url().c_str())); });
  EXPECT_LT(ms, kExchangeMs + kSlackMs);
  EXPECT_TRUE(body.empty());
}

int ThreadsOfThisProcess() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  int count = 0;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

// Threads end on their own, so this waits (a bounded while) for the count.
bool ThreadsComeDownTo(int limit) {
  for (int i = 0; i < 100; ++i) {
    if (ThreadsOfThisProcess() <= limit) return true;
    Sleep(20);
  }
  return false;
}

// The thread count once it has stopped changing, so threads of the warm-up
// that are still ending do not raise the baseline (a bounded wait).
int SettledThreadCount() {
  int last = ThreadsOfThisProcess();
  for (int i = 0; i < 25; ++i) {
    Sleep(200);
    const int now = ThreadsOfThisProcess();
    if (now == last) return now;
    last = now;
  }
  return last;
}

// The program makes an exchange a second for hours: worker threads must
// not pile up, and one stuck in an abandoned call must end once the call
// returns.
TEST(WinInetLimits, WorkerThreadsDoNotPileUp) {
  WinInetHttpClient client(kConnectMs, kExchangeMs);
  {
    HttpTestServer warmUp(Reply(HttpResponse("200 OK", {}, "ok")));
    (void)WebRequest(client, Text(warmUp.Url().c_str()));
  }
  const int baseline = SettledThreadCount();
  {
    HttpTestServer server(Reply(HttpResponse("200 OK", {}, "ok")));
    for (int i = 0; i < 30; ++i)
      EXPECT_EQ(WebRequest(client, Text(server.Url().c_str())).view(), "ok");
  }
  EXPECT_TRUE(ThreadsComeDownTo(baseline)) << ThreadsOfThisProcess() << " > " << baseline;
  {
    // Stopping the server ends the call the client has given up on.
    HttpTestServer silent(Reply().Silence());
    EXPECT_TRUE(WebRequest(client, Text(silent.Url().c_str())).empty());
  }
  HttpTestServer server(Reply(HttpResponse("200 OK", {}, "ok")));
  EXPECT_EQ(WebRequest(client, Text(server.Url().c_str())).view(), "ok");
  EXPECT_TRUE(ThreadsComeDownTo(baseline)) << ThreadsOfThisProcess() << " > " << baseline;
}

}  // namespace
}  // namespace morvane
