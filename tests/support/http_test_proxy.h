// A tiny HTTP proxy on loopback for the proxy cases of the web suites. It
// takes absolute-URI requests ("GET http://host:port/path HTTP/1.1"),
// forwards them to the origin in origin form, and tunnels CONNECT requests.
// It records each request head it receives and stops at scope exit.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "tests/support/http_listener.h"
#include "tests/support/http_socket.h"
#include "tests/support/http_test_server.h"

namespace morvane::testing {

class HttpTestProxy {
 public:
  HttpTestProxy();
  ~HttpTestProxy();
  HttpTestProxy(const HttpTestProxy&) = delete;
  HttpTestProxy& operator=(const HttpTestProxy&) = delete;

  [[nodiscard]] int port() const { return listener_.port(); }
  // "127.0.0.1:<port>", the form a proxy list takes.
  [[nodiscard]] std::string HostPort() const;
  // The request heads the proxy received (request line and header lines;
  // bodies are forwarded but not recorded).
  [[nodiscard]] std::vector<RecordedRequest> Requests() const;

 private:
  void Serve(SocketId client);

  mutable std::mutex mutex_;
  std::vector<RecordedRequest> requests_;
  LoopbackListener listener_;  // last: its threads use the members above
};

}  // namespace morvane::testing
