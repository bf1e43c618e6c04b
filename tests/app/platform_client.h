// The platform's own HTTP client (libcurl or WinINet, whichever this build
// has), and a wrapper that sends every connection to the loopback server
// while keeping what the program asked for.
#pragma once

#include <memory>
#include <string>

#include "web/http_client.h"

namespace morvane::testing {

[[nodiscard]] std::unique_ptr<HttpClient> MakePlatformClient();

// Connects to 127.0.0.1:port whatever host and port the program names; the
// rest goes to the wrapped client unchanged.
class LoopbackClient final : public HttpClient {
 public:
  LoopbackClient(HttpClient& inner, int port) : inner_(inner), port_(port) {}

  std::string askedHost;
  int askedPort = 0;

  HttpHandle OpenSession(const Text& agent, HttpAccess access, const Text& proxyList) override {
    return inner_.OpenSession(agent, access, proxyList);
  }
  HttpHandle Connect(HttpHandle session, const Text& host, int port) override {
    askedHost = host.str();
    askedPort = port;
    return inner_.Connect(session, "127.0.0.1", port_);
  }
  HttpHandle OpenRequest(HttpHandle connection, const Text& verb, const Text& path,
                         const Text& version, std::uint32_t flags) override {
    return inner_.OpenRequest(connection, verb, path, version, flags);
  }
  bool SendRequest(HttpHandle request, const Text& headers, const Bytes& body) override {
    return inner_.SendRequest(request, headers, body);
  }
  int ReadFile(HttpHandle request, char* buffer, int size) override {
    return inner_.ReadFile(request, buffer, size);
  }
  bool QueryRawHeaders(HttpHandle request, Text& headers) override {
    return inner_.QueryRawHeaders(request, headers);
  }
  void CloseHandle(HttpHandle handle) override { inner_.CloseHandle(handle); }

 private:
  HttpClient& inner_;
  int port_;
};

}  // namespace morvane::testing
