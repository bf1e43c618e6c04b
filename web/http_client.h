// The narrow interface through which WebRequest talks to the platform's
// HTTP client. It is shaped like the WinINet calls the routine makes, so the
// Windows client maps one to one; the libcurl client gives the same
// observable behaviour. No platform header appears here.
#pragma once

#include <cstdint>

#include "text/types.h"

namespace morvane {

// An open session, connection or request; 0 is the null handle.
using HttpHandle = std::uintptr_t;

enum class HttpAccess : std::uint8_t {
  kDirect = 1,  // INTERNET_OPEN_TYPE_DIRECT
  kProxy = 3,   // INTERNET_OPEN_TYPE_PROXY
};

// Request flags, with the values WinINet gives them.
inline constexpr std::uint32_t kFlagReload = 0x80000000u;
inline constexpr std::uint32_t kFlagNeedFile = 0x10u;
inline constexpr std::uint32_t kFlagNoCookies = 0x80000u;
inline constexpr std::uint32_t kFlagNoAutoRedirect = 0x200000u;
inline constexpr std::uint32_t kFlagSecure = 0x800000u;
inline constexpr std::uint32_t kFlagIgnoreRedirectToHttps = 0x4000u;

// Limits that keep a bad server from freezing the window or exhausting
// memory: every client gives up connecting after kConnectTimeoutMs and on
// the whole exchange after kExchangeTimeoutMs; a body above kMaxBodyBytes is
// a failed exchange.
inline constexpr int kConnectTimeoutMs = 10'000;
inline constexpr int kExchangeTimeoutMs = 30'000;
inline constexpr std::int64_t kMaxBodyBytes = 64ll << 20;

class HttpClient {
 public:
  virtual ~HttpClient() = default;

  // A session with the agent, direct or through a proxy list ("host:port",
  // or "http=host:port" for http addresses). 0 on failure.
  virtual HttpHandle OpenSession(const Text& agent, HttpAccess access, const Text& proxyList) = 0;
  // A connection to host:port within the session. 0 on failure.
  virtual HttpHandle Connect(HttpHandle session, const Text& host, int port) = 0;
  // A request for path (sent exactly as given) with the verb, the protocol
  // version and the request flags. 0 on failure.
  virtual HttpHandle OpenRequest(HttpHandle connection, const Text& verb, const Text& path,
                                 const Text& version, std::uint32_t flags) = 0;
  // Sends the request: the header block (lines joined by CR LF) and, for
  // POST and HEAD, the body bytes. False on failure.
  virtual bool SendRequest(HttpHandle request, const Text& headers, const Bytes& body) = 0;
  // Reads at most `size` bytes of the body into buffer. The count read: 0 at
  // the end of the body and whenever the read fails, the exchange time
  // limit included. Bodies stream: a client holds no more than a small
  // buffer of its own (WebRequest enforces kMaxBodyBytes).
  virtual int ReadFile(HttpHandle request, char* buffer, int size) = 0;
  // The raw response headers of the final response: the status line and
  // each header line ended by CR LF, however long. False on failure, and
  // `headers` is left untouched.
  virtual bool QueryRawHeaders(HttpHandle request, Text& headers) = 0;
  virtual void CloseHandle(HttpHandle handle) = 0;
};

}  // namespace morvane
