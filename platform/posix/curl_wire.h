// What the libcurl client hands to curl, worked out from the values the
// request routine passes: the URL, the header list and the proxy. Pure
// functions, so the guards against request splitting are easy to see.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane::curlwire {

// True when s holds a CR, an LF or a zero byte.
[[nodiscard]] bool HasLineBreak(std::string_view s);

// True for a host name curl may connect to: letters, digits, "-", "." and
// "_" (and bytes of 0x80 and above, for international names).
[[nodiscard]] bool IsHostName(std::string_view host);

// The request target (path and query) as it goes on the request line: as
// given, except that spaces, control bytes and "#" are percent-encoded so
// they neither break the line nor get cut off as a fragment, and a "/" is
// put first when the path has none. Empty when the path holds a line break.
[[nodiscard]] std::optional<std::string> RequestTarget(std::string_view path);

// The header block (lines joined by CR LF) as curl's header list: each line
// in order, then an empty "Name:" for each of curl's own headers (Accept,
// Expect, Content-Type) that the block does not have, which makes curl
// leave it out. Empty lines are skipped; a line with an empty value goes as
// "Name;", curl's way to send "Name:". Nothing when a line holds a lone CR
// or LF, which would otherwise become a header line of its own.
[[nodiscard]] std::optional<std::vector<std::string>> HeaderList(std::string_view block);

// The proxy for one request, from a proxy list in the WinINet form: entries
// separated by spaces or ";", each "host[:port]" (every scheme) or
// "scheme=host[:port]". Gives "http://host:port" (port 80 when none is
// written) or "" for a direct connection.
[[nodiscard]] std::string ProxyFor(std::string_view list, bool secure);

}  // namespace morvane::curlwire
