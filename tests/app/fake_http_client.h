// An HttpClient that answers from a script and records what it was asked,
// so the program's polls can be checked without a network: the address a
// poll requested is "http://" + host + path as the client saw them.
#pragma once

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "web/http_client.h"

namespace morvane::testing {

struct FakeExchange {
  std::string host;
  int port = 0;
  std::string verb;
  std::string path;
  std::string headers;

  [[nodiscard]] std::string Address() const {
    return "http://" + host + (port == 80 ? "" : ":" + std::to_string(port)) + path;
  }
};

struct FakeAnswer {
  std::string body;
  bool fail = false;  // the exchange fails: nothing can be read
  int takesMs = 0;    // how long the request blocks the window
};

class FakeHttpClient final : public HttpClient {
 public:
  // Decides each exchange's answer; by default an empty 200 body.
  std::function<FakeAnswer(const FakeExchange&)> answer = [](const FakeExchange&) {
    return FakeAnswer{};
  };
  // How a request's duration passes on the simulated clock.
  std::function<void(int)> elapse = [](int) {};
  std::vector<FakeExchange> exchanges;

  HttpHandle OpenSession(const Text&, HttpAccess, const Text&) override { return 1; }
  HttpHandle Connect(HttpHandle, const Text& host, int port) override {
    current_ = FakeExchange{host.str(), port, {}, {}, {}};
    return 2;
  }
  HttpHandle OpenRequest(HttpHandle, const Text& verb, const Text& path, const Text&,
                         std::uint32_t) override {
    current_.verb = verb.str();
    current_.path = path.str();
    return 3;
  }
  bool SendRequest(HttpHandle, const Text& headers, const Bytes&) override {
    current_.headers = headers.str();
    exchanges.push_back(current_);
    const FakeAnswer a = answer(current_);
    if (a.takesMs > 0) elapse(a.takesMs);
    body_ = a.fail ? std::string() : a.body;
    read_ = 0;
    return !a.fail;
  }
  int ReadFile(HttpHandle, char* buffer, int size) override {
    const std::size_t n = std::min(body_.size() - read_, static_cast<std::size_t>(size));
    std::memcpy(buffer, body_.data() + read_, n);
    read_ += n;
    return static_cast<int>(n);
  }
  bool QueryRawHeaders(HttpHandle, Text& headers) override {
    headers = "HTTP/1.1 200 OK\r\n";
    return true;
  }
  void CloseHandle(HttpHandle) override {}

 private:
  FakeExchange current_;
  std::string body_;
  std::size_t read_ = 0;
};

}  // namespace morvane::testing
