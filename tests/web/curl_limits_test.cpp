// The libcurl client's time limits against servers that never finish. These
// take real time on purpose: most run with shortened limits, one with the
// limits the program uses.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <netdb.h>

#include <chrono>
#include <string>
#include <string_view>
#include <thread>

#include "platform/posix/curl_client.h"
#include "tests/support/http_test_server.h"
#include "text/primitives.h"
#include "web/web_request.h"

// A resolver that hangs for one reserved name: this program's definition
// comes before the C library's, so libcurl's lookup thread calls it.
constexpr char kSlowLookupHost[] = "slow-lookup.invalid";

extern "C" int getaddrinfo(const char* node, const char* service, const struct addrinfo* hints,
                           struct addrinfo** res) {
  using Real = int (*)(const char*, const char*, const struct addrinfo*, struct addrinfo**);
  static const auto real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "getaddrinfo"));
  if (node != nullptr && std::string_view(node) == kSlowLookupHost) {
    std::this_thread::sleep_for(std::chrono::seconds(20));
    return EAI_AGAIN;
  }
  return real(node, service, hints, res);
}

namespace morvane::testing {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

const std::string kDripHead = "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n";

TEST(CurlLimits, ShortLimitsEndEveryStuckExchange) {
  struct Case {
    const char* name;
    Reply reply;
    std::string wantBody;  // what arrived before the limit
  };
  const Case cases[] = {
      {"silent server", Reply().Silence(), ""},
      {"silent after the head", Reply(kDripHead).Silence(), ""},
      {"slow drip", Reply(kDripHead).Drip(std::string(1000, 'd'), 400), "ddd"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HttpTestServer server(c.reply);
    CurlHttpClient client(300, 1500);
    Text headers;
    const auto start = Clock::now();
    const Bytes body = WebRequest(client, Text(std::string_view(server.Url())), 0, nullptr, nullptr,
                                  nullptr, nullptr, &headers);
    const double took = SecondsSince(start);
    EXPECT_GE(took, 1.3);
    EXPECT_LT(took, 4.0);
    // A drip is cut where the limit fell; what came before it is kept.
    EXPECT_EQ(std::string(body.view()).substr(0, c.wantBody.size()), c.wantBody);
    EXPECT_LT(body.size(), 10);
  }
}

// Regression: ending a transfer used to wait for curl's lookup thread, so a
// hanging resolver froze the window for as long as it hung.
TEST(CurlLimits, HangingNameLookupEndsAtTheConnectLimit) {
  CurlHttpClient client(300, 1500);
  const auto start = Clock::now();
  EXPECT_TRUE(WebRequest(client, ConcatText(Text("http://"), kSlowLookupHost, "/")).empty());
  EXPECT_LT(SecondsSince(start), 3.0);
}

TEST(CurlLimits, ConnectGivesUpAtItsLimit) {
  UnansweredPort port;
  CurlHttpClient client(300, 5000);
  const auto start = Clock::now();
  EXPECT_TRUE(WebRequest(client, Text(std::string_view(port.Url()))).empty());
  const double took = SecondsSince(start);
  EXPECT_GE(took, 0.25);
  EXPECT_LT(took, 3.0);
}

TEST(CurlLimits, TheProgramsOwnLimits) {
  CurlHttpClient client;  // 10 s to connect, 30 s for the exchange
  {
    UnansweredPort port;
    const auto start = Clock::now();
    EXPECT_TRUE(WebRequest(client, Text(std::string_view(port.Url()))).empty());
    const double took = SecondsSince(start);
    EXPECT_GE(took, 9.5);
    EXPECT_LT(took, 15.0);
  }
  {
    HttpTestServer server(Reply(kDripHead).Silence());
    const auto start = Clock::now();
    EXPECT_TRUE(WebRequest(client, Text(std::string_view(server.Url()))).empty());
    const double took = SecondsSince(start);
    EXPECT_GE(took, 29.5);
    EXPECT_LT(took, 40.0);
  }
}

}  // namespace
}  // namespace morvane::testing
