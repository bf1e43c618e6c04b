#include "platform/win32/wininet_client.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

#include "platform/win32/wininet_api.h"
#include "platform/win32/wininet_worker.h"

namespace morvane {

static_assert(kFlagReload == INTERNET_FLAG_RELOAD && kFlagNeedFile == INTERNET_FLAG_NEED_FILE &&
              kFlagNoCookies == INTERNET_FLAG_NO_COOKIES &&
              kFlagNoAutoRedirect == INTERNET_FLAG_NO_AUTO_REDIRECT &&
              kFlagSecure == INTERNET_FLAG_SECURE &&
              kFlagIgnoreRedirectToHttps == INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS);
static_assert(static_cast<DWORD>(HttpAccess::kDirect) == INTERNET_OPEN_TYPE_DIRECT &&
              static_cast<DWORD>(HttpAccess::kProxy) == INTERNET_OPEN_TYPE_PROXY);

namespace {

using Clock = std::chrono::steady_clock;

// The program writes no files and never uses a cache, but WinINet stores
// every body in its cache unless told not to, and with NEED_FILE it stores
// the body even then (Wine does; Windows makes a temporary file). So
// NEED_FILE is taken out and NO_CACHE_WRITE put in, whatever the caller
// asks for.
constexpr DWORD kAlwaysFlags = INTERNET_FLAG_NO_CACHE_WRITE;
constexpr DWORD kNeverFlags = INTERNET_FLAG_NEED_FILE;

// Raw headers larger than this are refused like a body over the cap.
constexpr DWORD kMaxHeaderBytes = static_cast<DWORD>(kMaxBodyBytes);
constexpr DWORD kFirstHeaderBuffer = 5000;

// One exchange: its deadline and the thread its blocking calls run on,
// shared by a session and everything opened under it.
struct Exchange {
  Exchange(Clock::time_point end, std::shared_ptr<CallWorker> w)
      : deadline(end), worker(std::move(w)) {}
  [[nodiscard]] int RemainingMs() const {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, std::numeric_limits<int>::max()));
  }
  Clock::time_point deadline;
  std::shared_ptr<CallWorker> worker;
};

// True for bytes WinINet would send raw and that end or split a line.
bool HasControlBytes(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return b < 0x20 || b == 0x7F;
  });
}

// Header lines are joined by CR LF; a CR or LF outside such a pair would
// make WinINet start a line the caller did not write.
bool HasLoneLineBreak(std::string_view block) {
  for (std::size_t i = 0; i < block.size(); ++i) {
    if (block[i] == '\r' && i + 1 < block.size() && block[i + 1] == '\n') {
      ++i;
    } else if (block[i] == '\r' || block[i] == '\n') {
      return true;
    }
  }
  return false;
}

bool IsUsableHost(std::string_view host) {
  return !host.empty() && !HasControlBytes(host) && host.find(' ') == std::string_view::npos;
}

void SetTimeout(const WinInetApi& api, HINTERNET handle, DWORD option, int ms) {
  DWORD value = static_cast<DWORD>(std::max(ms, 1));
  api.InternetSetOptionA(handle, option, &value, sizeof value);
}

}  // namespace

// A WinINet handle, closed when the last owner lets go: the client's table,
// a handle opened under it, or a call still running on a worker. A child
// keeps its parent, so request, connection and session always close in
// that order, whoever lets go last.
struct WinInetNode {
  WinInetNode(std::shared_ptr<const WinInetApi> a, HINTERNET h, std::shared_ptr<WinInetNode> p,
              std::shared_ptr<Exchange> e)
      : api(std::move(a)), handle(h), parent(std::move(p)), exchange(std::move(e)) {}
  ~WinInetNode() { api->InternetCloseHandle(handle); }
  WinInetNode(const WinInetNode&) = delete;
  WinInetNode& operator=(const WinInetNode&) = delete;

  std::shared_ptr<const WinInetApi> api;
  HINTERNET handle;
  std::shared_ptr<WinInetNode> parent;
  std::shared_ptr<Exchange> exchange;
  // A request whose send failed has no response headers, whatever WinINet
  // answers when asked for them (Wine gives a bare CR LF).
  bool sent = false;
};

WinInetHttpClient::WinInetHttpClient(int connectTimeoutMs, int exchangeTimeoutMs,
                                     const char* dllName)
    : connectTimeoutMs_(connectTimeoutMs),
      exchangeTimeoutMs_(exchangeTimeoutMs),
      dllName_(dllName) {}

WinInetHttpClient::~WinInetHttpClient() = default;

std::shared_ptr<WinInetNode> WinInetHttpClient::Find(HttpHandle handle) const {
  const auto it = handles_.find(handle);
  return it == handles_.end() ? nullptr : it->second;
}

HttpHandle WinInetHttpClient::Keep(std::shared_ptr<WinInetNode> node) {
  const auto handle = reinterpret_cast<HttpHandle>(node.get());
  handles_[handle] = std::move(node);
  return handle;
}

HttpHandle WinInetHttpClient::OpenSession(const Text& agent, HttpAccess access,
                                          const Text& proxyList) {
  // The DLL is loaded by the first request, not at start-up: a window that
  // is never started does not pay for it.
  if (!apiLoaded_) {
    api_ = LoadWinInetApi(dllName_.c_str());
    apiLoaded_ = true;
  }
  if (!api_ || HasControlBytes(agent.view())) return 0;
  const bool proxy = access == HttpAccess::kProxy;
  // With a proxy the bypass list is an empty string: a null one would make
  // WinINet read the system's bypass list.
  HINTERNET session =
      api_->InternetOpenA(agent.c_str(), static_cast<DWORD>(access),
                          proxy ? proxyList.c_str() : nullptr, proxy ? "" : nullptr, 0);
  if (session == nullptr) return 0;
  // Exchanges follow one another on one thread, so they can share a worker
  // thread (starting one costs about a millisecond under Wine). A worker
  // stuck in an abandoned call is left to the exchange that abandoned it.
  if (!worker_ || worker_->stuck()) worker_ = std::make_shared<CallWorker>();
  auto exchange = std::make_shared<Exchange>(
      Clock::now() + std::chrono::milliseconds(exchangeTimeoutMs_), worker_);
  return Keep(std::make_shared<WinInetNode>(api_, session, nullptr, std::move(exchange)));
}

HttpHandle WinInetHttpClient::Connect(HttpHandle sessionHandle, const Text& host, int port) {
  std::shared_ptr<WinInetNode> session = Find(sessionHandle);
  // INTERNET_PORT is 16 bits: a larger number would connect somewhere else.
  if (!session || !IsUsableHost(host.view()) || port < 0 || port > 0xFFFF) return 0;
  Exchange& exchange = *session->exchange;
  // The worker fills the slot; if the caller has stopped waiting by then,
  // the slot's last owner is the call itself, which closes the handle.
  auto slot = std::make_shared<std::shared_ptr<WinInetNode>>();
  const bool inTime = exchange.worker->Run(
      [session, slot, host = host.str(), port] {
        HINTERNET connection = session->api->InternetConnectA(
            session->handle, host.c_str(), static_cast<INTERNET_PORT>(port), nullptr, nullptr,
            INTERNET_SERVICE_HTTP, 0, 0);
        if (connection != nullptr) {
          *slot =
              std::make_shared<WinInetNode>(session->api, connection, session, session->exchange);
        }
      },
      std::min(connectTimeoutMs_, exchange.RemainingMs()));
  if (!inTime || !*slot) return 0;
  return Keep(std::move(*slot));
}

HttpHandle WinInetHttpClient::OpenRequest(HttpHandle connectionHandle, const Text& verb,
                                          const Text& path, const Text& version,
                                          std::uint32_t flags) {
  std::shared_ptr<WinInetNode> connection = Find(connectionHandle);
  if (!connection || connection->exchange->worker->stuck()) return 0;
  // Wine sends the object name as it is, CR LF included: a path that
  // carries a line break would split the request.
  if (HasControlBytes(path.view()) || HasControlBytes(verb.view()) ||
      HasControlBytes(version.view())) {
    return 0;
  }
  HINTERNET request =
      api_->HttpOpenRequestA(connection->handle, verb.c_str(), path.c_str(), version.c_str(),
                             nullptr, nullptr, (flags & ~kNeverFlags) | kAlwaysFlags, 0);
  if (request == nullptr) return 0;
  // Honoured by Windows; Wine honours only the receive time-out, which at
  // least lets an abandoned call end and release its handles.
  const Exchange& exchange = *connection->exchange;
  const int remaining = exchange.RemainingMs();
  SetTimeout(*api_, request, INTERNET_OPTION_CONNECT_TIMEOUT,
             std::min(connectTimeoutMs_, remaining));
  SetTimeout(*api_, request, INTERNET_OPTION_SEND_TIMEOUT, remaining);
  SetTimeout(*api_, request, INTERNET_OPTION_RECEIVE_TIMEOUT, remaining);
  return Keep(std::make_shared<WinInetNode>(api_, request, connection, connection->exchange));
}

bool WinInetHttpClient::SendRequest(HttpHandle requestHandle, const Text& headers,
                                    const Bytes& body) {
  std::shared_ptr<WinInetNode> request = Find(requestHandle);
  if (!request || HasLoneLineBreak(headers.view())) return false;
  Exchange& exchange = *request->exchange;
  auto sent = std::make_shared<bool>(false);
  const bool inTime = exchange.worker->Run(
      [request, sent, headers = headers.str(), body = std::string(body.view())]() mutable {
        *sent = request->api->HttpSendRequestA(
                    request->handle, headers.empty() ? nullptr : headers.c_str(),
                    static_cast<DWORD>(headers.size()), body.empty() ? nullptr : body.data(),
                    static_cast<DWORD>(body.size())) != FALSE;
      },
      exchange.RemainingMs());
  request->sent = inTime && *sent;
  return request->sent;
}

int WinInetHttpClient::ReadFile(HttpHandle requestHandle, char* buffer, int size) {
  std::shared_ptr<WinInetNode> request = Find(requestHandle);
  if (!request || buffer == nullptr || size <= 0) return 0;
  Exchange& exchange = *request->exchange;
  // The call reads into a chunk of its own: a late one must not write into
  // the caller's buffer after the caller has moved on.
  auto chunk = std::make_shared<std::string>(static_cast<std::size_t>(size), '\0');
  const bool inTime = exchange.worker->Run(
      [request, chunk] {
        // The count, not the result: a read that ends in a reset fails but
        // still hands over the bytes that arrived before it.
        DWORD count = 0;
        (void)request->api->InternetReadFile(request->handle, chunk->data(),
                                             static_cast<DWORD>(chunk->size()), &count);
        chunk->resize(std::min<std::size_t>(count, chunk->size()));
      },
      exchange.RemainingMs());
  if (!inTime) return 0;
  std::memcpy(buffer, chunk->data(), chunk->size());
  return static_cast<int>(chunk->size());
}

bool WinInetHttpClient::QueryRawHeaders(HttpHandle requestHandle, Text& headers) {
  std::shared_ptr<WinInetNode> request = Find(requestHandle);
  // Not while an abandoned call is still working on the request.
  if (!request || !request->sent || request->exchange->worker->stuck()) return false;
  // Headers longer than the first buffer are fetched whole with the size
  // WinINet reports, rather than dropped.
  std::string buffer(kFirstHeaderBuffer, '\0');
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD length = static_cast<DWORD>(buffer.size());
    if (api_->HttpQueryInfoA(request->handle, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &length,
                             nullptr)) {
      const std::string_view raw(buffer.data(), std::min<std::size_t>(length, buffer.size()));
      // A server that closed without answering leaves Wine a bare CR LF:
      // no status line, no headers.
      if (raw.empty() || raw[0] == '\r') return false;
      headers = Text(raw);
      return true;
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || length <= buffer.size() ||
        length > kMaxHeaderBytes) {
      return false;
    }
    buffer.assign(length, '\0');
  }
  return false;
}

void WinInetHttpClient::CloseHandle(HttpHandle handle) { handles_.erase(handle); }

}  // namespace morvane
