// The wire contract, compiled once per client (see http_contract.h).
#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/http_test_proxy.h"
#include "tests/support/http_test_server.h"
#include "tests/web/http_contract.h"
#include "text/primitives.h"
#include "web/web_request.h"

namespace morvane::testing {
namespace {

const std::string kAgentLine = "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
const std::string kOk = HttpResponse("200 OK", {}, "ok");

Text T(const std::string& s) { return Text(std::string_view(s)); }
std::string S(const Bytes& b) { return std::string(b.view()); }
std::string S(const Text& t) { return t.str(); }

// A port that refuses connections: bound, then closed again.
int RefusingPort() {
  int port = 0;
  const SocketId s = ListenOnLoopback(1, &port);
  CloseSocket(s);
  return port;
}

// The header lines without Content-Length, whose place the clients choose,
// and without the "Cache-Control: no-cache" that WinINet adds to a POST it
// is told not to cache.
std::vector<std::string> WithoutLength(const RecordedRequest& r) {
  const bool post = r.requestLine.rfind("POST ", 0) == 0;
  std::vector<std::string> lines;
  for (const std::string& l : r.headerLines) {
    if (l.rfind("Content-Length:", 0) == 0) continue;
    if (post && l == "Cache-Control: no-cache") continue;
    lines.push_back(l);
  }
  return lines;
}

TEST_P(HttpContract, RequestsGoOutExactlyAsBuilt) {
  struct Shape {
    const char* name;
    const char* path;
    int method;
    std::optional<std::string> postText, extraHeaders, cookieText;
    const char* requestLine;
    std::vector<std::string> blockLines;  // after Host and User-Agent; %s is the address
    std::string body;
  };
  const std::vector<std::string> defaults = {"Accept: */*", "Referer: %s", "Accept-Language: zh-cn",
                                             "Content-Type: application/x-www-form-urlencoded"};
  std::vector<std::string> withCookie = defaults;
  withCookie.push_back("Cookie: a=1; b=2");
  const Shape shapes[] = {
      {"default GET", "/p?q=1&r=A", 0, {}, {}, {}, "GET /p?q=1&r=A HTTP/1.1", defaults, ""},
      {"POST of a text",
       "/form",
       1,
       "a=1&b=%E4",
       {},
       {},
       "POST /form HTTP/1.1",
       defaults,
       "a=1&b=%E4"},
      {"empty POST", "/form", 1, {}, {}, {}, "POST /form HTTP/1.1", defaults, ""},
      {"GET never sends the text", "/g", 0, "x=1", {}, {}, "GET /g HTTP/1.1", defaults, ""},
      {"caller lines first, in order",
       "/",
       0,
       {},
       "X-First: 1\r\nAccept: text/html\r\nX-Last: 2",
       {},
       "GET / HTTP/1.1",
       {"X-First: 1", "Accept: text/html", "X-Last: 2", "Referer: %s", "Accept-Language: zh-cn",
        "Content-Type: application/x-www-form-urlencoded"},
       ""},
      {"cookie text goes last", "/c", 0, {}, {}, "a=1; b=2", "GET /c HTTP/1.1", withCookie, ""},
      // GBK bytes in the query go out raw, as the address holds them.
      {"GBK query", "/q?s=\xca\xd4", 0, {}, {}, {}, "GET /q?s=\xca\xd4 HTTP/1.1", defaults, ""},
  };
  for (const Shape& s : shapes) {
    SCOPED_TRACE(s.name);
    HttpTestServer server{Reply(kOk)};
    const std::string address = server.Url(s.path);
    Text post(T(s.postText.value_or(""))), extra(T(s.extraHeaders.value_or(""))),
        cookie(T(s.cookieText.value_or("")));
    const Bytes body =
        WebRequest(client(), T(address), s.method, s.postText ? &post : nullptr,
                   s.cookieText ? &cookie : nullptr, nullptr, s.extraHeaders ? &extra : nullptr);
    EXPECT_EQ(S(body), "ok");
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const RecordedRequest& r = requests[0];
    EXPECT_EQ(r.requestLine, s.requestLine);
    std::vector<std::string> want = {"Host: " + server.HostPort(), kAgentLine};
    for (std::string line : s.blockLines) {
      const std::size_t at = line.find("%s");
      if (at != std::string::npos) line.replace(at, 2, address);
      want.push_back(line);
    }
    EXPECT_EQ(WithoutLength(r), want);
    EXPECT_EQ(r.body, s.body);
    if (s.method == 1) {
      EXPECT_EQ(r.Header("Content-Length"), std::to_string(s.body.size()));
    }
  }
}

TEST_P(HttpContract, CallerAgentAndHostReplaceTheClientsOwn) {
  HttpTestServer server{Reply(kOk)};
  Text extra = T("User-Agent: Mine/1.0\r\nHost: " + server.HostPort());
  (void)WebRequest(client(), T(server.Url()), 0, nullptr, nullptr, nullptr, &extra);
  const auto r = server.Requests().at(0);
  EXPECT_EQ(r.HeaderCount("User-Agent"), 1);
  EXPECT_EQ(r.Header("User-Agent"), "Mine/1.0");
  EXPECT_EQ(r.HeaderCount("Host"), 1);
}

// A large POST must not stall on "Expect: 100-continue" nor carry it.
TEST_P(HttpContract, LargePostGoesOutWholeWithoutExpect) {
  HttpTestServer server{Reply(kOk)};
  const std::string big(2 << 20, 'b');
  Bytes bytes(big);
  const Bytes body = WebRequest(client(), T(server.Url("/up")), 1, nullptr, nullptr, nullptr,
                                nullptr, nullptr, {}, &bytes);
  EXPECT_EQ(S(body), "ok");
  const auto r = server.Requests().at(0);
  EXPECT_EQ(r.body.size(), big.size());
  EXPECT_EQ(r.HeaderCount("Expect"), 0);
  EXPECT_EQ(r.HeaderCount("Pragma"), 0);
}

TEST_P(HttpContract, HeadSendsItsBytesAndReadsNoBody) {
  // A HEAD answer announces a body it does not send; reading it would hang.
  HttpTestServer server(Reply("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n").Silence());
  Text post("h=1");
  const Bytes body = WebRequest(client(), T(server.Url("/h")), 2, &post);
  EXPECT_TRUE(body.empty());
  const auto r = server.Requests().at(0);
  EXPECT_EQ(r.requestLine, "HEAD /h HTTP/1.1");
  EXPECT_EQ(r.body, "h=1");
}

// Request splitting: a line break in the path or a lone one in the header
// block must never reach the wire as a line of its own.
TEST_P(HttpContract, LineBreaksNeverSplitTheRequest) {
  struct Case {
    const char* name;
    const char* path;
    const char* extraHeaders;
  };
  const Case cases[] = {
      {"CR LF in the path", "/x?id=1\r\nX-Injected: yes", nullptr},
      {"LF in the path", "/x?id=1\nX-Injected: yes", nullptr},
      {"CR in the path", "/x?id=1\rX-Injected: yes", nullptr},
      {"LF in the block", "/x", "X-A: 1\nX-Injected: yes"},
      {"CR in the block", "/x", "X-A: 1\rX-Injected: yes"},
      {"CR at the block's end", "/x", "X-A: 1\r"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HttpTestServer server{Reply(kOk)};
    Text extra(c.extraHeaders), headers;
    const Bytes body = WebRequest(client(), T(server.Url(c.path)), 0, nullptr, nullptr, nullptr,
                                  c.extraHeaders ? &extra : nullptr, &headers);
    EXPECT_TRUE(body.empty());
    for (const RecordedRequest& r : server.Requests()) {
      EXPECT_EQ(r.HeaderCount("X-Injected"), 0);
    }
  }
}

// A blank line inside the block must not end the request head early and
// turn the rest into a body.
TEST_P(HttpContract, BlankLineInTheBlockDoesNotEndTheHead) {
  HttpTestServer server{Reply(kOk)};
  Text extra("X-A: 1\r\n\r\nX-B: 2");
  (void)WebRequest(client(), T(server.Url()), 0, nullptr, nullptr, nullptr, &extra);
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].requestLine, "GET / HTTP/1.1");
  EXPECT_EQ(requests[0].body, "");
  EXPECT_EQ(requests[0].Header("X-A"), "1");
}

TEST_P(HttpContract, CollectsCookiesFromTheRawHeaders) {
  const std::string response = HttpResponse(
      "200 OK", {"Set-Cookie: a=1; path=/nc", "set-cookie: b=2", "Set-Cookie: c=3; HttpOnly"},
      "body");
  {
    HttpTestServer server(Reply{response});
    Text returned, headers;
    const Bytes body = WebRequest(client(), T(server.Url("/nc/x")), 0, nullptr, nullptr, &returned,
                                  nullptr, &headers);
    EXPECT_EQ(S(body), "body");
    EXPECT_EQ(returned, Text("a=1; b=2; c=3"));
    EXPECT_EQ(S(headers).rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
    EXPECT_EQ(FindText(headers, "set-cookie"), -1);
    EXPECT_EQ(S(TextRight(headers, 2)), "\r\n");
  }
  {
    HttpTestServer server(Reply{response});
    Text cookie, returned;
    (void)WebRequest(client(), T(server.Url("/nc/x")), 0, nullptr, &cookie, &returned);
    EXPECT_EQ(cookie, Text("a=1; b=2; c=3"));
    EXPECT_EQ(returned, Text("a=1;b=2;c=3"));
  }
  {
    HttpTestServer server{Reply(kOk)};
    Text returned("stale");
    (void)WebRequest(client(), T(server.Url()), 0, nullptr, nullptr, &returned);
    EXPECT_EQ(returned, Text(""));
  }
}

TEST_P(HttpContract, UnreachableServerGivesNothingAndBlankHeaders) {
  const std::string address = "http://127.0.0.1:" + std::to_string(RefusingPort()) + "/";
  Text headers, returned("stale");
  const Bytes body =
      WebRequest(client(), T(address), 0, nullptr, nullptr, &returned, nullptr, &headers);
  EXPECT_TRUE(body.empty());
  EXPECT_EQ(headers, BlankText(5000));
  EXPECT_EQ(returned, Text(""));
}

TEST_P(HttpContract, BodiesArriveWhole) {
  std::string binary = "a";
  binary += '\0';
  for (int i = 0; i < 5000; ++i) binary += static_cast<char>(i * 7);
  struct Case {
    const char* name;
    Reply reply;
  };
  const Case cases[] = {
      {"content-length", Reply(HttpResponse("200 OK", {}, binary))},
      {"chunked", Reply(ChunkedResponse("200 OK", {}, binary, 777))},
      {"close-delimited", Reply("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + binary)},
      {"error status", Reply(HttpResponse("404 Not Found", {}, binary))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HttpTestServer server(c.reply);
    EXPECT_EQ(S(WebRequest(client(), T(server.Url()))), binary);
  }
}

// Headers beyond 5000 bytes once lost every cookie after them.
TEST_P(HttpContract, LongHeadersKeepTheirCookies) {
  std::vector<std::string> lines;
  for (int i = 0; i < 8; ++i)
    lines.push_back("X-Pad-" + std::to_string(i) + ": " + std::string(1000, 'p'));
  lines.push_back("Set-Cookie: late=1; path=/long");
  HttpTestServer server(Reply(HttpResponse("200 OK", lines, "ok")));
  Text headers, returned;
  const Bytes body = WebRequest(client(), T(server.Url("/long")), 0, nullptr, nullptr, &returned,
                                nullptr, &headers);
  EXPECT_EQ(S(body), "ok");
  EXPECT_GT(TextLength(headers), 8000);
  EXPECT_EQ(returned, Text("late=1"));
}

TEST_P(HttpContract, RedirectsFollowedUnlessAskedNot) {
  HttpTestServer server([](const RecordedRequest& r) {
    if (r.requestLine.rfind("GET /from ", 0) == 0) {
      return Reply(HttpResponse("302 Found", {"Location: /to"}, "moved"));
    }
    return Reply(HttpResponse("200 OK", {}, "arrived"));
  });
  Text headers;
  EXPECT_EQ(S(WebRequest(client(), T(server.Url("/from")), 0, nullptr, nullptr, nullptr, nullptr,
                         &headers)),
            "arrived");
  EXPECT_EQ(S(headers).rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
  EXPECT_EQ(FindText(headers, "Location"), -1);  // the final response's head only
  ASSERT_EQ(server.Requests().size(), 2u);
  EXPECT_EQ(server.Requests()[1].requestLine, "GET /to HTTP/1.1");

  EXPECT_EQ(S(WebRequest(client(), T(server.Url("/from")), 0, nullptr, nullptr, nullptr, nullptr,
                         &headers, true)),
            "moved");
  EXPECT_EQ(S(headers).rfind("HTTP/1.1 302 Found\r\n", 0), 0u);
  EXPECT_EQ(server.Requests().size(), 3u);
}

// The store lives as long as the process, so every case that gets cookies
// set scopes them to a path of its own (and keeps them session cookies);
// otherwise they would turn up in the other cases' requests.
TEST_P(HttpContract, CookieStoreOnlyWithoutCookieText) {
  HttpTestServer server([](const RecordedRequest& r) {
    if (r.requestLine.find("/jar/set") != std::string::npos) {
      return Reply(HttpResponse("200 OK", {"Set-Cookie: jarred=1; Path=/jar"}, "set"));
    }
    if (r.requestLine.find("/own/set") != std::string::npos) {
      return Reply(HttpResponse("200 OK", {"Set-Cookie: owned=1; Path=/own"}, "set"));
    }
    return Reply(kOk);
  });
  (void)WebRequest(client(), T(server.Url("/jar/set")));
  (void)WebRequest(client(), T(server.Url("/jar/get")));
  Text cookie;  // given: the store is neither read nor written
  (void)WebRequest(client(), T(server.Url("/jar/get")), 0, nullptr, &cookie);
  (void)WebRequest(client(), T(server.Url("/own/set")), 0, nullptr, &cookie);
  (void)WebRequest(client(), T(server.Url("/own/get")));

  const auto r = server.Requests();
  ASSERT_EQ(r.size(), 5u);
  EXPECT_EQ(r[1].Header("Cookie"), "jarred=1");
  EXPECT_EQ(r[2].HeaderCount("Cookie"), 0);
  EXPECT_EQ(r[4].HeaderCount("Cookie"), 0);
  EXPECT_EQ(cookie, Text("owned=1"));
}

TEST_P(HttpContract, HttpAddressGoesThroughTheProxy) {
  HttpTestServer server(Reply(HttpResponse("200 OK", {}, "via proxy")));
  HttpTestProxy proxy;
  Text list = T(proxy.HostPort());
  const Bytes body = WebRequest(client(), T(server.Url("/p?x=1")), 0, nullptr, nullptr, nullptr,
                                nullptr, nullptr, {}, nullptr, &list);
  EXPECT_EQ(S(body), "via proxy");
  ASSERT_EQ(proxy.Requests().size(), 1u);
  EXPECT_EQ(proxy.Requests()[0].requestLine, "GET " + server.Url("/p?x=1") + " HTTP/1.1");
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0].requestLine, "GET /p?x=1 HTTP/1.1");
}

// The https address takes the plain list and asks the proxy for a tunnel.
// The tunnel's far end refuses, so the exchange fails at once instead of
// waiting on a TLS handshake nobody answers.
TEST_P(HttpContract, HttpsAddressTunnelsThroughTheProxy) {
  HttpTestProxy proxy;
  Text list = T(proxy.HostPort());
  const std::string target = "127.0.0.1:" + std::to_string(RefusingPort());
  const Bytes body = WebRequest(client(), T("https://" + target + "/s"), 0, nullptr, nullptr,
                                nullptr, nullptr, nullptr, {}, nullptr, &list);
  EXPECT_TRUE(body.empty());
  ASSERT_EQ(proxy.Requests().size(), 1u);
  EXPECT_EQ(proxy.Requests()[0].requestLine, "CONNECT " + target + " HTTP/1.1");
}

TEST_P(HttpContract, BodyOverTheCapIsAFailure) {
  struct Case {
    const char* name;
    Reply reply;
  };
  const Case cases[] = {
      {"announced",
       Reply("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kMaxBodyBytes + 1) + "\r\n\r\n")
           .Fill(static_cast<std::size_t>(kMaxBodyBytes) + 1)},
      // Endless and close-delimited: only the reader can stop it. (The
      // largest size_t: a 40-bit shift does not fit the 32-bit build.)
      {"endless", Reply("HTTP/1.1 200 OK\r\n\r\n").Fill(std::numeric_limits<std::size_t>::max())},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HttpTestServer server(c.reply);
    EXPECT_TRUE(WebRequest(client(), T(server.Url())).empty());
  }
}

TEST_P(HttpContract, ResetMidBodyKeepsWhatArrived) {
  HttpTestServer server(
      Reply("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n0123456789").Pause(300).Reset());
  Text headers;
  const Bytes body =
      WebRequest(client(), T(server.Url()), 0, nullptr, nullptr, nullptr, nullptr, &headers);
  EXPECT_EQ(S(body), "0123456789");
  EXPECT_EQ(S(headers).rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
}

}  // namespace
}  // namespace morvane::testing
