// What is particular to the libcurl client: how it words the request for
// curl, and that a body streams through it.
#include <gtest/gtest.h>

#include <malloc.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/posix/curl_client.h"
#include "platform/posix/curl_wire.h"
#include "tests/support/http_test_server.h"

namespace morvane {
namespace {

using Lines = std::vector<std::string>;

#if !defined(__SANITIZE_ADDRESS__)
// Heap in use, large mapped blocks included.
std::size_t HeapInUse() {
  const struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;
}
#endif

TEST(CurlWire, HeaderList) {
  struct Case {
    const char* block;
    std::optional<Lines> want;
  };
  const Case cases[] = {
      {"Accept: */*\r\nExpect: x\r\nContent-Type: t",
       Lines{"Accept: */*", "Expect: x", "Content-Type: t"}},
      // curl's own lines are switched off unless the block has them.
      {"X: 1", Lines{"X: 1", "Accept:", "Expect:", "Content-Type:"}},
      {"accept: a\r\nEXPECT: e\r\ncontent-type: c",
       Lines{"accept: a", "EXPECT: e", "content-type: c"}},
      // An empty value is still sent; curl spells that "Name;".
      {"X-Empty:  \r\nAccept: a\r\nExpect: e\r\nContent-Type: c",
       Lines{"X-Empty;", "Accept: a", "Expect: e", "Content-Type: c"}},
      // Blank lines and lines without a colon never reach curl.
      {"Accept: a\r\n\r\nnot a header\r\nExpect: e\r\nContent-Type: c",
       Lines{"Accept: a", "Expect: e", "Content-Type: c"}},
      {"X: 1\nInjected: yes", std::nullopt},
      {"X: 1\rInjected: yes", std::nullopt},
      {"X: 1\r", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.block);
    EXPECT_EQ(curlwire::HeaderList(c.block), c.want);
  }
}

TEST(CurlWire, RequestTargetAndHost) {
  EXPECT_EQ(curlwire::RequestTarget("/a b?c=d#e"), "/a%20b?c=d%23e");
  EXPECT_EQ(curlwire::RequestTarget("/\xb2\xe2?\t"), "/\xb2\xe2?%09");
  EXPECT_EQ(curlwire::RequestTarget("x"), "/x");
  EXPECT_EQ(curlwire::RequestTarget("/a\r\nX: y"), std::nullopt);
  EXPECT_EQ(curlwire::RequestTarget("/a\nX: y"), std::nullopt);
  EXPECT_TRUE(curlwire::IsHostName("srv-1.example_x"));
  EXPECT_FALSE(curlwire::IsHostName("srv?x=1"));
  EXPECT_FALSE(curlwire::IsHostName("user@srv"));
  EXPECT_FALSE(curlwire::IsHostName(""));
}

TEST(CurlWire, ProxyFor) {
  struct Case {
    const char* list;
    bool secure;
    const char* want;
  };
  const Case cases[] = {
      {"px:3128", false, "http://px:3128"},
      {"px:3128", true, "http://px:3128"},
      {"http=px:3128", false, "http://px:3128"},
      {"http=px:3128", true, ""},  // no entry for https: direct
      {"https=s:1 http=h:2", true, "http://s:1"},
      {"https=s:1;http=h:2", false, "http://h:2"},
      {"ftp=f:1 plain:9", false, "http://plain:9"},
      {"px", false, "http://px:80"},
      {"", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.list);
    EXPECT_EQ(curlwire::ProxyFor(c.list, c.secure), c.want);
  }
}

TEST(CurlClient, RefusesWhatWouldSplitTheRequest) {
  CurlHttpClient client;
  EXPECT_EQ(client.OpenSession("agent\r\nX-Injected: yes", HttpAccess::kDirect, ""), 0u);
  EXPECT_EQ(client.OpenSession("agent", HttpAccess::kProxy, "px:1\r\nX: y"), 0u);
  const HttpHandle session = client.OpenSession("agent", HttpAccess::kDirect, "");
  const HttpHandle connection = client.Connect(session, "127.0.0.1", 80);
  ASSERT_NE(connection, 0u);
  EXPECT_EQ(client.OpenRequest(connection, "GET", "/x\nX: y", "HTTP/1.1", 0), 0u);
  EXPECT_EQ(client.OpenRequest(connection, "GET /x", "/", "HTTP/1.1", 0), 0u);
  client.CloseHandle(session);
  // Closing the session closed what was opened under it.
  EXPECT_EQ(client.OpenRequest(connection, "GET", "/", "HTTP/1.1", 0), 0u);
}

#if !defined(__SANITIZE_ADDRESS__)
// A client that buffered the body would hold megabytes here; one that
// streams holds its small buffer while the rest waits in the socket.
TEST(CurlClient, BodyStreamsThroughASmallBuffer) {
  testing::HttpTestServer server(
      testing::Reply("HTTP/1.1 200 OK\r\nContent-Length: 33554432\r\n\r\n").Fill(32u << 20));
  CurlHttpClient client;
  const HttpHandle session = client.OpenSession("agent", HttpAccess::kDirect, "");
  const HttpHandle connection = client.Connect(session, "127.0.0.1", server.port());
  const HttpHandle request = client.OpenRequest(connection, "GET", "/", "HTTP/1.1", 0);
  const std::size_t before = HeapInUse();
  ASSERT_TRUE(client.SendRequest(request, "Accept: */*", Bytes()));
  char buffer[1024];
  std::size_t total = 0, peak = before;
  for (int i = 0; total < (16u << 20); ++i) {  // 16 MiB, read and dropped
    const int n = client.ReadFile(request, buffer, sizeof buffer);
    ASSERT_GT(n, 0);
    total += static_cast<std::size_t>(n);
    if (i % 256 == 0) peak = std::max(peak, HeapInUse());
  }
  EXPECT_LT(peak - before, std::size_t{1} << 20);
  client.CloseHandle(session);
}
#endif

}  // namespace
}  // namespace morvane
