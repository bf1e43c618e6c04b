// What the WinINet client refuses to hand to WinINet, and how it behaves
// when WinINet itself is missing or the caller closes handles early.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/wininet_client.h"
#include "tests/support/http_test_server.h"
#include "web/web_request.h"

namespace morvane {
namespace {

using testing::HttpResponse;
using testing::HttpTestServer;
using testing::Reply;

// The step of an exchange that failed: 0 none, 1 session, 2 connection,
// 3 request, 4 send.
struct Attempt {
  std::string agent = "agent";
  std::string host = "127.0.0.1";
  int port = 0;  // 0: the server's
  std::string path = "/x";
  std::string headers = "Accept: */*";
};

int FailingStep(HttpClient& client, const Attempt& a, int serverPort) {
  int step = 0;
  const HttpHandle session = client.OpenSession(Text(a.agent), HttpAccess::kDirect, Text());
  const HttpHandle connection =
      session ? client.Connect(session, Text(a.host), a.port ? a.port : serverPort) : 0;
  const HttpHandle request =
      connection ? client.OpenRequest(connection, "GET", Text(a.path), "HTTP/1.1", kFlagReload) : 0;
  if (!session) {
    step = 1;
  } else if (!connection) {
    step = 2;
  } else if (!request) {
    step = 3;
  } else if (!client.SendRequest(request, Text(a.headers), Bytes())) {
    step = 4;
  } else {
    char buffer[1024];
    while (client.ReadFile(request, buffer, sizeof buffer) > 0) {
    }
  }
  client.CloseHandle(request);
  client.CloseHandle(connection);
  client.CloseHandle(session);
  return step;
}

// Wine puts CR and LF of the object name on the wire as they are, and
// treats a lone CR or LF in the header block as a line break: either would
// let a caller's value add lines to the request.
TEST(WinInetGuard, NothingTheCallerPassesAddsALineToTheRequest) {
  struct Case {
    const char* what;
    Attempt attempt;
    int failingStep;
  };
  const Case cases[] = {
      {"a sound request", {}, 0},
      {"a space in the path is escaped, not refused", {.path = "/a b"}, 0},
      {"header lines joined by CR LF", {.headers = "Accept: */*\r\nX-Two: 2"}, 0},
      {"CR LF in the path", {.path = "/x?id=1\r\nX-Injected: yes"}, 3},
      {"LF in the path", {.path = "/x?id=1\nX-Injected: yes"}, 3},
      {"other control byte in the path", {.path = "/x\x01"}, 3},
      {"DEL in the path", {.path = "/x\x7f"}, 3},
      {"lone LF in the header block", {.headers = "Accept: */*\nX-Injected: yes"}, 4},
      {"lone CR in the header block", {.headers = "Accept: */*\rX-Injected: yes"}, 4},
      {"header block ending in a lone CR", {.headers = "Accept: */*\r"}, 4},
      {"CR LF in the agent", {.agent = "agent\r\nX-Injected: yes"}, 1},
      {"CR LF in the host", {.host = "127.0.0.1\r\nX-Injected: yes"}, 2},
      {"empty host", {.host = ""}, 2},
      {"port beyond 16 bits", {.port = 65536 + 80}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HttpTestServer server(Reply(HttpResponse("200 OK", {}, "ok")));
    WinInetHttpClient client;
    EXPECT_EQ(FailingStep(client, c.attempt, server.port()), c.failingStep);
    const auto requests = server.Requests();
    EXPECT_EQ(requests.size(), c.failingStep == 0 ? 1u : 0u);
    for (const auto& r : requests) EXPECT_EQ(r.HeaderCount("X-Injected"), 0);
  }
}

TEST(WinInetGuard, WithoutWinInetEveryRequestFailsQuietly) {
  // A DLL that is not there, and one that is there without the functions.
  for (const char* dll : {"morvane-absent.dll", "kernel32.dll"}) {
    SCOPED_TRACE(dll);
    HttpTestServer server(Reply(HttpResponse("200 OK", {}, "ok")));
    WinInetHttpClient client(kConnectTimeoutMs, kExchangeTimeoutMs, dll);
    EXPECT_EQ(client.OpenSession("agent", HttpAccess::kDirect, Text()), 0u);
    Text headers("untouched");
    EXPECT_TRUE(WebRequest(client, Text(server.Url().c_str()), 0, nullptr, nullptr, nullptr,
                           nullptr, &headers)
                    .empty());
    EXPECT_EQ(headers, Text("untouched"));
    EXPECT_TRUE(server.Requests().empty());
  }
}

// Wine answers a header query after a failed send, or after a server that
// closed without a word, with a bare CR LF; that is no header text.
TEST(WinInetGuard, NoResponseMeansNoHeaders) {
  HttpTestServer silent(Reply(""));
  HttpTestServer answering(Reply(HttpResponse("200 OK", {}, "ok")));
  const int refused = [&] {
    int port = 0;
    testing::CloseSocket(testing::ListenOnLoopback(1, &port));
    return port;
  }();
  for (const int port : {silent.port(), refused, answering.port()}) {
    SCOPED_TRACE(port);
    WinInetHttpClient client;
    const HttpHandle session = client.OpenSession("agent", HttpAccess::kDirect, Text());
    const HttpHandle connection = client.Connect(session, "127.0.0.1", port);
    const HttpHandle request = client.OpenRequest(connection, "GET", "/", "HTTP/1.1", kFlagReload);
    (void)client.SendRequest(request, "Accept: */*", Bytes());
    Text headers("untouched");
    const bool answered = port == answering.port();
    EXPECT_EQ(client.QueryRawHeaders(request, headers), answered);
    EXPECT_EQ(headers.view().substr(0, 15), answered ? "HTTP/1.1 200 OK" : "untouched");
    client.CloseHandle(request);
    client.CloseHandle(connection);
    client.CloseHandle(session);
  }
}

// A call abandoned at its time limit may still use a request after the
// caller has closed everything; so a request keeps its connection and
// session open until it is closed itself.
TEST(WinInetGuard, RequestOutlivesTheCallersCloseOfItsParents) {
  HttpTestServer server(Reply(HttpResponse("200 OK", {}, "still here")));
  WinInetHttpClient client;
  const HttpHandle session = client.OpenSession("agent", HttpAccess::kDirect, Text());
  const HttpHandle connection = client.Connect(session, "127.0.0.1", server.port());
  const HttpHandle request = client.OpenRequest(connection, "GET", "/", "HTTP/1.1", kFlagReload);
  ASSERT_NE(request, 0u);
  client.CloseHandle(session);
  client.CloseHandle(connection);
  EXPECT_EQ(client.Connect(session, "127.0.0.1", server.port()), 0u) << "a closed handle";

  ASSERT_TRUE(client.SendRequest(request, "Accept: */*", Bytes()));
  char buffer[64] = {};
  EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(client.ReadFile(request, buffer, 64))),
            "still here");
  client.CloseHandle(request);
  EXPECT_EQ(client.ReadFile(request, buffer, 64), 0);
}

}  // namespace
}  // namespace morvane
