// WebRequest against a recording client: what it asks of the platform and
// what it makes of the answers.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/web/fake_http_client.h"
#include "text/primitives.h"
#include "web/web_request.h"

namespace morvane {
namespace {

using testing::FakeHttpClient;

const char kDefaultAgent[] = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
Bytes B(std::string_view bytes) { return Bytes(bytes); }
constexpr std::uint32_t kAlways = kFlagReload | kFlagNeedFile;

TEST(WebRequest, PlainGetAsksForExactlyTheDefaults) {
  FakeHttpClient client;
  client.body = "payload";
  const Bytes body = WebRequest(client, "http://Srv:8080/A?b=C", 0);

  EXPECT_EQ(body, B("payload"));
  EXPECT_EQ(client.agent, Text(kDefaultAgent));
  EXPECT_EQ(client.access, HttpAccess::kDirect);
  EXPECT_EQ(client.proxyList, Text(""));
  EXPECT_EQ(client.host, Text("srv"));
  EXPECT_EQ(client.port, 8080);
  EXPECT_EQ(client.verb, Text("GET"));
  EXPECT_EQ(client.path, Text("/A?b=C"));
  EXPECT_EQ(client.version, Text("HTTP/1.1"));
  EXPECT_EQ(client.flags, kAlways | kFlagIgnoreRedirectToHttps);
  EXPECT_EQ(client.headerBlock, Text("Accept: */*\r\n"
                                     "Referer: http://Srv:8080/A?b=C\r\n"
                                     "Accept-Language: zh-cn\r\n"
                                     "Content-Type: application/x-www-form-urlencoded"));
  EXPECT_TRUE(client.sentBody.empty());
  const std::vector<std::string> order = {"OpenSession", "Connect", "OpenRequest", "SendRequest",
                                          "QueryRawHeaders"};
  EXPECT_EQ(client.calls, order);
  const std::vector<HttpHandle> closed = {FakeHttpClient::kRequest, FakeHttpClient::kConnection,
                                          FakeHttpClient::kSession};
  EXPECT_EQ(client.closed, closed);
}

struct Shape {
  const char* name;
  const char* address = "http://srv/p";
  std::optional<int> method = {};
  std::optional<std::string> postText = {}, extraHeaders = {}, cookieText = {}, bodyBytes = {},
                             proxy = {};
  std::optional<bool> noRedirect = {};
  // Expected.
  const char* verb = "GET";
  std::uint32_t flags = kAlways | kFlagIgnoreRedirectToHttps;
  const char* block = nullptr;  // nullptr: not checked
  const char* agent = kDefaultAgent;
  const char* sent = "";
  const char* bodyBytesAfter = nullptr;  // nullptr: not checked
  HttpAccess access = HttpAccess::kDirect;
  const char* proxyList = "";
  int port = 80;
};

TEST(WebRequest, RequestShapes) {
  const char* kTail =
      "\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded";
  const std::string tailWithReferer = std::string("\r\nReferer: http://srv/p") + kTail;
  const Shape shapes[] = {
      {.name = "https with its own port",
       .address = "HTTPS://srv:8443/x",
       .flags = kAlways | kFlagSecure,
       .port = 8443},
      {.name = "https later in the address is not https", .address = "http://srv/?next=https://x"},
      {.name = "method 7 is GET", .method = 7},
      {.name = "method -1 is GET", .method = -1},
      {.name = "HEAD", .method = 2, .verb = "HEAD"},
      {.name = "POST sends the text and writes it back as bytes",
       .method = 1,
       .postText = "a=1&b=2",
       .verb = "POST",
       .sent = "a=1&b=2",
       .bodyBytesAfter = "a=1&b=2"},
      {.name = "POST bytes win over the text",
       .method = 1,
       .postText = "text",
       .bodyBytes = "bytes",
       .verb = "POST",
       .sent = "bytes",
       .bodyBytesAfter = "bytes"},
      {.name = "POST with nothing sends nothing", .method = 1, .verb = "POST", .sent = ""},
      {.name = "GET never sends the text",
       .method = 0,
       .postText = "a=1",
       .sent = "",
       .bodyBytesAfter = ""},
      {.name = "caller lines are not duplicated",
       .extraHeaders = "Accept: text/html\r\nReferer: r\r\nAccept-Language: en\r\nContent-Type: t",
       .block = "Accept: text/html\r\nReferer: r\r\nAccept-Language: en\r\nContent-Type: t"},
      {.name = "lower-case referer is not recognised",
       .extraHeaders = "referer: r",
       .block = "referer: r\r\nAccept: */*\r\nReferer: http://srv/p\r\n"
                "Accept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded"},
      {.name = "agent from the caller's line, which stays",
       .extraHeaders = "X-A: 1\r\nUser-Agent:  Mine 1.0 \r\nX-B: 2",
       .agent = "Mine 1.0"},
      {.name = "lower-case user-agent falls back to the first value, first line only",
       .extraHeaders = "user-agent: Lower\r\nX-B: 2",
       .agent = "Lower"},
      {.name = "fallback takes the block's first colon",
       .extraHeaders = "X-A: first\r\nuser-agent: Lower",
       .agent = "first"},
      {.name = "cookie text given",
       .cookieText = "a=1; b=2",
       .flags = kAlways | kFlagIgnoreRedirectToHttps | kFlagNoCookies},
      {.name = "empty cookie text still switches the store off",
       .cookieText = "",
       .flags = kAlways | kFlagIgnoreRedirectToHttps | kFlagNoCookies,
       .block = "Accept: */*\r\nReferer: http://srv/p\r\nAccept-Language: zh-cn\r\n"
                "Content-Type: application/x-www-form-urlencoded"},
      {.name = "no redirect",
       .noRedirect = true,
       .flags = kAlways | kFlagIgnoreRedirectToHttps | kFlagNoAutoRedirect},
      {.name = "proxy for http",
       .proxy = "px:3128",
       .access = HttpAccess::kProxy,
       .proxyList = "http=px:3128"},
      {.name = "proxy for https",
       .address = "https://srv/p",
       .proxy = "px:3128",
       .flags = kAlways | kFlagSecure,
       .access = HttpAccess::kProxy,
       .proxyList = "px:3128",
       .port = 443},
      {.name = "empty proxy is direct", .proxy = ""},
  };
  for (const Shape& s : shapes) {
    SCOPED_TRACE(s.name);
    FakeHttpClient client;
    Text post(s.postText.value_or("")), extra(s.extraHeaders.value_or("")),
        cookie(s.cookieText.value_or("")), proxy(s.proxy.value_or(""));
    Bytes bytes(std::string_view(s.bodyBytes.value_or("")));
    (void)WebRequest(client, Text(s.address), s.method, s.postText ? &post : nullptr,
                     s.cookieText ? &cookie : nullptr, nullptr,
                     s.extraHeaders || s.block ? &extra : nullptr, nullptr, s.noRedirect,
                     s.bodyBytes || s.bodyBytesAfter ? &bytes : nullptr,
                     s.proxy ? &proxy : nullptr);
    EXPECT_EQ(client.verb, Text(s.verb));
    EXPECT_EQ(client.flags, s.flags);
    EXPECT_EQ(client.agent, Text(s.agent));
    EXPECT_EQ(client.sentBody, B(s.sent));
    EXPECT_EQ(client.access, s.access);
    EXPECT_EQ(client.proxyList, Text(s.proxyList));
    EXPECT_EQ(client.port, s.port);
    if (s.block) {
      EXPECT_EQ(client.headerBlock, Text(s.block));
      EXPECT_EQ(extra, Text(s.block));  // the caller finds the whole block
    }
    if (s.bodyBytesAfter) {
      EXPECT_EQ(bytes, B(s.bodyBytesAfter));
    }
    if (s.cookieText && !s.cookieText->empty()) {
      EXPECT_EQ(client.headerBlock,
                Text(("Accept: */*" + tailWithReferer + "\r\nCookie: " + *s.cookieText).c_str()));
    }
  }
}

constexpr char kThreeCookies[] =
    "HTTP/1.1 200 OK\r\n"
    "Set-Cookie: a=1; path=/\r\n"
    "set-cookie: b=2\r\n"
    "SET-COOKIE: c=3; HttpOnly\r\n"
    "Content-Length: 0\r\n";

TEST(WebRequest, CollectsCookiesInAnyCase) {
  FakeHttpClient client;
  client.rawHeaders = kThreeCookies;
  Text returned, headers;
  (void)WebRequest(client, "http://srv/", {}, nullptr, nullptr, &returned, nullptr, &headers);
  EXPECT_EQ(returned, Text("a=1; b=2; c=3"));
  EXPECT_EQ(headers, Text("HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n"
                          "Set-Cookie: c=3; HttpOnly\r\nContent-Length: 0\r\n"));
}

TEST(WebRequest, MergesReturnedCookiesIntoAGivenCookieText) {
  struct Case {
    const char* before;
    const char* after;
  };
  const Case cases[] = {{"", "a=1; b=2; c=3"}, {"b=0; z=9", "a=1; b=2; c=3; z=9"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before);
    FakeHttpClient client;
    client.rawHeaders = kThreeCookies;
    Text cookie(c.before), returned;
    (void)WebRequest(client, "http://srv/", {}, nullptr, &cookie, &returned);
    EXPECT_EQ(cookie, Text(c.after));
    EXPECT_EQ(returned, Text("a=1;b=2;c=3"));
  }
}

TEST(WebRequest, NoCookiesGivesEmptyReturnedCookies) {
  FakeHttpClient client;
  client.rawHeaders = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n";
  Text returned("stale");
  (void)WebRequest(client, "http://srv/", {}, nullptr, nullptr, &returned);
  EXPECT_EQ(returned, Text(""));
}

TEST(WebRequest, FailedHeaderQueryLeavesFiveThousandSpaces) {
  FakeHttpClient client;  // no raw headers: the query fails
  Text headers("stale"), returned("stale"), cookie("x = 1");
  const Bytes body =
      WebRequest(client, "http://srv/", {}, nullptr, &cookie, &returned, nullptr, &headers);
  EXPECT_TRUE(body.empty());
  EXPECT_EQ(headers, BlankText(5000));
  EXPECT_EQ(returned, Text(""));
  EXPECT_EQ(cookie, Text("x=1"));  // the merge still runs
}

// Headers longer than the classic 5000-byte buffer used to lose every cookie.
TEST(WebRequest, KeepsHeadersLongerThanFiveThousandBytes) {
  FakeHttpClient client;
  const std::string padding = "X-Pad: " + std::string(6000, 'p') + "\r\n";
  client.rawHeaders = "HTTP/1.1 200 OK\r\n" + padding + "Set-Cookie: late=1; path=/\r\n";
  Text returned, headers;
  (void)WebRequest(client, "http://srv/", {}, nullptr, nullptr, &returned, nullptr, &headers);
  EXPECT_EQ(returned, Text("late=1"));
  EXPECT_EQ(headers, Text(*client.rawHeaders));
}

TEST(WebRequest, FailedOpeningClosesWhatWasOpenedAndWritesNothing) {
  struct Case {
    const char* name;
    bool session, connect, request;
    std::vector<HttpHandle> closed;
  };
  const Case cases[] = {
      {"session", true, false, false, {0}},
      {"connection", false, true, false, {0, FakeHttpClient::kSession}},
      {"request", false, false, true, {0, FakeHttpClient::kConnection, FakeHttpClient::kSession}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeHttpClient client;
    client.failSession = c.session;
    client.failConnect = c.connect;
    client.failRequest = c.request;
    client.body = "never read";
    client.rawHeaders = kThreeCookies;
    Text cookie("k=v"), returned("r"), extra("E: 1"), headers("h");
    Bytes bytes = B("b");
    const Bytes body = WebRequest(client, "http://srv/", 1, nullptr, &cookie, &returned, &extra,
                                  &headers, {}, &bytes);
    EXPECT_TRUE(body.empty());
    EXPECT_EQ(client.closed, c.closed);
    EXPECT_EQ(client.bytesServed, 0);
    EXPECT_EQ(cookie, Text("k=v"));
    EXPECT_EQ(returned, Text("r"));
    EXPECT_EQ(extra, Text("E: 1"));
    EXPECT_EQ(headers, Text("h"));
    EXPECT_EQ(bytes, B("b"));
  }
}

TEST(WebRequest, BodyAtTheCapIsKeptOneByteMoreIsAFailure) {
  FakeHttpClient exact;
  exact.fillerBytes = kMaxBodyBytes;
  EXPECT_EQ(WebRequest(exact, "http://srv/").size(), kMaxBodyBytes);

  FakeHttpClient over;
  over.fillerBytes = kMaxBodyBytes + 1;
  over.rawHeaders = "HTTP/1.1 200 OK\r\nSet-Cookie: s=1\r\n";
  Text returned;
  EXPECT_TRUE(WebRequest(over, "http://srv/", {}, nullptr, nullptr, &returned).empty());
  // Reading stopped at the cap, and the headers were still looked at.
  EXPECT_EQ(over.bytesServed, kMaxBodyBytes + 1);
  EXPECT_EQ(returned, Text("s=1"));
}

TEST(WebRequest, ValueAfterColon) {
  EXPECT_EQ(ValueAfterColon("Name:  v: w "), Text("v: w"));
  EXPECT_EQ(ValueAfterColon("no colon"), Text(""));
  EXPECT_EQ(ValueAfterColon("x:"), Text(""));
}

}  // namespace
}  // namespace morvane
