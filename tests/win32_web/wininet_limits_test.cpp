// The time limits that keep a bad server from freezing the window, set
// short so that the suite stays quick. These tests wait in real time on
// purpose.
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
// Thread hand-over and Wine's own scheduling on a busy machine.
constexpr int kSlackMs = 1000;

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

}  // namespace
}  // namespace morvane
