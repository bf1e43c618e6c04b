// An HttpClient that records every call and answers from a script, for what
// the wire cannot show: flags, access type, proxy list, handle order.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "web/http_client.h"

namespace morvane::testing {

class FakeHttpClient : public HttpClient {
 public:
  static constexpr HttpHandle kSession = 11, kConnection = 22, kRequest = 33;

  // Script.
  bool failSession = false, failConnect = false, failRequest = false;
  std::string body;                       // served by ReadFile
  std::int64_t fillerBytes = 0;           // or this many 'x', made up as read
  std::optional<std::string> rawHeaders;  // absent: the header query fails

  // Record.
  std::vector<std::string> calls;
  Text agent, proxyList, host, verb, path, version, headerBlock;
  HttpAccess access{};
  int port = 0;
  std::uint32_t flags = 0;
  Bytes sentBody;
  std::vector<HttpHandle> closed;
  std::int64_t bytesServed = 0;

  HttpHandle OpenSession(const Text& a, HttpAccess how, const Text& list) override {
    calls.push_back("OpenSession");
    agent = a;
    access = how;
    proxyList = list;
    return failSession ? 0 : kSession;
  }
  HttpHandle Connect(HttpHandle, const Text& h, int p) override {
    calls.push_back("Connect");
    host = h;
    port = p;
    return failConnect ? 0 : kConnection;
  }
  HttpHandle OpenRequest(HttpHandle, const Text& v, const Text& pa, const Text& ver,
                         std::uint32_t f) override {
    calls.push_back("OpenRequest");
    verb = v;
    path = pa;
    version = ver;
    flags = f;
    return failRequest ? 0 : kRequest;
  }
  bool SendRequest(HttpHandle, const Text& headers, const Bytes& b) override {
    calls.push_back("SendRequest");
    headerBlock = headers;
    sentBody = b;
    return true;
  }
  int ReadFile(HttpHandle, char* buffer, int size) override {
    const std::int64_t total =
        fillerBytes > 0 ? fillerBytes : static_cast<std::int64_t>(body.size());
    const int n = static_cast<int>(std::min<std::int64_t>(size, total - bytesServed));
    if (n <= 0) return 0;
    if (fillerBytes > 0) {
      std::fill(buffer, buffer + n, 'x');
    } else {
      std::copy_n(body.data() + bytesServed, n, buffer);
    }
    bytesServed += n;
    return n;
  }
  bool QueryRawHeaders(HttpHandle, Text& headers) override {
    calls.push_back("QueryRawHeaders");
    if (!rawHeaders) return false;
    headers = Text(*rawHeaders);
    return true;
  }
  void CloseHandle(HttpHandle h) override { closed.push_back(h); }
};

}  // namespace morvane::testing
