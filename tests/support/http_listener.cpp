#include "tests/support/http_listener.h"

#include <algorithm>
#include <cstdlib>

namespace morvane::testing {

LoopbackListener::LoopbackListener(std::function<void(SocketId)> serve) : serve_(std::move(serve)) {
  listener_ = ListenOnLoopback(64, &port_);
  if (listener_ == kNoSocket) std::abort();
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

LoopbackListener::~LoopbackListener() { Stop(); }

std::string LoopbackListener::HostPort() const { return "127.0.0.1:" + std::to_string(port_); }

void LoopbackListener::Release(SocketId s) {
  std::lock_guard<std::mutex> lock(mutex_);
  open_.erase(std::find(open_.begin(), open_.end(), s));
}

void LoopbackListener::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) return;
    stopping_ = true;
    for (SocketId s : open_) ShutdownSocket(s);
  }
  // A connection of our own wakes the acceptor on every socket API alike.
  const SocketId wake = ConnectTo("127.0.0.1", port_);
  acceptor_.join();
  if (wake != kNoSocket) CloseSocket(wake);
  CloseSocket(listener_);
  for (std::thread& t : workers_) t.join();
}

void LoopbackListener::AcceptLoop() {
  for (;;) {
    const SocketId s = AcceptFrom(listener_);
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) {
      if (s != kNoSocket) CloseSocket(s);
      return;
    }
    if (s == kNoSocket) continue;
    open_.push_back(s);
    workers_.emplace_back([this, s] { serve_(s); });
  }
}

}  // namespace morvane::testing
