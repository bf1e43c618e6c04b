#include "bench/soak/soak_server.h"

#include <utility>

namespace morvane::testing {

SoakServer::SoakServer(std::function<std::string(int)> answer, std::string expectedRequestLine)
    : answer_(std::move(answer)), expected_(std::move(expectedRequestLine)) {
  listener_ = ListenOnLoopback(16, &port_);
  thread_ = std::thread([this] { Loop(); });
}

SoakServer::~SoakServer() {
  stopping_ = true;
  ShutdownSocket(listener_);
  thread_.join();
  CloseSocket(listener_);
}

void SoakServer::Loop() {
  while (!stopping_) {
    const SocketId s = AcceptFrom(listener_);
    if (s == kNoSocket) return;
    Serve(s);
    CloseSocket(s);
  }
}

void SoakServer::Serve(SocketId s) {
  // Read the head; a GET has no body.
  std::string head;
  char buffer[1024];
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
    if (!WaitReadable(s, 5000)) return;
    const int n = ReceiveSome(s, buffer, sizeof buffer);
    if (n <= 0) return;
    head.append(buffer, static_cast<std::size_t>(n));
  }
  if (head.compare(0, head.find("\r\n"), expected_) != 0) ++unexpected_;
  const std::string reply = answer_(served_++);
  if (!reply.empty()) SendAll(s, reply);
  ShutdownSocket(s);
}

}  // namespace morvane::testing
