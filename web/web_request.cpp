// One HTTP exchange with the program's header conventions, over the narrow
// HttpClient interface so that the same routine runs on every platform.
#include "web/web_request.h"

#include <algorithm>
#include <cstddef>

#include "text/extract.h"
#include "text/primitives.h"
#include "web/cookie_merge.h"
#include "web/url_parts.h"

namespace morvane {

namespace {

const Text kDefaultAgent("Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)");
constexpr int kReadChunk = 1024;
constexpr int kHeaderBufferBytes = 5000;

// Appends the default line (which starts with CR LF) unless the block
// already names the header, compared exactly as written.
void EnsureHeader(Text& block, const Text& name, const Text& defaultLine) {
  if (FindText(block, name) == -1) block = ConcatText(std::move(block), defaultLine);
}

// The text before the first CR or LF: an agent never spans lines.
Text FirstLine(const Text& text) {
  int end = TextLength(text) + 1;
  for (const char* lineBreak : {"\r", "\n"}) {
    const int p = FindText(text, lineBreak);
    if (p != -1 && p < end) end = p;
  }
  return TrimBoth(TextLeft(text, end - 1));
}

Text AgentFrom(const Text& extraHeaders) {
  if (FindText(extraHeaders, "User-Agent:", {}, true) == -1) return kDefaultAgent;
  // The search above ignores case but this cut does not, so a lower-case
  // "user-agent:" line falls back to the text after the block's first ":".
  // That text runs on over the following header lines; it is cut at the
  // first line break, or those lines would go out a second time inside
  // the agent.
  Text agent = FirstLine(MiddleText(extraHeaders, "User-Agent:", "\r\n"));
  if (agent.empty()) agent = FirstLine(ValueAfterColon(extraHeaders));
  return agent;
}

void BuildHeaderBlock(Text& block, const Text& address, const Text& cookieText) {
  if (block.empty()) {
    block = "Accept: */*";
  } else {
    EnsureHeader(block, "Accept:", "\r\nAccept: */*");
  }
  if (FindText(block, "Referer:") == -1)
    block = ConcatText(std::move(block), "\r\nReferer: ", address);
  EnsureHeader(block, "Accept-Language:", "\r\nAccept-Language: zh-cn");
  EnsureHeader(block, "Content-Type:", "\r\nContent-Type: application/x-www-form-urlencoded");
  if (!cookieText.empty()) block = ConcatText(std::move(block), "\r\nCookie: ", cookieText);
}

// Reads the whole body in chunks. A body above kMaxBodyBytes is a failed
// exchange: reading stops and the result is empty. The buffer grows by
// doubling but never past the cap, so a body near the cap does not leave a
// buffer of twice its size behind.
Bytes ReadBody(HttpClient& client, HttpHandle request) {
  Bytes buffer = BlankBytes(kReadChunk);
  Bytes body;
  std::size_t reserved = 0;
  for (;;) {
    const int count = client.ReadFile(request, buffer.data(), kReadChunk);
    if (count <= 0) break;
    const auto need = static_cast<std::size_t>(body.size()) + static_cast<std::size_t>(count);
    if (need > static_cast<std::size_t>(kMaxBodyBytes)) return {};
    if (need > reserved) {
      reserved = std::min(std::max({need, reserved * 2, std::size_t{64} << 10}),
                          static_cast<std::size_t>(kMaxBodyBytes));
      body.Reserve(reserved);
    }
    body.Append(buffer.view().substr(0, static_cast<std::size_t>(count)));
  }
  return body;
}

// The name=value part of each Set-Cookie line, in order, joined by "; ".
Text CollectCookies(const Text& headerText) {
  const TextList lines = SplitText(headerText, "\r\n");
  Text cookies;
  const int n = ListCount(lines);
  for (int i = 1; i <= n; ++i) {
    const Text& item = ListItem(lines, i);
    if (FindText(item, "Set-Cookie") == -1) continue;
    const Text cookie = FindText(item, ";") != -1
                            ? TrimBoth(MiddleText(item, "Set-Cookie:", ";"))
                            : TrimBoth(ReplaceText(item, "Set-Cookie:", std::nullopt, false));
    cookies = ConcatText(std::move(cookies), cookie, "; ");
  }
  return TextLeft(cookies, TextLength(cookies) - 2);
}

}  // namespace

Text ValueAfterColon(const Text& text) {
  const int p = FindText(text, ":");
  if (p == -1) return {};
  return TrimBoth(TextRight(text, TextLength(text) - p));
}

Bytes WebRequest(HttpClient& client, const Text& address, std::optional<int> method,
                 const Text* postText, Text* cookieText, Text* returnedCookies, Text* extraHeaders,
                 Text* headerText, std::optional<bool> noRedirect, Bytes* bodyBytes,
                 const Text* proxy) {
  // Absent in-and-out parameters are scratch values the caller never sees.
  Text scratchReturned, scratchExtra, scratchHeaders;
  Bytes scratchBody;
  Text& returned = returnedCookies ? *returnedCookies : scratchReturned;
  Text& block = extraHeaders ? *extraHeaders : scratchExtra;
  Text& headers = headerText ? *headerText : scratchHeaders;
  Bytes& sendBytes = bodyBytes ? *bodyBytes : scratchBody;
  const bool cookieGiven = cookieText != nullptr;

  int m = method.value_or(0);
  if (m < 0 || m > 2) m = 0;
  static const Text kVerbs[] = {"GET", "POST", "HEAD"};
  const Text& verb = kVerbs[m];

  const bool https = TextEquals(ToLower(TextLeft(address, 5)), "https");
  const Text agent = AgentFrom(block);

  HttpHandle session = 0;
  if (proxy == nullptr || proxy->empty()) {
    session = client.OpenSession(agent, HttpAccess::kDirect, Text());
  } else {
    session = client.OpenSession(agent, HttpAccess::kProxy,
                                 https ? *proxy : ConcatText(Text("http="), *proxy));
  }
  if (session == 0) {
    client.CloseHandle(session);
    return {};
  }
  const HttpHandle connection = client.Connect(session, UrlHost(address), UrlPort(address));
  if (connection == 0) {
    client.CloseHandle(connection);
    client.CloseHandle(session);
    return {};
  }

  std::uint32_t flags = kFlagReload | kFlagNeedFile;
  if (cookieGiven) flags |= kFlagNoCookies;
  if (noRedirect.value_or(false)) flags |= kFlagNoAutoRedirect;
  flags |= https ? kFlagSecure : kFlagIgnoreRedirectToHttps;

  const HttpHandle request =
      client.OpenRequest(connection, verb, UrlPath(address), "HTTP/1.1", flags);
  if (request == 0) {
    client.CloseHandle(request);
    client.CloseHandle(connection);
    client.CloseHandle(session);
    return {};
  }

  BuildHeaderBlock(block, address, cookieGiven ? *cookieText : Text());

  // The send's own result is not needed: a failed send shows as an empty
  // body and a failed header query below.
  if (m == 0) {
    (void)client.SendRequest(request, block, Bytes());
  } else {
    if (BytesEqual(sendBytes, Bytes())) sendBytes = TextToBytes(postText ? *postText : Text());
    (void)client.SendRequest(request, block, sendBytes);
  }

  const Bytes body = ReadBody(client, request);

  headers = BlankText(kHeaderBufferBytes);
  (void)client.QueryRawHeaders(request, headers);
  headers = ReplaceText(headers, "Set-Cookie", Text("Set-Cookie"), false);

  client.CloseHandle(request);
  client.CloseHandle(connection);
  client.CloseHandle(session);

  returned = CollectCookies(headers);
  if (cookieGiven) (void)MergeCookies(*cookieText, returned);
  return body;
}

}  // namespace morvane
