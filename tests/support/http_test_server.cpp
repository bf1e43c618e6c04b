// The scriptable loopback HTTP server: one thread accepts, one thread per
// connection reads a request, records it and plays the scripted reply.
#include "tests/support/http_test_server.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>

namespace morvane::testing {

namespace {

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string_view NameOf(std::string_view line) { return line.substr(0, line.find(':')); }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Reads one request from s; false when the peer closed or sent something
// that is not a request head.
bool ReadRequest(SocketId s, RecordedRequest& out) {
  std::string data;
  char buffer[16384];
  std::size_t headEnd;
  while ((headEnd = data.find("\r\n\r\n")) == std::string::npos) {
    const int got = ReceiveSome(s, buffer, sizeof buffer);
    if (got <= 0) return false;
    data.append(buffer, static_cast<std::size_t>(got));
  }
  std::string_view head(data.data(), headEnd);
  std::size_t eol = head.find("\r\n");
  out.requestLine = std::string(head.substr(0, eol));
  while (eol != std::string_view::npos) {
    head.remove_prefix(eol + 2);
    eol = head.find("\r\n");
    out.headerLines.emplace_back(head.substr(0, eol));
  }
  const auto length = static_cast<std::size_t>(
      std::strtoull(std::string(Trim(out.Header("Content-Length"))).c_str(), nullptr, 10));
  out.body = data.substr(headEnd + 4);
  while (out.body.size() < length) {
    const int got = ReceiveSome(s, buffer, sizeof buffer);
    if (got <= 0) break;
    out.body.append(buffer, static_cast<std::size_t>(got));
  }
  return true;
}

}  // namespace

std::string RecordedRequest::Header(std::string_view name) const {
  for (const std::string& line : headerLines) {
    if (line.find(':') != std::string::npos && SameName(NameOf(line), name)) {
      return std::string(Trim(std::string_view(line).substr(line.find(':') + 1)));
    }
  }
  return {};
}

int RecordedRequest::HeaderCount(std::string_view name) const {
  return static_cast<int>(std::count_if(headerLines.begin(), headerLines.end(), [&](auto& line) {
    return line.find(':') != std::string::npos && SameName(NameOf(line), name);
  }));
}

Reply& Reply::Send(std::string bytes) {
  steps_.push_back({Step::Kind::kSend, std::move(bytes), 0, 0});
  return *this;
}
Reply& Reply::Fill(std::size_t count) {
  steps_.push_back({Step::Kind::kFill, {}, count, 0});
  return *this;
}
Reply& Reply::Pause(int ms) {
  steps_.push_back({Step::Kind::kPause, {}, 0, ms});
  return *this;
}
Reply& Reply::Drip(std::string bytes, int intervalMs) {
  steps_.push_back({Step::Kind::kDrip, std::move(bytes), 0, intervalMs});
  return *this;
}
Reply& Reply::Silence() {
  steps_.push_back({Step::Kind::kSilence, {}, 0, 0});
  return *this;
}
Reply& Reply::Reset() {
  steps_.push_back({Step::Kind::kReset, {}, 0, 0});
  return *this;
}

std::string HttpResponse(std::string_view status, const std::vector<std::string>& headerLines,
                         std::string_view body) {
  std::string r = "HTTP/1.1 " + std::string(status) + "\r\n";
  for (const std::string& line : headerLines) r += line + "\r\n";
  r += "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
  r += body;
  return r;
}

std::string ChunkedResponse(std::string_view status, const std::vector<std::string>& headerLines,
                            std::string_view body, std::size_t piece) {
  std::string r = "HTTP/1.1 " + std::string(status) + "\r\n";
  for (const std::string& line : headerLines) r += line + "\r\n";
  r += "Transfer-Encoding: chunked\r\n\r\n";
  for (std::size_t at = 0; at < body.size(); at += piece) {
    const std::string_view part = body.substr(at, piece);
    char size[32];
    std::snprintf(size, sizeof size, "%zx\r\n", part.size());
    r += size;
    r += part;
    r += "\r\n";
  }
  return r + "0\r\n\r\n";
}

HttpTestServer::HttpTestServer(Answer answer)
    : answer_(std::move(answer)), listener_([this](SocketId s) { Serve(s); }) {}

HttpTestServer::HttpTestServer(Reply reply)
    : HttpTestServer([reply](const RecordedRequest&) { return reply; }) {}

HttpTestServer::~HttpTestServer() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  stopped_.notify_all();  // ends every pause and silence
  listener_.Stop();
}

std::string HttpTestServer::Url(std::string_view path) const {
  return "http://" + HostPort() + std::string(path);
}

std::string HttpTestServer::HostPort() const { return listener_.HostPort(); }

std::vector<RecordedRequest> HttpTestServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void HttpTestServer::Serve(SocketId s) {
  RecordedRequest request;
  bool reset = false;
  if (ReadRequest(s, request)) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(request);
    }
    reset = !Play(s, answer_(request));
  }
  listener_.Release(s);
  if (reset) {
    ResetSocket(s);
  } else {
    ShutdownSocket(s);
    CloseSocket(s);
  }
}

// Plays the steps; false when the connection is to end with a reset.
bool HttpTestServer::Play(SocketId s, const Reply& reply) {
  static const std::string filler(64 * 1024, 'x');
  for (const Reply::Step& step : reply.steps()) {
    switch (step.kind) {
      case Reply::Step::Kind::kSend:
        if (!SendAll(s, step.bytes)) return true;
        break;
      case Reply::Step::Kind::kFill:
        for (std::size_t left = step.count; left > 0;) {
          const std::size_t n = std::min(left, filler.size());
          if (!SendAll(s, std::string_view(filler).substr(0, n))) return true;
          left -= n;
        }
        break;
      case Reply::Step::Kind::kPause:
        if (!WaitFor(step.ms)) return true;
        break;
      case Reply::Step::Kind::kDrip:
        for (char c : step.bytes) {
          if (!SendAll(s, std::string_view(&c, 1)) || !WaitFor(step.ms)) return true;
        }
        break;
      case Reply::Step::Kind::kSilence:
        WaitFor(-1);
        return true;
      case Reply::Step::Kind::kReset:
        return false;
    }
  }
  return true;
}

bool HttpTestServer::WaitFor(int ms) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (ms < 0) {
    stopped_.wait(lock, [this] { return stopping_; });
  } else {
    stopped_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stopping_; });
  }
  return !stopping_;
}

UnansweredPort::UnansweredPort() {
  // A backlog of 0 holds one pending connection; ours fills it, so the next
  // handshake is dropped and retried by the client's kernel.
  listener_ = ListenOnLoopback(0, &port_);
  if (listener_ == kNoSocket) std::abort();
  const SocketId s = ConnectTo("127.0.0.1", port_);
  if (s != kNoSocket) fillers_.push_back(s);
}

UnansweredPort::~UnansweredPort() {
  for (SocketId s : fillers_) CloseSocket(s);
  CloseSocket(listener_);
}

std::string UnansweredPort::Url(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

}  // namespace morvane::testing
