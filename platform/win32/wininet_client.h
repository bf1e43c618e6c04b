// The HTTP client on WinINet, for the Windows program.
//
// Passes each call to the WinINet function of the same shape, with three
// additions that keep the window alive and the request as the caller meant:
//  - every blocking call (connect, send, read) runs under a time limit: the
//    whole exchange (from OpenSession on) takes at most exchangeTimeoutMs;
//    a call that overruns is abandoned and fails, and closes its handles
//    itself when it returns. The TCP connect happens inside the send, so
//    the connect limit is WinINet's own connect time-out option, which
//    Windows honours and Wine ignores (there a connect that never completes
//    ends at the exchange limit);
//  - a host, path or agent with control bytes, or a header block with a
//    lone CR or LF, is refused: WinINet would put them on the wire as new
//    lines of the request;
//  - WinINet's cache is never written (NEED_FILE is dropped from the
//    request flags, NO_CACHE_WRITE added).
// One exchange per session, as WebRequest makes them, one after another
// from one calling thread; they share a worker thread until a call overruns.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>

#include "web/http_client.h"

namespace morvane {

class CallWorker;
struct WinInetApi;
struct WinInetNode;  // an open WinINet handle and what must outlive it

class WinInetHttpClient final : public HttpClient {
 public:
  // dllName is a file of the system directory; tests name one without the
  // WinINet functions to see every call fail.
  explicit WinInetHttpClient(int connectTimeoutMs = kConnectTimeoutMs,
                             int exchangeTimeoutMs = kExchangeTimeoutMs,
                             const char* dllName = "wininet.dll");
  ~WinInetHttpClient() override;
  WinInetHttpClient(const WinInetHttpClient&) = delete;
  WinInetHttpClient& operator=(const WinInetHttpClient&) = delete;

  HttpHandle OpenSession(const Text& agent, HttpAccess access, const Text& proxyList) override;
  HttpHandle Connect(HttpHandle session, const Text& host, int port) override;
  HttpHandle OpenRequest(HttpHandle connection, const Text& verb, const Text& path,
                         const Text& version, std::uint32_t flags) override;
  bool SendRequest(HttpHandle request, const Text& headers, const Bytes& body) override;
  int ReadFile(HttpHandle request, char* buffer, int size) override;
  bool QueryRawHeaders(HttpHandle request, Text& headers) override;
  void CloseHandle(HttpHandle handle) override;

 private:
  [[nodiscard]] std::shared_ptr<WinInetNode> Find(HttpHandle handle) const;
  HttpHandle Keep(std::shared_ptr<WinInetNode> node);

  int connectTimeoutMs_;
  int exchangeTimeoutMs_;
  std::string dllName_;
  bool apiLoaded_ = false;
  std::shared_ptr<const WinInetApi> api_;
  std::shared_ptr<CallWorker> worker_;
  std::unordered_map<HttpHandle, std::shared_ptr<WinInetNode>> handles_;
};

}  // namespace morvane
