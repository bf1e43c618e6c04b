// WinINet keeps a cache of bodies on disk; the program writes no files.
#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/win32/wininet_client.h"
#include "tests/support/http_test_server.h"
#include "web/web_request.h"

namespace morvane {
namespace {

using testing::HttpResponse;
using testing::HttpTestServer;
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

// With NEED_FILE Wine stores the body even under NO_CACHE_WRITE.
TEST(WinInetCache, BodiesNeverReachIt) {
  const std::filesystem::path cache = InternetCacheFolder();
  ASSERT_FALSE(cache.empty());
  const std::string marker = "morvane-cache-probe-" + std::to_string(GetTickCount());
  HttpTestServer server(Reply(HttpResponse(
      "200 OK", {"Cache-Control: public, max-age=3600", "Content-Type: text/plain"}, marker)));
  WinInetHttpClient client;
  EXPECT_EQ(WebRequest(client, Text(server.Url("/cacheable.txt").c_str())).view(), marker);
  EXPECT_FALSE(SomeFileBelowHolds(cache, marker)) << cache.string();
}

}  // namespace
}  // namespace morvane
