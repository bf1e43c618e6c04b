// The HTTP client on libcurl for Linux builds. It gives the observable
// behaviour of the Windows client: request line, Host, User-Agent, then
// the header block's lines and nothing else; redirects followed unless
// asked not to; one cookie store for the process unless a request turns
// cookies off; no cache; certificates verified; and hard limits on
// connecting and on the whole exchange.
//
// Not thread-safe: one client serves one thread, as the program has.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>

#include "web/http_client.h"

namespace morvane {

class CurlHttpClient : public HttpClient {
 public:
  // The limits can be shortened for tests; the program uses the defaults.
  explicit CurlHttpClient(int connectTimeoutMs = kConnectTimeoutMs,
                          int exchangeTimeoutMs = kExchangeTimeoutMs);
  ~CurlHttpClient() override;
  CurlHttpClient(const CurlHttpClient&) = delete;
  CurlHttpClient& operator=(const CurlHttpClient&) = delete;

  HttpHandle OpenSession(const Text& agent, HttpAccess access, const Text& proxyList) override;
  HttpHandle Connect(HttpHandle session, const Text& host, int port) override;
  HttpHandle OpenRequest(HttpHandle connection, const Text& verb, const Text& path,
                         const Text& version, std::uint32_t flags) override;
  bool SendRequest(HttpHandle request, const Text& headers, const Bytes& body) override;
  int ReadFile(HttpHandle request, char* buffer, int size) override;
  bool QueryRawHeaders(HttpHandle request, Text& headers) override;
  void CloseHandle(HttpHandle handle) override;

 private:
  struct Node;
  Node* Find(HttpHandle handle, int kind);
  HttpHandle Add(std::unique_ptr<Node> node);

  int connectTimeoutMs_;
  int exchangeTimeoutMs_;
  void* multi_ = nullptr;  // CURLM*, kept out of this header
  HttpHandle next_ = 1;
  std::unordered_map<HttpHandle, std::unique_ptr<Node>> nodes_;
};

}  // namespace morvane
