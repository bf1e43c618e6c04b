// The loopback proxy: one thread per client connection, which reads the
// request head, opens the origin connection and then copies bytes both ways
// until either side ends.
#include "tests/support/http_test_proxy.h"

#include <algorithm>
#include <cstdlib>

namespace morvane::testing {

namespace {

// "host:port" split; port 80 when none is written.
void SplitHostPort(const std::string& hostPort, std::string& host, int& port) {
  const std::size_t colon = hostPort.rfind(':');
  host = hostPort.substr(0, colon);
  port = colon == std::string::npos ? 80 : std::atoi(hostPort.c_str() + colon + 1);
}

// Copies bytes both ways until one side closes.
void Tunnel(SocketId a, SocketId b) {
  char buffer[65536];
  for (;;) {
    const bool fromA = WaitReadable(a, 10);
    const bool fromB = !fromA && WaitReadable(b, 10);
    if (!fromA && !fromB) continue;
    const SocketId from = fromA ? a : b;
    const SocketId to = fromA ? b : a;
    const int got = ReceiveSome(from, buffer, sizeof buffer);
    if (got <= 0 || !SendAll(to, std::string_view(buffer, static_cast<std::size_t>(got)))) return;
  }
}

}  // namespace

HttpTestProxy::HttpTestProxy() : listener_([this](SocketId s) { Serve(s); }) {}

HttpTestProxy::~HttpTestProxy() { listener_.Stop(); }

std::string HttpTestProxy::HostPort() const { return listener_.HostPort(); }

std::vector<RecordedRequest> HttpTestProxy::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void HttpTestProxy::Serve(SocketId client) {
  std::string data;
  char buffer[16384];
  std::size_t headEnd;
  while ((headEnd = data.find("\r\n\r\n")) == std::string::npos) {
    const int got = ReceiveSome(client, buffer, sizeof buffer);
    if (got <= 0) break;
    data.append(buffer, static_cast<std::size_t>(got));
  }
  SocketId origin = kNoSocket;
  if (headEnd != std::string::npos) {
    RecordedRequest head;
    const std::size_t lineEnd = data.find("\r\n");
    head.requestLine = data.substr(0, lineEnd);
    std::size_t eol = lineEnd;
    for (std::size_t at = eol + 2; at < headEnd; at = eol + 2) {
      eol = data.find("\r\n", at);
      head.headerLines.push_back(data.substr(at, eol - at));
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(head);
    }
    // "VERB target VERSION"
    const std::size_t sp1 = head.requestLine.find(' ');
    const std::size_t sp2 = head.requestLine.rfind(' ');
    const std::string verb = head.requestLine.substr(0, sp1);
    const std::string target = head.requestLine.substr(sp1 + 1, sp2 - sp1 - 1);
    std::string host;
    int port = 0;
    if (verb == "CONNECT") {
      SplitHostPort(target, host, port);
      origin = ConnectTo(host, port);
      if (origin != kNoSocket && SendAll(client, "HTTP/1.1 200 Connection established\r\n\r\n") &&
          SendAll(origin, std::string_view(data).substr(headEnd + 4))) {
        Tunnel(client, origin);
      }
    } else if (target.rfind("http://", 0) == 0) {
      const std::size_t pathAt = target.find('/', 7);
      SplitHostPort(target.substr(7, pathAt - 7), host, port);
      const std::string path = pathAt == std::string::npos ? "/" : target.substr(pathAt);
      origin = ConnectTo(host, port);
      const std::string forwarded =
          verb + " " + path + head.requestLine.substr(sp2) + data.substr(lineEnd);
      if (origin != kNoSocket && SendAll(origin, forwarded)) Tunnel(client, origin);
    } else {
      (void)SendAll(client, HttpResponse("400 Bad Request", {}, ""));
    }
  }
  listener_.Release(client);
  if (origin != kNoSocket) CloseSocket(origin);
  ShutdownSocket(client);
  CloseSocket(client);
}

}  // namespace morvane::testing
