// What WinINet does on its own and the client must keep in bounds: its
// cache, its cookie jar, redirects and the proxy list.
#include <shlobj.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/win32/wininet_client.h"
#include "tests/support/http_test_proxy.h"
#include "tests/support/http_test_server.h"
#include "text/primitives.h"
#include "web/web_request.h"

namespace morvane {
namespace {

using testing::HttpResponse;
using testing::HttpTestProxy;
using testing::HttpTestServer;
using testing::RecordedRequest;
using testing::Reply;

std::filesystem::path InternetCacheFolder() {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_INTERNET_CACHE, nullptr, SHGFP_TYPE_CURRENT, path))) {
    return {};
  }
  return path;
}

bool SomeFileBelowHolds(const std::filesystem::path& folder, const std::string& marker) {
  std::error_code error;
  for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    if (!it->is_regular_file(error)) continue;
    std::ifstream file(it->path(), std::ios::binary);
    const std::string content{std::istreambuf_iterator<char>(file), {}};
    if (content.find(marker) != std::string::npos) return true;
  }
  return false;
}

// The program writes no files; WinINet would store every body it may cache.
TEST(WinInetPlatform, BodiesNeverReachTheCache) {
  const std::filesystem::path cache = InternetCacheFolder();
  ASSERT_FALSE(cache.empty());
  const std::string marker = "morvane-cache-probe-" + std::to_string(GetTickCount());
  HttpTestServer server(Reply(HttpResponse(
      "200 OK", {"Cache-Control: public, max-age=3600", "Content-Type: text/plain"}, marker)));
  WinInetHttpClient client;
  EXPECT_EQ(WebRequest(client, Text(server.Url("/cacheable.txt").c_str())).view(), marker);
  EXPECT_FALSE(SomeFileBelowHolds(cache, marker)) << cache.string();
}

// Without a cookie text WinINet's jar keeps and sends cookies; with one,
// the jar neither sends nor stores anything and the caller's line is the
// only Cookie line.
TEST(WinInetPlatform, GivenCookieTextKeepsTheJarOut) {
  HttpTestServer server([](const RecordedRequest& r) {
    const std::string cookie = r.requestLine.find("/jar/set") != std::string::npos   ? "jar=1"
                               : r.requestLine.find("/jar/own") != std::string::npos ? "late=2"
                                                                                     : "";
    std::vector<std::string> lines;
    if (!cookie.empty()) lines.push_back("Set-Cookie: " + cookie + "; Path=/jar");
    return Reply(HttpResponse("200 OK", lines, "ok"));
  });
  WinInetHttpClient client;
  const auto get = [&](const char* path, Text* cookieText) {
    (void)WebRequest(client, Text(server.Url(path).c_str()), 0, nullptr, cookieText);
    return server.Requests().back();
  };
  (void)get("/jar/set", nullptr);
  EXPECT_EQ(get("/jar/kept", nullptr).Header("Cookie"), "jar=1");

  Text mine("mine=2");
  const RecordedRequest own = get("/jar/own", &mine);
  EXPECT_EQ(own.HeaderCount("Cookie"), 1);
  EXPECT_EQ(own.Header("Cookie"), "mine=2");
  EXPECT_NE(FindText(mine, "late=2"), -1) << mine.str();

  EXPECT_EQ(get("/jar/after", nullptr).Header("Cookie"), "jar=1") << "late=2 was not stored";
}

TEST(WinInetPlatform, RedirectsAreFollowedUnlessTheCallerSaysNo) {
  HttpTestServer server([](const RecordedRequest& r) {
    if (r.requestLine.find("/from") != std::string::npos) {
      return Reply(HttpResponse("302 Found", {"Location: /to", "X-Hop: first"}, "moved"));
    }
    return Reply(HttpResponse("200 OK", {"X-Hop: final"}, "arrived"));
  });
  WinInetHttpClient client;
  for (const bool noRedirect : {false, true}) {
    SCOPED_TRACE(noRedirect);
    Text headers;
    const Bytes body = WebRequest(client, Text(server.Url("/from").c_str()), 0, nullptr, nullptr,
                                  nullptr, nullptr, &headers, noRedirect);
    EXPECT_EQ(body.view(), noRedirect ? "moved" : "arrived");
    // Only the headers of the response whose body was read.
    EXPECT_EQ(FindText(headers, noRedirect ? "HTTP/1.1 302" : "HTTP/1.1 200"), 1);
    EXPECT_EQ(FindText(headers, noRedirect ? "final" : "first"), -1);
  }
}

TEST(WinInetPlatform, ProxyReceivesTheAbsoluteAddress) {
  HttpTestServer server(Reply(HttpResponse("200 OK", {}, "via proxy")));
  HttpTestProxy proxy;
  WinInetHttpClient client;
  const Text proxyText(proxy.HostPort().c_str());
  const Bytes body = WebRequest(client, Text(server.Url("/p?q=1").c_str()), 0, nullptr, nullptr,
                                nullptr, nullptr, nullptr, false, nullptr, &proxyText);
  EXPECT_EQ(body.view(), "via proxy");
  ASSERT_EQ(proxy.Requests().size(), 1u);
  EXPECT_EQ(proxy.Requests()[0].requestLine, "GET " + server.Url("/p?q=1") + " HTTP/1.1");
  EXPECT_EQ(server.Requests().size(), 1u);
}

}  // namespace
}  // namespace morvane
